// Loads the real DLL into this program, which plays the host, and checks what
// attach does and what every callback answers.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <thread>

#include "HostSim.h"
#include "core/PluginInfo.h"
#include "support/LoadedPlugin.h"

namespace bk::test {
namespace {

using NoArgs = int(WINAPI*)();
using OneArg = int(WINAPI*)(std::intptr_t);
using TwoArgs = int(WINAPI*)(std::intptr_t, std::intptr_t);
using ThreeArgs = int(WINAPI*)(std::intptr_t, std::intptr_t, std::intptr_t);

class Lifecycle : public ::testing::Test {
protected:
    hostsim::HostSim host;
    TempDir dir;
};

TEST_F(Lifecycle, LoadsWithoutSettingsFileAndCreatesNoFile) {
    LoadedPlugin plugin(dir);
    ASSERT_TRUE(plugin.Load());
    EXPECT_EQ(GetFileAttributesA(plugin.SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);
    plugin.Unload();
    EXPECT_EQ(GetFileAttributesA(plugin.SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Lifecycle, InformationRecordHoldsFourFieldsOfEightyBytes) {
    LoadedPlugin plugin(dir);
    ASSERT_TRUE(plugin.Load());
    char record[320];
    std::memset(record, 'x', sizeof record);
    auto info = plugin.Export<OneArg>("BKC_OnPlugInInfo");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info(reinterpret_cast<std::intptr_t>(record)), 0);
    EXPECT_STREQ(record, "Becky! Quorvel plug-in");
    EXPECT_GT(std::strlen(record + 80), 0u);
    EXPECT_LT(std::strlen(record + 80), 80u);
    EXPECT_STREQ(record + 160, BK_PLUGIN_VERSION);
    EXPECT_STREQ(record + 240, "Enables Becky! to add a signature at random.");
}

TEST_F(Lifecycle, CallbacksWithoutAnAnswerOfTheirOwnAnswerZero) {
    LoadedPlugin plugin(dir);
    ASSERT_TRUE(plugin.Load());
    for (const char* name : {"BKC_OnStart", "BKC_OnExit", "BKC_OnEveryMinute"})
        EXPECT_EQ(plugin.Export<NoArgs>(name)(), 0) << name;
    for (const char* name :
         {"BKC_OnOpenFolder", "BKC_OnOpenMail", "BKC_OnSend", "BKC_OnFinishRetrieve"})
        EXPECT_EQ(plugin.Export<OneArg>(name)(0), 0) << name;
    EXPECT_EQ(plugin.Export<TwoArgs>("BKC_OnRetrieve")(0, 0), 0);
    EXPECT_EQ(plugin.Export<ThreeArgs>("BKC_OnKeyDispatch")(0, 'A', 0), 0);
}

TEST_F(Lifecycle, SettingsFileThatIsADirectoryStillLoads) {
    CreateDirectoryA(dir.Join("bkQuorvel.ini").c_str(), nullptr);
    std::string legacy = dir.Write("quorvels.dat", "kept\r\n");
    LoadedPlugin plugin(dir);
    EXPECT_TRUE(plugin.Load());
    plugin.Unload();
    EXPECT_EQ(TempDir::Read(legacy), "kept\r\n");
}

TEST_F(Lifecycle, SetupCommandAnswersOne) {
    LoadedPlugin plugin(dir);
    ASSERT_TRUE(plugin.Load());
    // The command shows the setup dialog modally; a helper thread cancels it.
    std::thread user([] {
        for (int i = 0; i < 2000; ++i) {
            if (HWND d = FindWindowA("#32770", "Setup for the additional message - (default)")) {
                PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            Sleep(5);
        }
    });
    EXPECT_EQ(plugin.Export<OneArg>("BKC_OnPlugInSetup")(0), 1);
    user.join();
}

TEST_F(Lifecycle, LoadsAgainAfterUnload) {
    LoadedPlugin plugin(dir);
    ASSERT_TRUE(plugin.Load());
    plugin.Unload();
    ASSERT_TRUE(plugin.Load());
    EXPECT_EQ(plugin.Export<NoArgs>("BKC_OnStart")(), 0);
}

}  // namespace
}  // namespace bk::test
