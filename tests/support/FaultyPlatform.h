#pragma once
// A platform backend with a hook before every call of the seam, so that a
// test can make any call fail (throw what the real call would, or anything
// else), change the files the call is about to see, or record the order of
// calls. The one test double of the seam: natively over the portable
// platform (FaultyPlatform), in the Windows tree over Win32Platform too.

#include <functional>
#include <string_view>

#include "platform/Platform.h"
#if !defined(_WIN32)
#include "platform/portable/PortablePlatform.h"
#endif

namespace bk::test {

template <class Backend>
class Faulty : public Backend {
public:
    using Backend::Backend;

    // Called with the operation's name ("FindFiles", "ReplaceFile", ...) before
    // the call; whatever it throws comes out of the call. Empty: no faults.
    std::function<void(std::string_view operation)> fault;

    std::string ModuleFileName() override {
        Check("ModuleFileName");
        return Backend::ModuleFileName();
    }
    ModuleHandle HostModule() override {
        Check("HostModule");
        return Backend::HostModule();
    }
    ProcAddress FindExport(ModuleHandle module, const char* name) override {
        Check("FindExport");
        return Backend::FindExport(module, name);
    }
    bool FileExists(const std::string& path) override {
        Check("FileExists");
        return Backend::FileExists(path);
    }
    std::string ReadFile(const std::string& path) override {
        Check("ReadFile");
        return Backend::ReadFile(path);
    }
    std::string ReadFileExactly(const std::string& path, std::uint64_t size) override {
        Check("ReadFileExactly");
        return Backend::ReadFileExactly(path, size);
    }
    std::string ReadFileUpTo(const std::string& path, std::uint64_t maxSize) override {
        Check("ReadFileUpTo");
        return Backend::ReadFileUpTo(path, maxSize);
    }
    bool DeleteFile(const std::string& path) override {
        Check("DeleteFile");
        return Backend::DeleteFile(path);
    }
    void ReplaceFile(const std::string& path, std::string_view content) override {
        Check("ReplaceFile");
        Backend::ReplaceFile(path, content);
    }
    std::vector<FoundFile> FindFiles(const std::string& pattern) override {
        Check("FindFiles");
        return Backend::FindFiles(pattern);
    }
    UtcTime NowUtc() override {
        Check("NowUtc");
        return Backend::NowUtc();
    }
    const CodePage& AnsiCodePage() override {
        Check("AnsiCodePage");
        return Backend::AnsiCodePage();
    }
    std::string AnsiFromUtf8(std::string_view utf8) override {
        Check("AnsiFromUtf8");
        return Backend::AnsiFromUtf8(utf8);
    }
    std::string Utf8FromAnsi(std::string_view ansi) override {
        Check("Utf8FromAnsi");
        return Backend::Utf8FromAnsi(ansi);
    }
    void ShowWarning(const std::string& text) override {
        Check("ShowWarning");
        Backend::ShowWarning(text);
    }
    void ShowError(const std::string& text) override {
        Check("ShowError");
        Backend::ShowError(text);
    }
    void HideWindow(WindowHandle window) override {
        Check("HideWindow");
        Backend::HideWindow(window);
    }
    void AppendMenuSeparator(MenuHandle menu) override {
        Check("AppendMenuSeparator");
        Backend::AppendMenuSeparator(menu);
    }
    void AppendMenuItem(MenuHandle menu, unsigned id, const std::string& caption) override {
        Check("AppendMenuItem");
        Backend::AppendMenuItem(menu, id, caption);
    }

private:
    void Check(std::string_view operation) {
        if (fault)
            fault(operation);
    }
};

#if !defined(_WIN32)
using FaultyPlatform = Faulty<PortablePlatform>;
#endif

}  // namespace bk::test
