#pragma once
// The setup dialog's controls and its Win32 view.

#include <vector>

#include "dialogs/EditForm.h"
#include "dialogs/win32/ControlLayout.h"
#include "platform/win32/WindowsApi.h"

namespace bk {

inline constexpr int kEditFormClientWidth = 465;
inline constexpr int kEditFormClientHeight = 393;

// The controls of TEditForm in tab order.
const std::vector<ControlRow<TEditForm>>& EditFormLayout();

// Shows `form` modally, owned by `owner`. Throws std::runtime_error when the
// dialog can't be shown.
ModalResult ShowEditForm(TEditForm& form, Platform& platform, HINSTANCE instance, HWND owner);

}  // namespace bk
