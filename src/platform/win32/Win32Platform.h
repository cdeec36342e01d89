#pragma once
// Win32Platform: the platform seam on Windows, the only backend in the DLL.
//
// Paths and texts are handed to the ANSI ("A") functions as they are, so they
// are bytes of the system's ANSI code page and paths are subject to MAX_PATH.
// A directory search leaves out the entries "." and "..", which name no file.

#include "platform/win32/WindowsApi.h"

#include <optional>

#include "platform/Platform.h"
#include "platform/win32/ThemeContext.h"

namespace bk {

class Win32Platform : public Platform {
public:
    // `self`: the plug-in's own module, whose file name ModuleFileName gives
    // (null: the executable's). `codePage`: the code page whose tables
    // AnsiCodePage gives (CP_ACP: the system's ANSI code page). Constructing
    // one makes no system call but GetACP, so that the DLL can make its
    // platform under the loader lock; the tables are built on first use.
    explicit Win32Platform(HMODULE self = nullptr, unsigned codePage = CP_ACP);

    BK_PLATFORM_OVERRIDES

    // The activation context that the message boxes, and the dialogs shown
    // beside them, are created in.
    ThemeContext& Theme() { return theme_; }

private:
    static BOOL CALLBACK BuildCodePage(PINIT_ONCE, PVOID self, PVOID*);

    HMODULE self_;
    unsigned codePageNumber_;
    INIT_ONCE codePageOnce_ = INIT_ONCE_STATIC_INIT;  // guards codePage_
    std::optional<CodePage> codePage_;
    ThemeContext theme_;
};

}  // namespace bk
