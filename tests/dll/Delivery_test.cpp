// Compose and delivery end to end: the real DLL in this program, which plays
// the host with real compose windows (tools/hostsim), under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "HostSim.h"
#include "support/DialogUser.h"
#include "support/LoadedPlugin.h"

namespace bk::test {
namespace {

const char kMarker[] = "X-BkQuorvel-Folder";
const char kNoSignature[] = "No signature file found.\r\nThe mail is going to be sent as is.";

class Delivery : public ::testing::Test {
protected:
    Delivery() : plugin(dir) {
        host.dataFolder = dir.Join("data") + "\\";
        host.currentMailbox = "mbox\\";
        host.currentFolder = "mbox\\!!!!Inbox\\";
    }

    void Start(const std::string& ini = "") {
        if (!ini.empty())
            dir.Write("bkQuorvel.ini", ini);
        ASSERT_TRUE(plugin.Load());
        openCompose = plugin.Export<int(WINAPI*)(HWND, int)>("BKC_OnOpenCompose");
        outgoing = plugin.Export<int(WINAPI*)(HWND, int)>("BKC_OnOutgoing");
    }
    void Signature(const std::string& name, const std::string& content) {
        dir.Write("data\\mbox\\" + name, content);
    }
    HWND Open(int mode = 0, const std::string& marker = "") {
        std::vector<std::pair<std::string, std::string>> headers = {{"Subject", "Hi"}};
        if (!marker.empty())
            headers.emplace_back(kMarker, marker);
        HWND w = host.OpenCompose(headers, "body\r\n");
        EXPECT_EQ(openCompose(w, mode), 0);
        return w;
    }
    std::vector<std::string> Texts(HWND w) { return host.Find(w)->addedTexts; }
    std::string Marker(HWND w) {
        return host.HasHeader(w, kMarker) ? host.Header(w, kMarker) : "<none>";
    }

    // Runs `call` here, on the host's user-interface thread, while a helper
    // thread answers the message box it shows; returns the box's text, or
    // "<no box>" once the call has returned without one.
    std::string AnswerWarning(const std::function<void()>& call) {
        DialogUser user(GetCurrentThreadId());
        std::atomic<bool> returned{false};
        std::string text = "<no box>";
        std::thread helper([&] {
            try {
                user.WaitUntil([&] { return returned || FindWindowA("#32770", "Warning"); },
                               "a warning");
                if (!returned)
                    text = user.AnswerMessageBox("Warning");
            } catch (const DialogUser::Timeout&) {
                user.CloseEverything();
            }
        });
        call();
        returned = true;
        helper.join();
        return text;
    }

