#pragma once
// What the delivery benchmarks share: timing, writing their sample files, and
// one timed delivery through the real DLL in the stand-in host.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "HostSim.h"
#include "PluginModule.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

inline void WriteWhole(const std::string& path, const std::string& content) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &n, nullptr);
    CloseHandle(h);
}

// Opens a compose window in `folder` and times the plug-in's work on sending
// it (BKC_OnOutgoing alone); says so when no text was added.
class Deliveries {
public:
    Deliveries(hostsim::HostSim& host, hostsim::PluginModule& plugin)
        : host_(host),
          open_(plugin.Export<int(WINAPI*)(HWND, int)>("BKC_OnOpenCompose")),
          outgoing_(plugin.Export<int(WINAPI*)(HWND, int)>("BKC_OnOutgoing")) {}

    double operator()(const char* folder) const {
        host_.currentFolder = folder;
        HWND w = host_.OpenCompose({{"Subject", "bench"}}, "");
        open_(w, 0);
        auto start = Clock::now();
        outgoing_(w, 0);
        double ms = Ms(Clock::now() - start);
        if (host_.Find(w)->addedTexts.size() != 1)
            std::printf("  (no text was added!)\n");
        host_.CloseCompose(w);
        host_.calls.clear();  // the stand-in host's log of calls would only grow
        return ms;
    }

private:
    hostsim::HostSim& host_;
    int(WINAPI* open_)(HWND, int);
    int(WINAPI* outgoing_)(HWND, int);
};

}  // namespace bench
