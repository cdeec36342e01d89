// Quote file benchmark, run under Wine: the real DLL in a host stand-in.
//   mode 4 from a 10 MB file of 100,000 quotes (the fortune form, UTF-8 without
//   a mark), against reading that file into memory once (one ReadFile of the
//   whole file into a new buffer);
//   mode 4 from a 100 KB file of 1,000 quotes;
//   the 10 MB file again with the fair order on ("NoRepeat"=1): the time it
//   adds (the median of each fair delivery less the same delivery without it
//   just before), and the size of the round it stores in the settings file;
//   the setup dialog's count of the 10 MB file: LoadQuoteFile, as the dialog
//   calls it when a file is chosen or typing pauses (the text it then shows is
//   one SetWindowText).
// Prints the median of several runs of each, and the table's rows.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchRow.h"
#include "Delivery.h"
#include "HostSim.h"
#include "PluginModule.h"
#include "platform/win32/Win32Platform.h"
#include "settings/QuoteFile.h"
#include "support/TempDir.h"

namespace {

using bench::Clock;
using bench::Ms;
using bench::WriteWhole;

// The baseline: the whole file into a buffer of its own, once.
std::size_t ReadOnce(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(size.QuadPart)]);
    DWORD read = 0;
    ReadFile(h, buffer.get(), static_cast<DWORD>(size.QuadPart), &read, nullptr);
    CloseHandle(h);
    return read;
}

// `count` quotes of about `length` bytes, some of two lines, one in ten with
// a character beyond ASCII (so the file reads as UTF-8).
std::string Quotes(int count, std::size_t length) {
    std::string out;
    out.reserve(static_cast<std::size_t>(count) * (length + 8));
    for (int i = 0; i < count; ++i) {
        std::string quote = "Quote " + std::to_string(i) + (i % 10 ? ": " : " \xe2\x80\x94 ");
        while (quote.size() + 10 < length) quote += i % 3 ? "words of wisdom, " : "\nand more ";
        out += quote + "\n%\n";
    }
    return out;
}

}  // namespace

int main() {
    bk::test::TempDir work;  // removed with everything in it after the plug-in is unloaded
    const std::string root = work.Path();
    CreateDirectoryA((root + "\\data").c_str(), nullptr);
    CreateDirectoryA((root + "\\data\\mbox").c_str(), nullptr);
    const std::string large = root + "\\large.txt", small = root + "\\small.txt";
    std::printf("preparing a 10 MB file of 100,000 quotes and a 100 KB one ...\n");
    WriteWhole(large, Quotes(100000, 100));
    WriteWhole(small, Quotes(1000, 100));

    hostsim::HostSim host;
    host.dataFolder = root + "\\data\\";
    host.currentMailbox = "mbox\\";
    hostsim::PluginModule plugin(root, BK_BUILT_DLL);
    const std::string settings = plugin.SettingsPath();
    WriteWhole(settings,
               "[mbox\\large\\]\r\nMode=4\r\nSigAddTiming=1\r\nQuoteFile=large.txt\r\n"
               "[mbox\\small\\]\r\nMode=4\r\nSigAddTiming=1\r\nQuoteFile=small.txt\r\n");
    if (!plugin.Load()) {
        std::printf("the plug-in refused to load\n");
        return 1;
    }
    auto everyMinute = plugin.Export<int(WINAPI*)()>("BKC_OnEveryMinute");
    auto fairOrder = [&](bool on) {
        WritePrivateProfileStringA("mbox\\large\\", "NoRepeat", on ? "1" : "0", settings.c_str());
    };
    const bench::Deliveries deliver(host, plugin);

    const int runs = 31;
    ReadOnce(large);  // the file in the system's cache, as the timed runs find it
    deliver("mbox\\large\\");
    std::vector<double> reads, largeRuns, smallRuns, fairRuns, added, counts;
    bk::Win32Platform platform;
    std::size_t roundSize = 0;
    for (int i = 0; i < runs; ++i) {
        fairOrder(false);
        auto start = Clock::now();
        ReadOnce(large);
        reads.push_back(Ms(Clock::now() - start));
        largeRuns.push_back(deliver("mbox\\large\\"));
        smallRuns.push_back(deliver("mbox\\small\\"));
        start = Clock::now();
        if (bk::LoadQuoteFile(platform, large).quotes->size() != 100000)
            std::printf("  (the count is wrong!)\n");
        counts.push_back(Ms(Clock::now() - start));
        fairOrder(true);
        fairRuns.push_back(deliver("mbox\\large\\"));
        added.push_back(fairRuns.back() - largeRuns.back());
        everyMinute();  // the round into the settings file, as a minute goes by
        char round[65536] = "";
        GetPrivateProfileStringA("mbox\\large\\", "NoRepeatRound", "", round, sizeof round,
                                 settings.c_str());
        roundSize = std::max(roundSize, std::strlen(round));
    }
    const double read = bench::Median(reads), delivery = bench::Median(largeRuns),
                 smallDelivery = bench::Median(smallRuns), fair = bench::Median(fairRuns),
                 fairAdded = bench::Median(added), count = bench::Median(counts);
    std::printf("one ReadFile of the 10 MB file                     : %8.2f ms\n", read);
    std::printf("delivery, mode 4, 10 MB file of 100,000 quotes     : %8.2f ms\n", delivery);
    std::printf("delivery, mode 4, 100 KB file of 1,000 quotes      : %8.2f ms\n", smallDelivery);
    std::printf("delivery, mode 4, 10 MB file, fair order           : %8.2f ms\n", fair);
    std::printf("stored round of the 10 MB file, largest: %zu characters\n", roundSize);
    bench::Row("delivery, mode 4, 10 MB file of 100,000 quotes", delivery,
               "one ReadFile of that file into memory", read, bench::Goal::AtMostTimes, 1.5);
    bench::Row("delivery, mode 4, 100 KB file of 1,000 quotes", smallDelivery, "", 0,
               bench::Goal::AtMostMs, 2);
    bench::Row("time a fair order adds to a delivery, mode 4, 10 MB file", fairAdded,
               "that delivery without it", delivery, bench::Goal::AtMostMs, 5);
    bench::TextRow("stored round of the 10 MB file's fair order (largest seen)",
                   std::to_string(roundSize) + " characters", "", "", "", "<= 32,768 characters",
                   roundSize <= 32768);
    bench::Row("the setup dialog's count of the 10 MB file's quotes", count, "", 0,
               bench::Goal::AtMostMs, 200);
    std::printf("(medians of %d runs)\n", runs);

    plugin.Unload();
    return 0;
}
