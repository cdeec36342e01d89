#pragma once
// The system's own wording of a Windows error code, for error messages.

#include "platform/win32/WindowsApi.h"

#include <string>

namespace bk {

// FormatMessage text of `code` without its trailing period and line end
// ("Access is denied"), or "error <code>" when the system has none.
std::string SystemErrorText(DWORD code);

}  // namespace bk
