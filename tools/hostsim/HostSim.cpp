#include "HostSim.h"

#include <algorithm>

namespace hostsim {
namespace {

const char kWindowClass[] = "bkQuorvelHostSimCompose";

void RegisterWindowClassOnce() {
    static bool done = false;
    if (done)
        return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    done = true;
}

}  // namespace

HostSim::HostSim() {
    isHidden = [](WindowHandle window) { return !IsWindowVisible(static_cast<HWND>(window)); };
}

HostSim::~HostSim() {
    for (HWND window : windows_) DestroyWindow(window);
}

HWND HostSim::OpenCompose(const std::vector<std::pair<std::string, std::string>>& headers,
                          const std::string& body) {
    RegisterWindowClassOnce();
    HWND window = CreateWindowA(kWindowClass, "Compose", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                320, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    AddCompose(window, headers, body);
    windows_.push_back(window);
    return window;
}

void HostSim::CloseCompose(HWND window) {
    if (std::erase(windows_, window) == 0)
        return;
    RemoveCompose(window);
    DestroyWindow(window);
}

bool HostSim::IsVisible(HWND window) const {
    return IsWindowVisible(window) != FALSE;
}

}  // namespace hostsim
