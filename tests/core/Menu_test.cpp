// The menu entry over the portable platform and a fake host.
#include "core/Menu.h"

#include <gtest/gtest.h>

#include "support/FakeHost.h"

namespace bk::test {
namespace {

void BKAPI Command(WindowHandle, std::intptr_t) {}
std::uint32_t BKAPI State(WindowHandle, std::intptr_t) {
    return 0;
}

class MenuTest : public ::testing::Test, public PluginFixture {
protected:
    MenuHandle menu = reinterpret_cast<MenuHandle>(0x77);
};

TEST_F(MenuTest, OnlyMenuTypeTwoGetsTheEntry) {
    for (int type : {0, 1, 3, 4, -1, 1000})
        EXPECT_EQ(OnMenuInit(plugin, menu, type, &Command, &State), 0);
    EXPECT_TRUE(platform.menuEntries.empty());
    EXPECT_TRUE(host.commands.empty());

    EXPECT_EQ(OnMenuInit(plugin, menu, 2, &Command, &State), 0);
    ASSERT_EQ(platform.menuEntries.size(), 2u);
    EXPECT_TRUE(platform.menuEntries[0].separator);
    EXPECT_EQ(platform.menuEntries[0].menu, menu);
    EXPECT_FALSE(platform.menuEntries[1].separator);
    EXPECT_EQ(platform.menuEntries[1].caption, "Setup for Quorvel...");
    EXPECT_EQ(platform.menuEntries[1].id, 40001u);  // whatever the host handed out
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].text, "Select Signature");
    EXPECT_EQ(host.commands[0].menuType, 2);
    EXPECT_EQ(host.commands[0].callback, &Command);
    EXPECT_EQ(host.commands[0].uiCallback, &State);
}

TEST_F(MenuTest, EveryCallAppendsAndRegistersAgain) {
    OnMenuInit(plugin, menu, 2, &Command, &State);
    OnMenuInit(plugin, menu, 2, &Command, &State);
    EXPECT_EQ(platform.menuEntries.size(), 4u);
    EXPECT_EQ(host.commands.size(), 2u);
    EXPECT_EQ(platform.menuEntries[3].id, 40002u);
}

TEST_F(MenuTest, StateIsOneWhenTheSecondComponentStartsWithBang) {
    struct {
        const char* folder;
        std::uint32_t state;
    } cases[] = {
        {"mbox\\!!!!Outbox\\", 1},
        {"other\\!Trash\\", 1},
        {"mbox\\Inbox\\", 0},
        {"mbox\\", 0},
        {"!plain", 1},
        {"plain", 0},
        {"", 0},
        {"!a\\b\\", 0},
        {"\\!x", 1},
    };
    for (auto& c : cases) {
        host.currentFolder = c.folder;
        EXPECT_EQ(MenuItemState(plugin), c.state) << c.folder;
    }
}

}  // namespace
}  // namespace bk::test
