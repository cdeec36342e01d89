// Soak under Wine: the real DLL in this program, which plays the host, goes
// through 10,000 compose-and-deliver cycles and 400 dialog cycles, as it would
// in a mail client that runs for days. What the process holds (handles, GDI
// and window objects, memory) must be back where it was after each series.
//
// The figures are printed whether the test passes or not: run the program
// itself (xvfb-run -a build/win32/wine-run build/win32/tests/dll/Soak_test.exe)
// or "ctest -R Soak_test -V"; CTest also keeps them in Testing/Temporary/LastTest.log.
#include <gtest/gtest.h>
#include <windows.h>

// These two need windows.h first.
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BenchRow.h"
#include "settings/Schema.h"
#include "support/DialogFixture.h"

namespace bk::test {
namespace {

using U = DialogUser;

// ---- What the process holds ----
//
// Wine 8 counts less than Windows: GetProcessHandleCount succeeds and answers
// 0, GetGuiResources fails with ERROR_CALL_NOT_IMPLEMENTED and PrivateUsage
// stays 0. Where Windows' figure is missing, one that Wine does keep is read
// in its place, and the output names it; USER objects have none and print
// "n/a" (the window count below stands in for what a dialog would leak).
// Two counters are read everywhere: the windows of this process, and the bytes
// in use in the process's heaps, where the plug-in's own allocations go
// (byte-exact, where the commit charge moves in pages; under Wine the GDI and
// window objects themselves are kept outside these heaps).

constexpr long long kNotCounted = -1;

struct Reading {
    long long value = kNotCounted;
    const char* source = "";  // where the value came from, or why there is none
};

// This process's entries in the system's handle table (an entry as Wine lays
// it out: the owner's process id first).
long long SystemTableHandles() {
    struct Entry {
        ULONG ownerPid;
        BYTE type, flags;
        USHORT handle;
        PVOID object;
        ULONG access;
    };
    const auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
    const auto kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
    std::vector<char> buffer(1 << 16);
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), nullptr)) ==
           kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return kNotCounted;
    ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    long long mine = 0;
    for (ULONG i = 0; i < count; ++i) mine += entries[i].ownerPid == GetCurrentProcessId();
    return mine;
}

Reading Handles() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
        return {count, "GetProcessHandleCount"};
    // A running process always holds handles: 0 means the call is a stub.
    long long table = SystemTableHandles();
    if (table > 0)
        return {table, "system handle table (GetProcessHandleCount answers 0)"};
    return {kNotCounted, "GetProcessHandleCount answers 0"};
}

// The live GDI objects of this process, found by asking the type of every
// handle index: Wine takes a GDI handle's index alone (its low 16 bits) as the
// handle of whatever object holds that index now.
long long GdiIndexProbe() {
    long long count = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return count;
}

Reading GuiObjects(DWORD kind) {
    SetLastError(0);
    DWORD count = GetGuiResources(GetCurrentProcess(), kind);
    if (count > 0)
        return {count, "GetGuiResources"};
    bool stub = GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;
    if (stub && kind == GR_GDIOBJECTS)
        return {GdiIndexProbe(), "GetObjectType by handle index (GetGuiResources is a stub)"};
    return {kNotCounted, stub ? "GetGuiResources is a stub" : "GetGuiResources answers 0"};
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long long*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<long long*>(count);
        EnumChildWindows(window, &CountChild, count);  // all descendants
    }
    return TRUE;
}

Reading Windows() {
    long long count = 0;
    EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return {count, "EnumWindows, EnumChildWindows"};
}

