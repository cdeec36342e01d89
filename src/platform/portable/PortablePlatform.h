#pragma once
// PortablePlatform: the platform seam on Linux, for native tests.
//
// Files are real files behind Windows paths (WindowsPath.h), searched by the
// Windows wildcard rules and replaced atomically, as with the Win32 backend; a
// file is read-only when its owner may not write it. Texts convert through the
// C library's converter for "CP<number>", a byte or character that does not
// convert becoming "?".
//
// What the plug-in would ask of the host process or show to the user is set up
// through the Set* calls and recorded in the public fields instead (a message
// box returns at once). The methods are virtual, so a test may derive from
// this class to make one of them fail.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace bk {

class PortablePlatform : public Platform {
public:
    PortablePlatform();

    // ---- Set-up ----
    // The module file name reported (default: the running test program's path).
    void SetModuleFileName(std::string path) { moduleFileName_ = std::move(path); }
    void SetHostModule(ModuleHandle module) { hostModule_ = module; }
    // The host's export table: FindExport answers from it for the host module only.
    void SetExport(const std::string& name, ProcAddress address) { exports_[name] = address; }
    void RemoveExport(const std::string& name) { exports_.erase(name); }
    // Number of FindExport calls so far, whatever their result.
    std::size_t ExportLookups() const { return exportLookups_; }
    // A fixed time for NowUtc (default: the real UTC clock).
    void SetClock(UtcTime time) { clock_ = time; }
    // The code page (default CodePage::Western()). It also steps paths and folds names.
    void SetCodePage(CodePage codePage) { codePage_ = codePage; }

    // ---- Records of what the plug-in did ----
    struct Message {
        bool warning;  // ShowWarning (true) or ShowError (false)
        std::string text;
    };
    std::vector<Message> messages;
    std::vector<WindowHandle> hiddenWindows;
    struct MenuEntry {
        MenuHandle menu;
        bool separator;
        unsigned id;          // 0 for a separator
        std::string caption;  // "-" for a separator
    };
    std::vector<MenuEntry> menuEntries;

    BK_PLATFORM_OVERRIDES

private:
    std::string moduleFileName_;
    // The usual load address of a 32-bit executable: a real module's (not below 32).
    ModuleHandle hostModule_ = 0x00400000;
    std::map<std::string, ProcAddress> exports_;
    std::size_t exportLookups_ = 0;
    std::optional<UtcTime> clock_;
    CodePage codePage_ = CodePage::Western();
};

}  // namespace bk
