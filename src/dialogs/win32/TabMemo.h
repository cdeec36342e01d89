#pragma once
// A multi-line edit control in a dialog in which the Tab key types a tab
// character instead of moving to the next control (Ctrl+Tab still moves on),
// Enter starts a new line and Esc still cancels the dialog.

#include "platform/win32/WindowsApi.h"

namespace bk::tabmemo {

// Subclasses a new multi-line edit control (created with ES_WANTRETURN).
void Attach(HWND edit);

}  // namespace bk::tabmemo
