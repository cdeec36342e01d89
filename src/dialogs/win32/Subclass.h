#pragma once
// Subclassing a standard control: a filter of ours sees each message first and
// answers it (a result) or passes it on to the control (nothing). What the
// filter throws is caught and the message passed on: no exception reaches
// user32, which would end the host process. The subclass removes itself when
// the control is destroyed.

#include "platform/win32/WindowsApi.h"

#include <optional>

namespace bk {

// `original`: the control's own procedure, for a filter that wants its answer.
using MessageFilter = std::optional<LRESULT> (*)(HWND control, UINT message, WPARAM wParam,
                                                 LPARAM lParam, WNDPROC original);

// Subclasses `control` with `filter`. Throws std::bad_alloc.
void Subclass(HWND control, MessageFilter filter);

}  // namespace bk
