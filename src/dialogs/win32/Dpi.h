#pragma once
// The DPI a dialog is laid out for. A host that is DPI-unaware or system DPI
// aware gets the system DPI (Windows stretches the dialog of an unaware host
// itself; it then reports 96). A host whose thread is per-monitor DPI aware
// gets the DPI of the monitor the window is on, and WM_DPICHANGED when the
// window moves to another. The per-monitor functions are looked up in user32
// at run time, so the DLL still loads where they are missing (Windows 7).

#include "platform/win32/WindowsApi.h"

namespace bk {

// The DPI for `window`: the monitor's on a per-monitor aware thread, the
// system's otherwise; kBaseDpi (unscaled) when neither can be had.
int DpiForWindow(HWND window);

// Keeps the dialog manager of a per-monitor aware thread from rescaling
// `dialog` on a DPI change itself: the view lays it out again. Does nothing
// where Windows has no such behaviour.
void KeepDialogScalingToView(HWND dialog);

}  // namespace bk
