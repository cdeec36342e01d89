#pragma once
// The portable platform with a hook before every call of the seam, so that a
// test can make any call fail (throw what the real call would, or anything
// else) or record the order of calls.

#include <functional>
#include <string_view>

#include "platform/portable/PortablePlatform.h"

namespace bk::test {

class FaultyPlatform : public PortablePlatform {
public:
    // Called with the operation's name ("FindFiles", "ReplaceFile", ...) before
    // the call; whatever it throws comes out of the call. Empty: no faults.
    std::function<void(std::string_view operation)> fault;

    std::string ModuleFileName() override {
        Check("ModuleFileName");
        return PortablePlatform::ModuleFileName();
    }
    ModuleHandle HostModule() override {
        Check("HostModule");
        return PortablePlatform::HostModule();
    }
    ProcAddress FindExport(ModuleHandle module, const char* name) override {
        Check("FindExport");
        return PortablePlatform::FindExport(module, name);
    }
    bool FileExists(const std::string& path) override {
        Check("FileExists");
        return PortablePlatform::FileExists(path);
    }
    std::string ReadFile(const std::string& path) override {
        Check("ReadFile");
        return PortablePlatform::ReadFile(path);
    }
    std::string ReadFileExactly(const std::string& path, std::uint64_t size) override {
        Check("ReadFileExactly");
        return PortablePlatform::ReadFileExactly(path, size);
    }
    bool DeleteFile(const std::string& path) override {
        Check("DeleteFile");
        return PortablePlatform::DeleteFile(path);
    }
    void ReplaceFile(const std::string& path, std::string_view content) override {
        Check("ReplaceFile");
        PortablePlatform::ReplaceFile(path, content);
    }
    std::vector<FoundFile> FindFiles(const std::string& pattern) override {
        Check("FindFiles");
        return PortablePlatform::FindFiles(pattern);
    }
    UtcTime NowUtc() override {
        Check("NowUtc");
        return PortablePlatform::NowUtc();
    }
    const CodePage& AnsiCodePage() override {
        Check("AnsiCodePage");
        return PortablePlatform::AnsiCodePage();
    }
    std::string AnsiFromUtf8(std::string_view utf8) override {
        Check("AnsiFromUtf8");
        return PortablePlatform::AnsiFromUtf8(utf8);
    }
    std::string Utf8FromAnsi(std::string_view ansi) override {
        Check("Utf8FromAnsi");
        return PortablePlatform::Utf8FromAnsi(ansi);
    }
    void ShowWarning(const std::string& text) override {
        Check("ShowWarning");
        PortablePlatform::ShowWarning(text);
    }
    void ShowError(const std::string& text) override {
        Check("ShowError");
        PortablePlatform::ShowError(text);
    }
    void HideWindow(WindowHandle window) override {
        Check("HideWindow");
        PortablePlatform::HideWindow(window);
    }
    void AppendMenuSeparator(MenuHandle menu) override {
        Check("AppendMenuSeparator");
        PortablePlatform::AppendMenuSeparator(menu);
    }
    void AppendMenuItem(MenuHandle menu, unsigned id, const std::string& caption) override {
        Check("AppendMenuItem");
        PortablePlatform::AppendMenuItem(menu, id, caption);
    }

private:
    void Check(std::string_view operation) {
        if (fault)
            fault(operation);
    }
};

}  // namespace bk::test
