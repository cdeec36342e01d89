// dialog_bench: how long the real setup and selection dialogs take under the
// conditions a heavy user creates. Prints, over several runs (median and
// slowest):
//   - the setup dialog over a one-line list of 5,000 lines: from the setup
//     command until the dialog is visible, and until it has painted;
//   - Ok in that dialog: from the click until the dialog is gone and the
//     settings file holds the saved list;
//   - the selection dialog over 1,000 signature files: from the click on
//     "Select signature..." until it is visible, and until it has painted;
//   - for comparison, the setup dialog without a list, and a bare edit
//     control of the memo's style, size and font height made hidden, given the
//     5,000 lines and shown (no plug-in code), in an activation context made
//     from the DLL's own manifest as the dialog's memo is: the baseline of the
//     table's row for the setup dialog's opening.
//
// Everything is measured at the system DPI the program sees; the table's row
// names it when it is not 96 (table.sh runs the program again at 144 DPI).
//
// This program plays the host and loads the built bkQuorvel.dll; everything
// runs on its one thread, as in the host. The dialog manager tells a dialog's
// owner when the dialog's queue runs empty (WM_ENTERIDLE): once right after it
// has shown the dialog, again once the dialog has painted. The host's main
// window owns the setup dialog; the setup dialog, subclassed here, owns the
// selection dialog. The next click is posted from there. (A message hook would
// be simpler, but under Wine every hooked message costs a server round trip,
// which would be measured too.) Run it under Wine, on a display, on one CPU
// as table.sh does (it says why):
//   build/win32/wine-run --stop
//   taskset -c 0 xvfb-run -a build/win32/wine-run build/win32/tools/bench/dialog_bench.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "BenchRow.h"
#include "HostSim.h"
#include "PluginModule.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 15;
constexpr int kLines = 5000;
constexpr int kSignatureFiles = 1000;

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// What the hook does when a dialog goes idle.
enum class Script { OkAfterPaint, SelectThenCancel };

struct Run {
    Script script;
    Clock::time_point start, setupVisible, setupPainted, okClicked;
    Clock::time_point selectClicked, selectVisible, selectPainted;
    int setupIdles = 0, selectIdles = 0;
};
Run* g_run = nullptr;

bool IsCaption(HWND window, const char* prefix) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return std::string(text).rfind(prefix, 0) == 0;
}

void Press(HWND dialog, const char* caption) {
    PostMessageA(FindWindowExA(dialog, nullptr, "Button", caption), BM_CLICK, 0, 0);
}

WNDPROC g_dialogProc = nullptr;  // the setup dialog's own window procedure

void Idle(HWND dialog) {
    if (!g_run)
        return;
    Run& run = *g_run;
    auto now = Clock::now();
    if (IsCaption(dialog, "Setup for")) {
        int idle = ++run.setupIdles;
        if (idle == 1)
            run.setupVisible = now;
        if (idle == 2) {
            run.setupPainted = now;
            if (run.script == Script::OkAfterPaint) {
                run.okClicked = Clock::now();
                Press(dialog, "&Ok");
            } else {
                run.selectClicked = Clock::now();
                Press(dialog, "S&elect signature...");
            }
        }
        if (idle > 2 && run.selectIdles >= 2)
            Press(dialog, "&Cancel");
    } else if (IsCaption(dialog, "Select Signature")) {
        int idle = ++run.selectIdles;
        if (idle == 1)
            run.selectVisible = now;
        if (idle == 2) {
            run.selectPainted = now;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }
}

LRESULT CALLBACK SetupDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX)
        Idle(reinterpret_cast<HWND>(lParam));
    return CallWindowProcA(g_dialogProc, window, message, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
        auto dialog = reinterpret_cast<HWND>(lParam);
        if (GetWindowLongPtrA(dialog, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&SetupDialogProc))
            g_dialogProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SetupDialogProc)));
        Idle(dialog);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Stats {
    std::vector<double> values;
    double Median() const { return bench::Median(values); }
    void Print(const char* what) {
        std::printf("  %-58s median %7.1f ms   slowest %7.1f ms\n", what, Median(),
                    *std::max_element(values.begin(), values.end()));
    }
};

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string Profile(const std::string& file, const char* section, const char* key) {
    std::vector<char> buffer(1 << 16);
    DWORD n = GetPrivateProfileStringA(section, key, "<none>", buffer.data(),
                                       static_cast<DWORD>(buffer.size()), file.c_str());
    return std::string(buffer.data(), n);
}

}  // namespace

