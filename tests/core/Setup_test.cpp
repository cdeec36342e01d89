// Which section gives which value for a folder, and its mailbox directory.
#include "core/Setup.h"

#include <gtest/gtest.h>

#include "support/FakeHost.h"

namespace bk::test {
namespace {

// The timing is always the folder's own; the rest comes from the folder's
// setup when it has a mode, else from the default setup, whose mode is the
// running one and not the file's.
TEST(ResolveSetup, TheTimingIsTheFoldersOwnAndTheRestTheSetups) {
    PluginFixture f;
    f.WriteSettings(
        "[Options]\r\nMode=3\r\nSigAddTiming=0\r\nNoRepeat=1\r\n"
        "[own\\]\r\nMode=1\r\nSigAddTiming=0\r\n"
        "[follows\\]\r\nMode=-1\r\nSigAddTiming=0\r\nNoRepeat=0\r\n[bare\\]\r\n");
    const IniSnapshot settings(f.plugin.Settings());
    const struct {
        const char* folder;
        const char* section;
        int mode, timing;
        bool noRepeat;
    } cases[] = {
        {"own\\", "own\\", 1, 0, false},      {"OWN\\", "OWN\\", 1, 0, false},
        {"follows\\", "Options", 2, 0, true}, {"bare\\", "Options", 2, 1, true},
        {"missing\\", "Options", 2, 1, true}, {"", "Options", 2, 1, true},
    };
    for (const auto& c : cases) {
        const EffectiveSetup setup = ResolveSetup(settings, c.folder, {2, 1});
        EXPECT_EQ(setup.section, c.section) << c.folder;
        EXPECT_EQ(setup.mode, c.mode) << c.folder;
        EXPECT_EQ(setup.timing, c.timing) << c.folder;
        EXPECT_EQ(setup.noRepeat, c.noRepeat) << c.folder;
    }
}

TEST(FolderMailbox, StaysInsideTheDataFolder) {
    struct {
        const char* section;
        const char* dir;  // nullptr: refused
    } cases[] = {
        {"mbox\\!!!!Inbox\\", "D\\mbox\\"},
        {"plain", "D\\"},
        {"", "D\\"},
        {"\\rooted\\", "D\\\\"},
        {"..\\x\\", nullptr},
        {".\\x\\", nullptr},
        {"..", "D\\"},  // no "\": no component at all
        {"../..\\x\\", nullptr},
        {"C:\\Windows\\", nullptr},
        {"a:b\\", nullptr},
        {"...\\x\\", nullptr},
        {".. \\x\\", nullptr},
        {"a.b\\", "D\\a.b\\"},
    };
    for (auto& c : cases) {
        auto got = FolderMailboxDirectory("D\\", c.section, CodePage::Western());
        if (c.dir)
            EXPECT_EQ(got, std::optional<std::string>(c.dir)) << c.section;
        else
            EXPECT_EQ(got, std::nullopt) << c.section;
    }
}

TEST(FolderMailbox, SecondByteOfADoubleByteCharacterIsNoSeparator) {
    // Shift JIS 0x83 0x5C is one character whose second byte is "\".
    const std::string section = "mb\x83\x5C\\in\\";
    EXPECT_EQ(FolderMailboxDirectory("D\\", section, CodePage::Japanese()),
              std::optional<std::string>("D\\mb\x83\x5C\\"));
    EXPECT_EQ(FolderMailboxDirectory("D\\", section, CodePage::Western()),
              std::optional<std::string>("D\\mb\x83\\"));
}

}  // namespace
}  // namespace bk::test