    hostsim::HostSim host;
    TempDir dir;
    LoadedPlugin plugin;
    int(WINAPI* openCompose)(HWND, int) = nullptr;
    int(WINAPI* outgoing)(HWND, int) = nullptr;
};

TEST_F(Delivery, DefaultTimingAddsAtDeliveryAfterHidingTheWindow) {
    Signature("$$$00001Only.txt", "-- \r\nonly one\r\n");
    Start();
    HWND w = Open();
    EXPECT_EQ(Marker(w), "mbox\\!!!!Inbox\\");
    EXPECT_TRUE(Texts(w).empty());
    EXPECT_TRUE(host.IsVisible(w));
    EXPECT_EQ(outgoing(w, 0), 0);
    EXPECT_EQ(Marker(w), "<none>");
    EXPECT_EQ(Texts(w), std::vector<std::string>{"-- \r\nonly one\r\n"});
    EXPECT_FALSE(host.IsVisible(w));
    EXPECT_EQ(host.Source(w).find(kMarker), std::string::npos);
}

TEST_F(Delivery, EachModeAddsWhatItSays) {
    Signature("$$$00001A.txt", "file A");
    Signature("$$$00002B.txt", "file B");
    Start(
        "[mbox\\none\\]\r\nMode=0\r\n"
        "[mbox\\line\\]\r\nMode=2\r\nOneLineCount=1\r\n[mbox\\line\\Oneliner]\r\nsig0=\" one line "
        "\"\r\n"
        "[mbox\\restricted\\]\r\nMode=3\r\nSelectedSigs=\"Missing\",\"B\"\r\n"
        "[mbox\\quote\\]\r\nMode=4\r\nQuoteFile=q.txt\r\n");
    dir.Write("q.txt", "%\r\ncaf\xc3\xa9,\r\nau lait\r\n%\r\n");  // UTF-8, beside the settings
    auto deliver = [&](const char* folder) {
        host.currentFolder = folder;
        HWND w = Open();
        outgoing(w, 0);
        return Texts(w);
    };
    EXPECT_TRUE(deliver("mbox\\none\\").empty());
    EXPECT_EQ(deliver("mbox\\line\\"), std::vector<std::string>{" one line \r\n"});
    EXPECT_EQ(deliver("mbox\\quote\\"), std::vector<std::string>{"caf\xe9,\r\nau lait\r\n"});
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(deliver("mbox\\restricted\\"), std::vector<std::string>{"file B"});
    auto any = deliver("mbox\\!!!!Inbox\\");  // no setup of its own: the default, mode 1
    ASSERT_EQ(any.size(), 1u);
    EXPECT_TRUE(any[0] == "file A" || any[0] == "file B") << any[0];
}

TEST_F(Delivery, NoSignatureFileShowsTheWarningAndKeepsTheWindow) {
    Start();
    HWND w = Open();
    EXPECT_EQ(AnswerWarning([&] { outgoing(w, 0); }), kNoSignature);
    EXPECT_TRUE(Texts(w).empty());
    EXPECT_TRUE(host.IsVisible(w));
    EXPECT_EQ(Marker(w), "<none>");
}

// The fair order: three deliveries add the three signatures, and the round
// that the client stored at exit goes on after a restart.
TEST_F(Delivery, FairOrderAddsEverySignatureOnceAcrossARestart) {
    for (const char* name : {"A", "B", "C"})
        Signature(std::string("$$$0000") + name + name + ".txt", name);
    Start("[Options]\r\nMode=1\r\nNoRepeat=1\r\n");
    auto deliver = [&] {
        HWND w = Open();
        outgoing(w, 0);
        return Texts(w).empty() ? std::string("<none>") : Texts(w).front();
    };
    auto exit = [&] { plugin.Export<int(WINAPI*)()>("BKC_OnExit")(); };
    std::vector<std::string> round = {deliver(), deliver(), deliver()};
    std::sort(round.begin(), round.end());
    EXPECT_EQ(round, (std::vector<std::string>{"A", "B", "C"}));
    std::vector<std::string> next = {deliver()};
    exit();
    EXPECT_NE(ProfileString(dir.Join("bkQuorvel.ini"), "Options", "NoRepeatRound"), "<none>");
    plugin.Unload();
    Start();
    next.push_back(deliver());
    next.push_back(deliver());
    std::sort(next.begin(), next.end());
    EXPECT_EQ(next, (std::vector<std::string>{"A", "B", "C"}));
}

// Run in a process of its own with Wine in a Japanese locale (code page 932;
// see CMakeLists.txt). The mailbox's name is a character whose second byte is
// "\\", the settings file is UTF-8 with a mark and names the title in Unicode,
// and the signature file is UTF-8 with a mark: Shift JIS reaches the host.
TEST_F(Delivery, JapaneseLocale) {
    ASSERT_EQ(GetACP(), 932u) << "Wine was not started in a Japanese locale";
    const std::string mailbox = "\x83\x5c\\";  // U+30BD, its trail byte is "\\"
    host.currentMailbox = mailbox;
    host.currentFolder = mailbox + "!!!!Inbox\\";
    // Made through the "A" functions: the test's own file helpers do not step
    // double-byte names.
    const std::string directory = dir.Join("data\\" + mailbox);
    CreateDirectoryA(dir.Join("data").c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    auto write = [](const std::string& path, const std::string& content) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file, content.data(), content.size(), &written, nullptr)) << path;
        CloseHandle(file);
    };
    write(directory + "$$$00001\x93\xfa\x96\x7b.txt",
          "\xef\xbb\xbf\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\r\n");
    write(directory + "$$$00002\x83\x41.txt", "decoy");
    Start(
        "\xef\xbb\xbf[\xe3\x82\xbd\\!!!!Inbox\\]\r\nMode=3\r\nSigAddTiming=0\r\n"
        "SelectedSigs=\xe6\x97\xa5\xe6\x9c\xac\r\n");
    HWND w = nullptr;
    EXPECT_EQ(AnswerWarning([&] { w = Open(); }), "<no box>");
    EXPECT_EQ(Texts(w), std::vector<std::string>{"\x93\xfa\x96\x7b\x8c\xea\r\n"});
}

}  // namespace
}  // namespace bk::test