int main() {
    bk::test::TempDir dir;  // removed with everything in it after the plug-in is unloaded
    const std::string& work = dir.Path();
    std::string data = work + "\\data\\";
    CreateDirectoryA(data.c_str(), nullptr);
    std::string mailbox = data + "mbox\\";
    CreateDirectoryA(mailbox.c_str(), nullptr);
    for (int i = 0; i < kSignatureFiles; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "$$$%05X Signature number %d.txt", i, i);
        WriteFile(mailbox + name,
                  "-- \r\nA signature of a few lines\r\nnumber " + std::to_string(i) + "\r\n");
    }

    std::string listIni =
        "[Options]\r\nMode=2\r\nSigAddTiming=1\r\nOneLineCount=5000\r\n"
        "[OptionsOneliner]\r\n";
    for (int i = 0; i < kLines; ++i)
        listIni += "sig" + std::to_string(i) + "=\"A line of the list, number " +
                   std::to_string(i) + ", to add at random\"\r\n";
    std::string memoText;  // the list as the memo shows it
    for (int i = 0; i < kLines; ++i)
        memoText += "A line of the list, number " + std::to_string(i) + ", to add at random\r\n";
    std::string selectIni = "[Options]\r\nMode=3\r\nSelectedSigs=";
    for (int i = 0; i < kSignatureFiles; i += 2)
        selectIni += std::string(i ? "," : "") + "\"Signature number " + std::to_string(i) + "\"";
    selectIni += "\r\n";

    // The host: a main window that owns the dialogs, a data folder, and the plug-in.
    WNDCLASSA mainClass{};
    mainClass.lpfnWndProc = &MainProc;
    mainClass.hInstance = GetModuleHandleA(nullptr);
    mainClass.lpszClassName = "dialog_bench";
    RegisterClassA(&mainClass);
    HWND main = CreateWindowA("dialog_bench", "dialog_bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                              0, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(main);
    hostsim::HostSim host;
    host.dataFolder = data;
    host.currentMailbox = "mbox\\";
    host.currentFolder = "mbox\\!!!!Inbox\\";
    std::string pluginFolder = work + "\\plugin";
    CreateDirectoryA(pluginFolder.c_str(), nullptr);
    hostsim::PluginModule plugin(pluginFolder, BK_BUILT_DLL);
    if (!plugin.Load()) {
        std::printf("dialog_bench: the plug-in refused to load\n");
        return 1;
    }
    auto setup = plugin.Export<int(WINAPI*)(LPARAM)>("BKC_OnPlugInSetup");
    const std::string ini = plugin.SettingsPath();

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    auto Scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    HFONT memoFont = CreateFontA(-Scaled(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "");

    // The DLL's manifest (ISOLATIONAWARE_NOSTATICIMPORT_MANIFEST_RESOURCE_ID),
    // so that the bare edit is the same (themed) control as the memo.
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = plugin.Module();
    request.lpResourceName = ISOLATIONAWARE_NOSTATICIMPORT_MANIFEST_RESOURCE_ID;
    HANDLE pluginContext = CreateActCtxA(&request);

    Stats open, painted, ok, selectOpen, selectPainted, emptyOpen, bareEdit;
    bool saved = true;
    for (int i = 0; i < kRuns; ++i) {
        WriteFile(ini, listIni);
        Run run{Script::OkAfterPaint};
        g_run = &run;
        run.start = Clock::now();
        setup(0);
        auto end = Clock::now();
        open.values.push_back(Ms(run.start, run.setupVisible));
        painted.values.push_back(Ms(run.start, run.setupPainted));
        ok.values.push_back(Ms(run.okClicked, end));
        saved = saved && Profile(ini, "OptionsOneliner", "sig4999").size() > 10 &&
                Profile(ini, "Options", "SelectedSigs").empty();

        WriteFile(ini, selectIni);
        Run select{Script::SelectThenCancel};
        g_run = &select;
        select.start = Clock::now();
        setup(0);
        selectOpen.values.push_back(Ms(select.selectClicked, select.selectVisible));
        selectPainted.values.push_back(Ms(select.selectClicked, select.selectPainted));

        WriteFile(ini, "[Options]\r\nMode=1\r\n");
        Run empty{Script::OkAfterPaint};
        g_run = &empty;
        empty.start = Clock::now();
        setup(0);
        emptyOpen.values.push_back(Ms(empty.start, empty.setupVisible));

        // Made hidden, given the lines, then shown: the cheapest way, and the
        // way the dialog treats its memo.
        ULONG_PTR cookie = 0;
        bool active =
            pluginContext != INVALID_HANDLE_VALUE && ActivateActCtx(pluginContext, &cookie);
        auto before = Clock::now();
        HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                    WS_CHILD | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL |
                                        ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL,
                                    8, 8, Scaled(449), Scaled(174), main, nullptr, nullptr,
                                    nullptr);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(memoFont), FALSE);
        SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
        SetWindowTextA(edit, memoText.c_str());
        ShowWindow(edit, SW_SHOW);
        bareEdit.values.push_back(Ms(before, Clock::now()));
        DestroyWindow(edit);
        if (active)
            DeactivateActCtx(0, cookie);
    }
    g_run = nullptr;

    DeleteObject(memoFont);
    if (pluginContext != INVALID_HANDLE_VALUE)
        ReleaseActCtx(pluginContext);
    std::printf("dialog_bench: %d runs at %d DPI; a one-line list of %d lines, %d signature files\n",
                kRuns, dpi, kLines, kSignatureFiles);
    open.Print("setup dialog: command -> visible");
    painted.Print("setup dialog: command -> painted");
    ok.Print("setup dialog: Ok -> closed and the list saved");
    selectOpen.Print("selection dialog: click -> visible");
    selectPainted.Print("selection dialog: click -> painted");
    emptyOpen.Print("for comparison: setup dialog without a list -> visible");
    bareEdit.Print("for comparison: bare edit control given the lines -> shown");
    std::printf("  bare edit in the DLL's activation context: %s\n",
                pluginContext != INVALID_HANDLE_VALUE ? "yes" : "NO");
    std::printf("  saved list checked: %s\n", saved ? "yes" : "NO");
    const std::string at = dpi == 96 ? "" : " at " + std::to_string(dpi) + " DPI";
    bench::Row("setup dialog open" + at + ", 5,000-line list (to visible)", open.Median(),
               "a bare edit control" + at + " given the lines, shown", bareEdit.Median(),
               bench::Goal::AtMostTimes, 1.2);

    plugin.Unload();
    DestroyWindow(main);
    return saved ? 0 : 1;
}
