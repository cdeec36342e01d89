#include "platform/portable/PortablePlatform.h"

#include <chrono>
#include <ctime>
#include <filesystem>

namespace bk {
namespace {

std::string RunningProgramPath() {
    std::error_code error;  // on failure the name is empty
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

}  // namespace

PortablePlatform::PortablePlatform() : moduleFileName_(RunningProgramPath()) {}

std::string PortablePlatform::ModuleFileName() {
    return moduleFileName_;
}

ModuleHandle PortablePlatform::HostModule() {
    return hostModule_;
}

ProcAddress PortablePlatform::FindExport(ModuleHandle module, const char* name) {
    ++exportLookups_;
    if (module != hostModule_ || module == 0 || name == nullptr)
        return nullptr;
    auto it = exports_.find(name);
    return it == exports_.end() ? nullptr : it->second;
}

UtcTime PortablePlatform::NowUtc() {
    if (clock_)
        return *clock_;
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t seconds = system_clock::to_time_t(now);
    std::tm parts{};
    ::gmtime_r(&seconds, &parts);
    auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return UtcTime{static_cast<unsigned>(parts.tm_hour), static_cast<unsigned>(parts.tm_min),
                   static_cast<unsigned>(parts.tm_sec), static_cast<unsigned>(millis)};
}

const CodePage& PortablePlatform::AnsiCodePage() {
    return codePage_;
}

void PortablePlatform::ShowWarning(const std::string& text) {
    messages.push_back({true, text});
}

void PortablePlatform::ShowError(const std::string& text) {
    messages.push_back({false, text});
}

void PortablePlatform::HideWindow(WindowHandle window) {
    hiddenWindows.push_back(window);
}

void PortablePlatform::AppendMenuSeparator(MenuHandle menu) {
    menuEntries.push_back({menu, true, 0, "-"});
}

void PortablePlatform::AppendMenuItem(MenuHandle menu, unsigned id, const std::string& caption) {
    menuEntries.push_back({menu, false, id, caption});
}

}  // namespace bk
