// ini_bench: the settings engine against the Windows profile functions on the
// one-line list the plug-in keeps: 5,000 keys sig0..sig4999 in section
// "OptionsOneliner", values in double quotes, about 300 KB.
//
// Prints, from one run: a batch write of the 5,000 keys against 5,000
// WritePrivateProfileStringA calls; the setup dialog's load (one batch over the
// file: mode, timing, selected signatures and the list's lines) against 5,000
// GetPrivateProfileStringA calls; a single-key read; and the speed-ups.
// Run under Wine: build/<dir>/wine-run build/<dir>/tools/bench/ini_bench.exe

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchRow.h"
#include "platform/win32/Win32Platform.h"
#include "settings/IniFile.h"
#include "settings/Schema.h"
#include "support/TempDir.h"

namespace {

constexpr int kEntries = 5000;
const char kSection[] = "OptionsOneliner";

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string Key(int i) {
    return "sig" + std::to_string(i);
}

// A quoted one-line entry of about 50 characters.
std::string Value(int i, const char* flavour) {
    char text[96];
    std::snprintf(text, sizeof text, "\"%s line %05d: the quick brown fox jumps over it\"", flavour,
                  i);
    return text;
}

void WriteWholeFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE ||
        !WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr)) {
        std::fprintf(stderr, "can't write %s\n", path.c_str());
        std::exit(1);
    }
    CloseHandle(file);
}

}  // namespace

int main() {
    bk::Win32Platform platform;
    const bk::test::TempDir dir;
    const std::string enginePath = dir.Join("engine.ini"), kernelPath = dir.Join("kernel.ini");

    std::string content = "[Options]\r\nMode=2\r\nOneLineCount=" + std::to_string(kEntries) +
                          "\r\n[" + kSection + "]\r\n";
    for (int i = 0; i < kEntries; ++i) content += Key(i) + "=" + Value(i, "old") + "\r\n";
    WriteWholeFile(enginePath, content);
    WriteWholeFile(kernelPath, content);
    std::printf("file: %d keys in [%s], %.0f KB\n\n", kEntries, kSection, content.size() / 1024.0);

    // ---- writes: every key gets a new value ----
    // The engine's save: the median of five, each changing every value (the
    // last leaves the "new" ones that the reads below check).
    bk::IniFile ini(platform, enginePath);
    std::vector<double> batchWrites;
    for (const char* flavour : {"new", "old", "new", "old", "new"}) {
        auto start = Clock::now();
        bk::IniBatch batch(ini);
        for (int i = 0; i < kEntries; ++i) batch.WriteString(kSection, Key(i), Value(i, flavour));
        batch.Commit();
        batchWrites.push_back(MillisecondsSince(start));
    }
    double engineWrite = bench::Median(batchWrites);

    auto start = Clock::now();

    for (int i = 0; i < kEntries; ++i)
        WritePrivateProfileStringA(kSection, Key(i).c_str(), Value(i, "new").c_str(),
                                   kernelPath.c_str());
    double kernelWrite = MillisecondsSince(start);

    // ---- reads of the whole list: what the setup dialog reads when it opens ----
    std::vector<double> sectionReads;
    std::size_t entries = 0;
    int mode = 0;
    for (int run = 0; run < 20; ++run) {
        start = Clock::now();
        {
            bk::IniBatch batch(ini);
            mode = batch.ReadInteger(bk::kDefaultSection, bk::kModeKey, bk::kFallbackDefaultMode);
            batch.ReadInteger(bk::kDefaultSection, bk::kTimingKey, bk::kFallbackDefaultTiming);
            batch.ReadString(bk::kDefaultSection, bk::kSelectedSigsKey, "");
            entries = bk::OneLineListLines(batch, bk::kDefaultSection).size();
        }
        sectionReads.push_back(MillisecondsSince(start));
    }
    double engineRead = bench::Median(sectionReads);

    std::vector<char> buffer(2048);
    int same = 0;
    start = Clock::now();
    for (int i = 0; i < kEntries; ++i) {
        DWORD n = GetPrivateProfileStringA(kSection, Key(i).c_str(), "", buffer.data(),
                                           static_cast<DWORD>(buffer.size()), kernelPath.c_str());
        same +=
            std::string(buffer.data(), n) == Value(i, "new").substr(1, Value(i, "new").size() - 2);
    }
    double kernelRead = MillisecondsSince(start);

    // ---- one key ----
    std::vector<double> singleReads;
    std::string last;
    for (int run = 0; run < 200; ++run) {
        start = Clock::now();
        last = ini.ReadString(kSection, Key(kEntries - 1), "");
        singleReads.push_back(MillisecondsSince(start));
    }
    std::sort(singleReads.begin(), singleReads.end());
    std::vector<double> fileReads;
    for (int run = 0; run < 200; ++run) {
        start = Clock::now();
        platform.FileExists(enginePath);
        platform.ReadFile(enginePath);
        fileReads.push_back(MillisecondsSince(start));
    }
    std::sort(fileReads.begin(), fileReads.end());

    std::printf("write %d keys   engine batch   %10.2f ms   (median of 5)\n", kEntries,
                engineWrite);
    std::printf("                kernel32       %10.2f ms   (%d WritePrivateProfileStringA)\n",
                kernelWrite, kEntries);
    std::printf("                speed-up       %10.0fx\n\n", kernelWrite / engineWrite);
    std::printf("read the list   engine, setup  %10.2f ms   (median of 20, %zu lines)\n",
                engineRead, entries);
    std::printf(
        "                kernel32       %10.2f ms   (%d GetPrivateProfileStringA, %d as written)\n",
        kernelRead, kEntries, same);
    std::printf("                speed-up       %10.0fx\n\n", kernelRead / engineRead);
    std::printf(
        "read one key    engine         %10.3f ms   (median of 200; slowest %.3f ms; last key, "
        "\"%s\")\n",
        singleReads[singleReads.size() / 2], singleReads.back(), last.c_str());
    std::printf(
        "                of which I/O   %10.3f ms   (median of 200: test for the file and read it "
        "whole)\n",
        fileReads[fileReads.size() / 2]);

    bench::Row("settings save, 5,000-entry list", engineWrite,
               "kernel32 WritePrivateProfileStringA per key", kernelWrite, bench::Goal::TimesFaster,
               100);
    bench::Row("settings load, 5,000-entry list", engineRead,
               "kernel32 GetPrivateProfileStringA per key", kernelRead, bench::Goal::TimesFaster,
               100);

    bool ok = entries == kEntries && mode == bk::kModeOneLine && same == kEntries &&
              last == Value(kEntries - 1, "new").substr(1, last.size());
    if (!ok)
        std::printf("\nresults differ between the engine and kernel32\n");
    return ok ? 0 : 1;
}
