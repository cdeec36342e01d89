#pragma once
// Subclassing a standard control: a message function of ours sees each
// message before the control's own window procedure.
//
// The function answers a message by returning a result, or passes it on (to
// the control's procedure) by returning nothing. Whatever it throws is caught
// here and the message goes on to the control as if it had not been seen: no
// exception ever reaches user32, which would end the host process. The
// subclass removes itself when the control is destroyed.

#include "platform/win32/WindowsApi.h"

#include <optional>

namespace bk {

// `original` is the control's own procedure, for a function that wants its
// answer first (CallWindowProcA).
using MessageFilter = std::optional<LRESULT> (*)(HWND control, UINT message, WPARAM wParam,
                                                 LPARAM lParam, WNDPROC original);

// Subclasses `control` with `filter`. Throws std::bad_alloc.
void Subclass(HWND control, MessageFilter filter);

}  // namespace bk
