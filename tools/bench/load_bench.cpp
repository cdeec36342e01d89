// load_bench, run under Wine: what attaching the plug-in costs the host.
// LoadLibraryA + FreeLibrary of bkQuorvel.dll (attach and detach: its runtime
// starts, it binds the host's entry points and looks for an old list to move)
// against the same for an empty DLL built by the same toolchain. Both lie in a
// plug-in folder of their own; the runs alternate, and the medians are printed.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchRow.h"
#include "PluginModule.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 201;

double LoadAndFree(const std::string& path) {
    auto start = Clock::now();
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        std::printf("load_bench: %s refused to load\n", path.c_str());
        std::exit(1);
    }
    FreeLibrary(module);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main() {
    bk::test::TempDir folder;
    std::string empty = folder.Join("empty.dll");
    if (!CopyFileA(BK_EMPTY_DLL, empty.c_str(), FALSE)) {
        std::printf("load_bench: can't copy %s\n", BK_EMPTY_DLL);
        return 1;
    }
    std::vector<double> plugin, baseline;
    {
        hostsim::PluginModule module(folder.Path(), BK_BUILT_DLL);
        LoadAndFree(module.DllPath());  // the first load reads the files from disk
        LoadAndFree(empty);
        for (int i = 0; i < kRuns; ++i) {
            plugin.push_back(LoadAndFree(module.DllPath()));
            baseline.push_back(LoadAndFree(empty));
        }
    }

    std::printf("load_bench: medians of %d runs\n", kRuns);
    std::printf("  LoadLibrary+FreeLibrary, bkQuorvel.dll   %8.3f ms\n", bench::Median(plugin));
    std::printf("  LoadLibrary+FreeLibrary, an empty DLL    %8.3f ms\n", bench::Median(baseline));
    bench::Row("attach and detach (LoadLibrary + FreeLibrary)", bench::Median(plugin),
               "the same for an empty DLL", bench::Median(baseline), bench::Goal::AtMostTimes, 1.2);
    return 0;
}
