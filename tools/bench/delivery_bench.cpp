// Delivery benchmark, run under Wine: the real DLL in a host stand-in.
//   mode 1 with 10,000 signature files in the mailbox, against a bare
//   FindFirstFileA/FindNextFileA listing of the same directory;
//   mode 2 with a 5,000-entry one-line list;
//   both again with the fair order on ("NoRepeat"=1): the time it adds, as the
//   median over the runs of each fair delivery less the same delivery without
//   it just before (a difference of some 1 ms beside a listing of 50 ms, which
//   two medians would leave to chance). The fair line is timed late in a round
//   of the 5,000 lines, when the round is at its largest, and so is the
//   minute's store of the rounds into the settings file (BKC_OnEveryMinute).
// Prints the median of several runs of each, and the table's rows.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchRow.h"
#include "Delivery.h"
#include "HostSim.h"
#include "PluginModule.h"
#include "support/TempDir.h"

namespace {

using bench::Clock;
using bench::Ms;
using bench::WriteWhole;

template <typename Fn>
double Time(Fn&& fn) {
    auto start = Clock::now();
    fn();
    return Ms(Clock::now() - start);
}

int BareListing(const std::string& pattern) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    int n = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do ++n;
        while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    return n;
}

}  // namespace

int main() {
    bk::test::TempDir work;  // removed with everything in it after the plug-in is unloaded
    std::string root = work.Path();
    std::string mailbox = root + "\\data\\mbox\\";
    CreateDirectoryA((root + "\\data").c_str(), nullptr);
    CreateDirectoryA(mailbox.c_str(), nullptr);

    std::printf("preparing 10,000 signature files ...\n");
    for (int i = 0; i < 10000; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "$$$%05XSignature %d.txt", i, i);
        WriteWhole(mailbox + name, "-- \r\nsignature " + std::to_string(i) + "\r\n");
    }
    std::string ini =
        "[Options]\r\nMode=1\r\nSigAddTiming=1\r\n[mbox\\lines\\]\r\nMode=2\r\n"
        "OneLineCount=5000\r\n[mbox\\lines\\Oneliner]\r\n";
    for (int i = 0; i < 5000; ++i)
        ini += "sig" + std::to_string(i) + "=\"one line of the list, number " + std::to_string(i) +
               "\"\r\n";

    hostsim::HostSim host;
    host.dataFolder = root + "\\data\\";
    host.currentMailbox = "mbox\\";
    hostsim::PluginModule plugin(root, BK_BUILT_DLL);
    WriteWhole(plugin.SettingsPath(), ini);
    if (!plugin.Load()) {
        std::printf("the plug-in refused to load\n");
        return 1;
    }
    auto everyMinute = plugin.Export<int(WINAPI*)()>("BKC_OnEveryMinute");

    // The fair order on or off for both setups, the rest of the file as it is.
    const std::string settings = plugin.SettingsPath();
    auto fairOrder = [&](bool on) {
        for (const char* section : {"Options", "mbox\\lines\\"})
            WritePrivateProfileStringA(section, "NoRepeat", on ? "1" : "0", settings.c_str());
    };

    const bench::Deliveries deliver(host, plugin);

    // The runs alternate between the listing and the two deliveries, so that
    // whatever else the machine does falls on all three alike.
    const int runs = 45;  // many: the fair rows compare two medians of some 50 ms each
    BareListing(mailbox + "$$$*.txt");  // warm the directory cache
    deliver("mbox\\!!!!Inbox\\");
    fairOrder(true);
    // Late in the round: the timed picks end it just before its last.
    std::printf("picking %d of the 5,000 lines in a fair order ...\n", 5000 - runs - 1);
    for (int i = 0; i < 5000 - runs - 1; ++i) deliver("mbox\\lines\\");
    std::vector<double> listings, mode1, mode2, fair1, fair2, added1, added2, stores;
    for (int i = 0; i < runs; ++i) {
        fairOrder(false);
        listings.push_back(Time([&] { BareListing(mailbox + "$$$*.txt"); }));
        mode1.push_back(deliver("mbox\\!!!!Inbox\\"));
        mode2.push_back(deliver("mbox\\lines\\"));
        fairOrder(true);
        fair1.push_back(deliver("mbox\\!!!!Inbox\\"));
        fair2.push_back(deliver("mbox\\lines\\"));
        added1.push_back(fair1.back() - mode1.back());
        added2.push_back(fair2.back() - mode2.back());
        stores.push_back(Time([&] { everyMinute(); }));
    }
    const double listing = bench::Median(listings), delivery1 = bench::Median(mode1),
                 delivery2 = bench::Median(mode2), fairDelivery1 = bench::Median(fair1),
                 fairDelivery2 = bench::Median(fair2), store = bench::Median(stores),
                 fairAdded1 = bench::Median(added1), fairAdded2 = bench::Median(added2);
    char round[32768] = "";
    GetPrivateProfileStringA("mbox\\lines\\", "NoRepeatRound", "", round, sizeof round,
                             settings.c_str());

    std::printf("bare FindFirstFileA/FindNextFileA over 10,000 files : %8.2f ms\n", listing);
    std::printf("delivery, mode 1, 10,000 signature files           : %8.2f ms\n", delivery1);
    std::printf("delivery, mode 2, 5,000-entry one-line list         : %8.2f ms\n", delivery2);
    bench::Row("delivery, mode 1, 10,000 signature files", delivery1,
               "FindFirstFileA/FindNextFileA listing of them", listing, bench::Goal::AtMostTimes,
               1.2);
    bench::Row("delivery, mode 2, 5,000-entry one-line list", delivery2, "", 0,
               bench::Goal::AtMostMs, 5);
    std::printf("fair order, mode 1, 10,000 signature files       : %8.2f ms\n", fairDelivery1);
    std::printf("fair order, mode 2, 5,000 lines, late in a round  : %8.2f ms\n", fairDelivery2);
    std::printf("storing both rounds (a minute's tick)             : %8.2f ms\n", store);
    std::printf("stored round of the lines at the end: %zu characters\n", std::strlen(round));
    std::printf("time the fair order adds, mode 1 / mode 2        : %8.2f / %.2f ms\n", fairAdded1,
                fairAdded2);
    bench::Row("time a fair order adds to a delivery, mode 1, 10,000 signature files", fairAdded1,
               "that delivery without it", delivery1, bench::Goal::AtMostMs, 2);
    bench::Row("time a fair order adds to a delivery, mode 2, 5,000 lines (late in a round)",
               fairAdded2, "that delivery without it", delivery2, bench::Goal::AtMostMs, 2);
    bench::Row("storing the fair order's rounds (once a minute after picks), 300 KB file", store,
               "", 0, bench::Goal::AtMostMs, 10);
    std::printf("(medians of %d runs)\n", runs);

    plugin.Unload();
    return 0;
}