Reading PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(GetCurrentProcess(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        return {kNotCounted, "GetProcessMemoryInfo failed"};
    if (memory.PrivateUsage > 0)
        return {static_cast<long long>(memory.PrivateUsage), "PrivateUsage"};
    // Windows documents PagefileUsage as the same commit charge; Wine fills it
    // from the process's resident anonymous memory, its own objects included.
    if (memory.PagefileUsage > 0)
        return {static_cast<long long>(memory.PagefileUsage), "PagefileUsage (PrivateUsage is 0)"};
    return {kNotCounted, "PrivateUsage and PagefileUsage are 0"};
}

Reading HeapBytes() {
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    if (count == 0 || count > 64)
        return {kNotCounted, "GetProcessHeaps"};
    long long busy = 0;
    for (DWORD i = 0; i < count; ++i) {
        HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                busy += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return {busy, "HeapWalk over GetProcessHeaps"};
}

// How much a counter may grow over half a series. A series starts after
// warm-up cycles, so what a first use makes once (a font cache, a window class,
// the buffer of the standard output) is not counted. A leak grows a counter in
// both halves of a series; a cache that fills once grows it in one (Wine's
// cache of device contexts grows by a dozen DCs and regions at a time, at
// moments that vary from run to run). So the smaller of the two halves' growths
// is held to the limit. Per half, one handle, GDI object or window per cycle is
// 100 at the least; 100 bytes per cycle is 500 KB of heap and of commit charge
// over 5,000 compose cycles and 10 KB of heap over 100 dialog cycles. Seen
// here in the smaller half: 0 for every count and for the heap, at most ten
// pages of commit charge. The commit charge moves in pages and with the
// system's caches, so its limit is wider; in the dialog series it catches what
// the heap can't see (Wine keeps GDI and window objects outside the process
// heaps) from about 1.3 KB a cycle.
struct Counter {
    const char* name;
    Reading (*read)();
    long long allowedPerHalf;
};

const Counter kCounters[] = {
    {"handles", &Handles, 4},
    {"GDI objects", [] { return GuiObjects(GR_GDIOBJECTS); }, 16},
    {"USER objects", [] { return GuiObjects(GR_USEROBJECTS); }, 16},
    {"windows", &Windows, 2},
    {"private bytes", &PrivateBytes, 128 * 1024},
    {"heap bytes in use", &HeapBytes, 2048},
};
constexpr std::size_t kCounterCount = std::size(kCounters);

struct Snapshot {
    Reading readings[kCounterCount];
};

Snapshot Take() {
    Snapshot s;
    for (std::size_t i = 0; i < kCounterCount; ++i) s.readings[i] = kCounters[i].read();
    return s;
}

std::string Figure(long long value) {
    return value == kNotCounted ? "n/a" : std::to_string(value);
}

// ---- The cycles ----

// Cycles before the first reading: at least one of each kind that a series
// turns through (8 folders, 4 setups, 3 items times Ok and Cancel).
constexpr int kWarmUpCycles = 12;

// The folders of the compose-and-deliver series: each mode of a folder's own
// setup at each timing. "Missing" names no file: the restricted list drops it
// when it is drawn and draws again.
struct FolderSetup {
    const char* folder;
    int mode;
    int timing;
};
const FolderSetup kFolders[] = {
    {"mbox\\default-at-compose\\", kModeUseDefault, kTimingCompose},
    {"mbox\\default-at-delivery\\", kModeUseDefault, kTimingDelivery},
    {"mbox\\file-at-compose\\", kModeSignatureFile, kTimingCompose},
    {"mbox\\file-at-delivery\\", kModeSignatureFile, kTimingDelivery},
    {"mbox\\line-at-compose\\", kModeOneLine, kTimingCompose},
    {"mbox\\line-at-delivery\\", kModeOneLine, kTimingDelivery},
    {"mbox\\restricted-at-compose\\", kModeRestricted, kTimingCompose},
    {"mbox\\restricted-at-delivery\\", kModeRestricted, kTimingDelivery},
    {"mbox\\quote-at-compose\\", kModeQuoteFile, kTimingCompose},
    {"mbox\\quote-at-delivery\\", kModeQuoteFile, kTimingDelivery},
};
// The quote file of mode 4, beside the settings file.
constexpr char kQuotes[] = "one\r\n%\r\ntwo,\r\non two lines\r\n%\r\nthree\r\n";

std::string FolderSettings() {
    std::string ini = "[Options]\r\nMode=1\r\nSigAddTiming=1\r\n";
    for (const FolderSetup& f : kFolders) {
        std::string section = f.folder;
        ini += "[" + section + "]\r\nMode=" + std::to_string(f.mode) +
               "\r\nSigAddTiming=" + std::to_string(f.timing) + "\r\n";
        if (f.mode == kModeOneLine)
            ini += "OneLineCount=3\r\n[" + section +
                   "Oneliner]\r\nsig0=\"one\"\r\nsig1=\" two \"\r\nsig2=\"three\"\r\n";
        if (f.mode == kModeRestricted)
            ini += "SelectedSigs=\"Short\",\"Missing\",\"Haiku\"\r\n";
        if (f.mode == kModeQuoteFile)
            ini += "QuoteFile=quotes.txt\r\n";
    }
    return ini;
}

// The default setups that the setup dialog series shows and saves, in turn.
struct DefaultSetup {
    int mode;
    const char* ini;
};
const DefaultSetup kDefaultSetups[] = {
    {kModeNone, "[Options]\r\nMode=0\r\nSigAddTiming=0\r\n"},
    {kModeSignatureFile, "[Options]\r\nMode=1\r\nSigAddTiming=1\r\n"},
    {kModeOneLine,
     "[Options]\r\nMode=2\r\nSigAddTiming=0\r\nOneLineCount=2\r\n"
     "[OptionsOneliner]\r\nsig0=\"one\"\r\nsig1=\"two\"\r\n"},
    {kModeRestricted, "[Options]\r\nMode=3\r\nSigAddTiming=1\r\nSelectedSigs=\"Formal\"\r\n"},
    {kModeQuoteFile, "[Options]\r\nMode=4\r\nSigAddTiming=1\r\nQuoteFile=quotes.txt\r\n"},
};

// One series: `cycles` runs of `host` on the test's main thread (the host's
// user-interface thread), while a helper thread plays the user's part of each
// cycle, when it has one.
struct Series {
    const char* name;
    int cycles;
    std::function<void(int cycle)> host;
    std::function<void(U&, int cycle)> user;  // empty: no dialog to play
};

class Soak : public DialogTest {
protected:
    Soak() {
        // Every text starts with "-- ", which the selection series waits for.
        WriteSignature("$$$00001Formal.txt", "-- \r\nWith kind regards,\r\nA. Writer\r\n");
        WriteSignature("$$$00002Short.txt", "-- \r\nA.\r\n");
        WriteSignature("$$$0000AHaiku.txt", "-- \r\nold pond, a frog jumps\r\n");
    }

    // One cycle's part of the host. The stand-in host's log of calls, which
    // only grows, is emptied first: what the counters see is the plug-in's.
    void HostPart(const Series& series, int cycle) {
        host.calls.clear();
        series.host(cycle);
    }

    // Cycles `first` … `first + count - 1` of a series; false when the user's part failed.
    bool Play(const Series& series, int first, int count) {
        if (!series.user) {
            for (int i = first; i < first + count; ++i) HostPart(series, i);
            return true;
        }
        U user(GetCurrentThreadId());
        std::atomic<bool> failed{false}, hostDone{false};
        std::thread helper([&] {
            try {
                for (int i = first; i < first + count; ++i) series.user(user, i);
            } catch (const std::exception& e) {
                user.Check(false, e.what());
                failed = true;
                while (!hostDone) user.CloseEverything();  // until the host's loop has ended
            }
        });
        for (int i = first; i < first + count && !failed; ++i) HostPart(series, i);
        hostDone = true;
        helper.join();
        for (const std::string& failure : user.failures)
            ADD_FAILURE() << series.name << ": " << failure;
        return user.failures.empty();
    }

    // Warm-up, then the series in two halves with the counters read before,
    // between and after: printed, and checked against the limits.
    void Run(const Series& series) {
        ASSERT_TRUE(Play(series, 0, kWarmUpCycles)) << series.name << ": warm-up failed";
        const int half = series.cycles / 2;
        auto start = std::chrono::steady_clock::now();
        Snapshot before = Take();
        bool played = Play(series, kWarmUpCycles, half);
        Snapshot middle = Take();
        played = played && Play(series, kWarmUpCycles + half, series.cycles - half);
        Snapshot after = Take();
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        std::printf("\n%s: %d cycles in %.1f s\n", series.name, series.cycles, seconds);
        std::printf("  %-17s %10s %10s %10s %8s %8s %8s  %s\n", "counter", "before", "middle",
                    "after", "1st half", "2nd half", "allowed", "read with");
        std::string startFigures, growth;  // for the benchmark table's row
        bool flat = played;
        for (std::size_t i = 0; i < kCounterCount; ++i) {
            const Counter& c = kCounters[i];
            long long b = before.readings[i].value, m = middle.readings[i].value,
                      a = after.readings[i].value;
            bool counted = b != kNotCounted && m != kNotCounted && a != kNotCounted;
            // The smaller growth of the two halves is what must stay within the limit.
            const long long grew = std::min(m - b, a - m);
            if (counted) {
                std::string sep = startFigures.empty() ? "" : ", ";
                startFigures += sep + c.name + " " + std::to_string(b);
                growth += sep + c.name + " " + (a >= b ? "+" : "") + std::to_string(a - b);
                flat = flat && grew <= c.allowedPerHalf;
            }
            auto shown = [&](long long v) { return counted ? std::to_string(v) : std::string(); };
            std::printf("  %-17s %10s %10s %10s %8s %8s %8s  %s\n", c.name, Figure(b).c_str(),
                        Figure(m).c_str(), Figure(a).c_str(), shown(m - b).c_str(),
                        shown(a - m).c_str(), shown(c.allowedPerHalf).c_str(),
                        after.readings[i].source);
            if (played && counted) {
                EXPECT_LE(grew, c.allowedPerHalf)
                    << series.name << ": " << c.name << " grew by " << m - b << " and by " << a - m
                    << " in the two halves of " << series.cycles << " cycles";
            }
        }
        bench::TextRow(
            std::string("soak: ") + series.name + ", " + std::to_string(series.cycles) + " cycles",
            growth, "the same counters before", startFigures, "",
            "flat (each half within the soak's limits)", flat);
        EXPECT_TRUE(played) << series.name;
    }

    int OpenCompose(HWND window) {
        return plugin->Export<int(WINAPI*)(HWND, int)>("BKC_OnOpenCompose")(window, 0);
    }
    int Outgoing(HWND window) {
        return plugin->Export<int(WINAPI*)(HWND, int)>("BKC_OnOutgoing")(window, 0);
    }
    int PlugInSetup() { return plugin->Export<int(WINAPI*)(LPARAM)>("BKC_OnPlugInSetup")(0); }

    // Hands this thread's posted messages and the X server's notifications to
    // the windows, as the host's message loop does between two events.
    static void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
};

// The counters see what they are there to see: each leak here moves its
// counter by at least its size. (A stand-in that read the same number whatever
// happened would make the soak pass for nothing.)
TEST(SoakCounters, EachCounterSeesALeakOfItsKind) {
    std::vector<HANDLE> events;
    std::vector<HGDIOBJ> fonts;
    std::vector<HWND> windows;
    std::vector<void*> blocks;
    struct {
        const char* counter;
        std::function<void()> leak;
        long long atLeast;
    } cases[] = {
        {"handles", [&] { events.push_back(CreateEventA(nullptr, FALSE, FALSE, nullptr)); }, 10},
        {"GDI objects",
         [&] { fonts.push_back(CreateFontA(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial")); },
         10},
        {"USER objects",
         [&] {
             windows.push_back(
                 CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
         },
         10},
        {"windows",
         [&] {
             windows.push_back(
                 CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
         },
         10},
        // 10 x 200 KB, every page written: 2 MB.
        {"private bytes",
         [&] { blocks.push_back(std::memset(std::malloc(200 * 1024), 1, 200 * 1024)); },
         10 * 200 * 1024 - 256 * 1024},
        {"heap bytes in use", [&] { blocks.push_back(std::malloc(100)); }, 10 * 100},
    };
    for (auto& c : cases) {
        const Counter* counter = nullptr;
        for (const Counter& k : kCounters)
            if (std::string(k.name) == c.counter)
                counter = &k;
        ASSERT_NE(counter, nullptr) << c.counter;
        Reading before = counter->read();
        for (int i = 0; i < 10; ++i) c.leak();
        Reading after = counter->read();
        if (before.value == kNotCounted || after.value == kNotCounted)
            continue;  // printed as "n/a" by the soak
        EXPECT_GE(after.value - before.value, c.atLeast) << c.counter << ", " << after.source;
    }
    for (HANDLE h : events) CloseHandle(h);
    for (HGDIOBJ f : fonts) DeleteObject(f);
    for (HWND w : windows) DestroyWindow(w);
    for (void* b : blocks) std::free(b);
}

TEST_F(Soak, ComposeAndDeliverThenSetupThenSelectionLeaveNothingBehind) {
    WriteSettings(FolderSettings());
    dir.Write("quotes.txt", kQuotes);
    ASSERT_TRUE(Load());

    int wrongTexts = 0;
    Run({"compose and deliver, 5 modes x 2 timings", 10000, [&](int cycle) {
             host.currentFolder = kFolders[cycle % std::size(kFolders)].folder;
             HWND w = host.OpenCompose({{"To", "friend@example.org"}, {"Subject", "soak"}},
                                       "Hi,\r\nsee you.\r\n");
             OpenCompose(w);
             Outgoing(w);
             wrongTexts += host.Find(w)->addedTexts.size() != 1;
             host.CloseCompose(w);
             Pump();
         }});
    EXPECT_EQ(wrongTexts, 0) << "compose cycles that did not add exactly one text";

    int wrongSaves = 0;
    Run({"setup dialog, open and Ok", 200,
         [&](int cycle) {
             const DefaultSetup& setup = kDefaultSetups[cycle % std::size(kDefaultSetups)];
             WriteSettings(setup.ini);
             wrongSaves +=
                 PlugInSetup() != 1 || Profile("Options", "Mode") != std::to_string(setup.mode);
         },
         [&](U& u, int) {
             HWND d = u.WaitForDialog(kDefaultCaption);
             U::Click(U::Item(d, EditId("OkButton")));
             u.WaitUntilGone(d);
         }});
    EXPECT_EQ(wrongSaves, 0) << "setup cycles that did not answer 1 and save the mode shown";

    WriteSettings("[Options]\r\nMode=3\r\nSigAddTiming=1\r\nSelectedSigs=\"Short\"\r\n");
    Run({"selection dialog: check, preview, Ok; then Ok or Cancel", 200,
         [&](int) { PlugInSetup(); },
         [&](U& u, int cycle) {
             HWND d = u.WaitForDialog(kDefaultCaption);
             U::ClickLater(U::Item(d, EditId("SelSigButton")));
             HWND s = u.WaitForDialog(kSelectCaption);
             HWND list = U::Item(s, SelectId("SigCheckListBox"));
             HWND preview = U::Item(s, SelectId("SigPreviewMemo"));
             int item = cycle % 3;
             auto checked = [&] { return U::ItemChecked(list, item); };
             bool wasChecked = checked();
             RECT box = U::ItemBox(list, item), title = U::ItemRect(list, item);
             U::ClickAt(list, (box.left + box.right) / 2, (box.top + box.bottom) / 2);
             U::ClickAt(list, (box.right + title.right) / 2, (title.top + title.bottom) / 2);
             u.WaitUntil(
                 [&] { return checked() != wasChecked && U::Text(preview).starts_with("-- "); },
                 "the item checked and previewed");
             U::Click(U::Item(s, SelectId("OkButton")));
             u.WaitUntilGone(s);
             U::Click(U::Item(d, EditId(cycle % 2 ? "OkButton" : "CancelButton")));
             u.WaitUntilGone(d);
         }});
}

}  // namespace
}  // namespace bk::test
