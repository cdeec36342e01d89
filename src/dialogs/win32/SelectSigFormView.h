#pragma once
// The signature selection dialog's controls and its Win32 view.

#include <vector>

#include "dialogs/FormHost.h"
#include "dialogs/SelectSigForm.h"
#include "dialogs/win32/ControlLayout.h"
#include "platform/win32/WindowsApi.h"

namespace bk {

inline constexpr int kSelectSigClientWidth = 466;
inline constexpr int kSelectSigClientHeight = 239;

// The controls of TSelectSigForm in tab order.
const std::vector<ControlRow<TSelectSigForm>>& SelectSigFormLayout();

// Shows `form` modally, owned by `owner`. Throws std::runtime_error when the
// dialog can't be shown.
ModalResult ShowSelectSigForm(TSelectSigForm& form, Platform& platform, HINSTANCE instance,
                              HWND owner);

}  // namespace bk
