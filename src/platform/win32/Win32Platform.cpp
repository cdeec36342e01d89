#include "platform/win32/Win32Platform.h"

#include "platform/win32/SystemCodePage.h"
#include "platform/win32/SystemError.h"

namespace bk {

Win32Platform::Win32Platform(HMODULE self, unsigned codePage)
    : self_(self), codePageNumber_(codePage == CP_ACP ? GetACP() : codePage) {}

std::string Win32Platform::ModuleFileName() {
    // The buffer grows until the name fits: a result that fills the buffer
    // completely may have been cut short.
    for (DWORD size = MAX_PATH + 1; size <= 65536; size *= 2) {
        std::string name(size, '\0');
        DWORD n = GetModuleFileNameA(self_, name.data(), size);
        if (n == 0)
            throw FileError("<module>", SystemErrorText(GetLastError()));
        if (n < size) {
            name.resize(n);
            return name;
        }
    }
    throw FileError("<module>", "the module's file name is too long");
}

ModuleHandle Win32Platform::HostModule() {
    return reinterpret_cast<ModuleHandle>(GetModuleHandleA(nullptr));
}

ProcAddress Win32Platform::FindExport(ModuleHandle module, const char* name) {
    return reinterpret_cast<ProcAddress>(GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

UtcTime Win32Platform::NowUtc() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return UtcTime{now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

// Built once, by whichever thread asks first (callbacks come on one thread, but
// a kernel32 once-flag costs nothing and needs no thread library). Building the
// tables allocates nothing and cannot throw.
const CodePage& Win32Platform::AnsiCodePage() {
    InitOnceExecuteOnce(&codePageOnce_, BuildCodePage, this, nullptr);
    return *codePage_;
}

BOOL CALLBACK Win32Platform::BuildCodePage(PINIT_ONCE, PVOID self, PVOID*) {
    auto& platform = *static_cast<Win32Platform*>(self);
    platform.codePage_.emplace(SystemCodePage(platform.codePageNumber_));
    return TRUE;
}

void Win32Platform::ShowWarning(const std::string& text) {
    auto themed = theme_.Activate();
    MessageBoxA(GetActiveWindow(), text.c_str(), "Warning", MB_OK | MB_ICONWARNING);
}

void Win32Platform::ShowError(const std::string& text) {
    auto themed = theme_.Activate();
    MessageBoxA(GetActiveWindow(), text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

void Win32Platform::HideWindow(WindowHandle window) {
    ShowWindow(static_cast<HWND>(window), SW_HIDE);
}

void Win32Platform::AppendMenuSeparator(MenuHandle menu) {
    AppendMenuA(static_cast<HMENU>(menu), MF_SEPARATOR, 0, "-");
}

void Win32Platform::AppendMenuItem(MenuHandle menu, unsigned id, const std::string& caption) {
    AppendMenuA(static_cast<HMENU>(menu), MF_STRING, id, caption.c_str());
}

}  // namespace bk
