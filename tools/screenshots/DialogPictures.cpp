// dialog_pictures: shows the real dialogs of the built DLL with sample settings
// so that tools/screenshots/screenshots.sh can photograph them. Not a test.
//
//   dialog_pictures FLAGDIR
//
// For each picture it prints "shot NAME X Y WIDTH HEIGHT" (the window's place
// on the screen) and waits until the file FLAGDIR\NAME.done exists, then goes
// on: the default setup, the same in quote file mode, a folder's own setup,
// the selection dialog with a preview.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "HostSim.h"
#include "PluginModule.h"
#include "dialogs/EditForm.h"
#include "dialogs/SelectSigForm.h"
#include "support/DialogUser.h"
#include "support/TempDir.h"

namespace {

using bk::test::DialogUser;

std::string g_flags;

void Shoot(DialogUser& user, const char* name, HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    RECT r;
    GetWindowRect(window, &r);
    std::printf("shot %s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left,
                r.bottom - r.top);
    std::fflush(stdout);
    std::string done = g_flags + "\\" + name + ".done";
    user.WaitUntil([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; },
                   done);
}

HWND Edit(HWND dialog, const char* field) {
    return GetDlgItem(dialog, bk::ControlIdOf(bk::EditFormLayout(), field));
}
HWND Select(HWND dialog, const char* field) {
    return GetDlgItem(dialog, bk::ControlIdOf(bk::SelectSigFormLayout(), field));
}

// The default setup adds a signature file in fair order: its one-line list
// shows greyed.
const char kSettings[] =
    "[Options]\r\nMode=1\r\nSigAddTiming=1\r\nSelectedSigs=\r\nNoRepeat=1\r\nOneLineCount=4\r\n"
    "[OptionsOneliner]\r\n"
    "sig0=\"Sent from my desk, between two cups of tea.\"\r\n"
    "sig1=\"Please consider the environment before printing this mail.\"\r\n"
    "sig2=\"Today's motto: less mail, more meaning.\"\r\n"
    "sig3=\"If this reached you by mistake, please let me know.\"\r\n"
    "[mbox\\!!!!Inbox\\]\r\nMode=3\r\nSigAddTiming=0\r\nSelectedSigs=\"Formal\",\"Short\"\r\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog_pictures FLAGDIR\n");
        return 2;
    }
    g_flags = argv[1];
    HWND main = CreateWindowA("STATIC", "Mail client", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                              200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(main);

    bk::test::TempDir dir;
    hostsim::HostSim host;
    host.dataFolder = dir.Join("data") + "\\";
    host.currentMailbox = "mbox\\";
    host.currentFolder = "mbox\\!!!!Inbox\\";
    host.displayNames["mbox\\!!!!Inbox\\"] = "Inbox";
    dir.Write("data\\mbox\\$$$00001Formal.txt",
              "-- \r\nJane Example\r\nExample Trading Ltd.\r\n1 Sample Street, Exampleton\r\n"
              "Phone +00 123 456 789\r\n");
    dir.Write("data\\mbox\\$$$00002Short.txt", "-- \r\nJane\r\n");
    dir.Write("data\\mbox\\$$$00003Friends.txt", "-- \r\nCheers, Jane :-)\r\n");
    dir.Write("data\\mbox\\$$$00004Out of office.txt",
              "-- \r\nI am out of the office until Monday.\r\n");
    if (GetACP() == 932) {  // in a Japanese locale, a Japanese title too (U+30D3 ...)
        std::string name =
            dir.Join("data\\mbox\\$$$00005\x83\x72\x83\x57\x83\x6c\x83\x58\x97\x70.txt");
        HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        CloseHandle(file);
    }
    hostsim::PluginModule plugin(dir.Path(), BK_BUILT_DLL);
    dir.Write("bkQuorvel.ini", kSettings);
    // The package's sample quote file beside the settings, as a user has it.
    if (!CopyFileA(BK_SAMPLE_QUOTES, dir.Join("quotes-sample.txt").c_str(), FALSE)) {
        std::fprintf(stderr, "dialog_pictures: can't copy %s\n", BK_SAMPLE_QUOTES);
        return 1;
    }
    if (!plugin.Load()) {
        std::fprintf(stderr, "dialog_pictures: the plug-in refused to load\n");
        return 1;
    }

    DialogUser user(GetCurrentThreadId());
    int failures = 0;
    auto play = [&](auto&& call, auto&& script) {
        std::thread helper([&] {
            try {
                script();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "dialog_pictures: %s\n", e.what());
                ++failures;
                user.CloseEverything();
            }
        });
        call();
        helper.join();
    };

    auto setup = plugin.Export<int(WINAPI*)(LPARAM)>("BKC_OnPlugInSetup");
    play([&] { setup(0); },
         [&] {
             HWND d = user.WaitForDialog("Setup for the additional message - (default)");
             Shoot(user, "setup-default", d);
             DialogUser::Click(Edit(d, "QuoteRadioButton"));
             HWND path = Edit(d, "QuoteFileEdit"), count = Edit(d, "QuoteCountLabel");
             SetWindowTextA(path, "quotes-sample.txt");
             user.WaitUntil([&] { return DialogUser::Text(count) == "12 quotes"; }, "the count");
             Shoot(user, "setup-quote", d);
             DialogUser::Click(Edit(d, "CancelButton"));
             user.WaitUntilGone(d);
         });

    HMENU menu = CreatePopupMenu();
    plugin.Export<int(WINAPI*)(HWND, HMENU, int)>("BKC_OnMenuInit")(main, menu, 2);
    if (host.commands.empty()) {
        std::fprintf(stderr, "dialog_pictures: no menu command\n");
        return 1;
    }
    auto command = host.commands.back().callback;
    play([&] { command(main, 0); },
         [&] {
             HWND d = user.WaitForDialog("Setup for the additional message - Inbox");
             Shoot(user, "setup-folder", d);
             DialogUser::ClickLater(Edit(d, "SelSigButton"));
             HWND s = user.WaitForDialog("Select Signature");
             HWND list = Select(s, "SigCheckListBox");
             for (int i = 0; i < DialogUser::ItemCount(list); ++i) {
                 RECT item = DialogUser::ItemRect(list, i);
                 if (DialogUser::ItemText(list, i) == "Formal")
                     DialogUser::ClickAt(list, 120, (item.top + item.bottom) / 2);
             }
             HWND preview = Select(s, "SigPreviewMemo");
             user.WaitUntil(
                 [&] { return DialogUser::Text(preview).find("Jane") != std::string::npos; },
                 "the preview");
             Shoot(user, "select-signature", s);
             DialogUser::Click(Select(s, "CancelButton"));
             user.WaitUntilGone(s);
             DialogUser::Click(Edit(d, "CancelButton"));
             user.WaitUntilGone(d);
         });
    DestroyMenu(menu);
    DestroyWindow(main);
    return failures ? 1 : 0;
}
