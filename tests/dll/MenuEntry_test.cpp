// The plug-in's menu entry through a real menu, under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "HostSim.h"
#include "support/DialogUser.h"
#include "support/LoadedPlugin.h"

namespace bk::test {
namespace {

class MenuEntry : public ::testing::Test {
protected:
    MenuEntry() : plugin(dir) {
        host.dataFolder = dir.Join("data") + "\\";
        host.currentMailbox = "mbox\\";
        host.currentFolder = "mbox\\!!!!Inbox\\";
        host.displayNames["mbox\\!!!!Inbox\\"] = "Inbox";
        menu = CreatePopupMenu();
    }
    ~MenuEntry() override { DestroyMenu(menu); }
    int MenuInit(int type) {
        return plugin.Export<int(WINAPI*)(HWND, HMENU, int)>("BKC_OnMenuInit")(nullptr, menu, type);
    }
    std::string ItemText(int position) {
        char text[256] = {};
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        return text;
    }

    hostsim::HostSim host;
    TempDir dir;
    LoadedPlugin plugin;
    HMENU menu;
};

TEST_F(MenuEntry, GetsASeparatorAndTheSetupEntry) {
    ASSERT_TRUE(plugin.Load());
    EXPECT_EQ(MenuInit(2), 0);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
    ASSERT_TRUE(GetMenuItemInfoA(menu, 1, TRUE, &info));
    EXPECT_EQ(ItemText(1), "Setup for Quorvel...");
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].text, "Select Signature");
    EXPECT_EQ(host.commands[0].menuType, 2);
    EXPECT_EQ(static_cast<int>(info.wID), host.commands[0].id);
    // The state callback answers for the current folder (its rule: Menu_test).
    ASSERT_NE(host.commands[0].uiCallback, nullptr);
    EXPECT_EQ(host.commands[0].uiCallback(nullptr, 0), 1u);
    host.currentFolder = "mbox\\Inbox\\";
    EXPECT_EQ(host.commands[0].uiCallback(nullptr, 0), 0u);
}

TEST_F(MenuEntry, CommandOpensTheCurrentFoldersSetup) {
    ASSERT_TRUE(plugin.Load());
    MenuInit(2);
    DialogUser user(GetCurrentThreadId());
    std::thread helper([&] {
        try {
            HWND d = user.WaitForDialog("Setup for the additional message - Inbox");
            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
            user.WaitUntilGone(d);
        } catch (const DialogUser::Timeout&) {
            user.failures.push_back("the folder's setup dialog did not appear");
            user.CloseEverything();
        }
    });
    host.commands.at(0).callback(nullptr, 0);
    helper.join();
    EXPECT_TRUE(user.failures.empty()) << user.failures.front();
    EXPECT_EQ(TempDir::Read(plugin.SettingsPath()), "<missing>");  // Cancel writes nothing
}

}  // namespace
}  // namespace bk::test
