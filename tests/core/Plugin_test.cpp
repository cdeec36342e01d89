// Attach against the portable platform: settings path, cached defaults, the
// legacy list migration and the seed.
#include "core/Plugin.h"

#include <gtest/gtest.h>

#include "platform/portable/PortablePlatform.h"
#include "settings/IniFile.h"
#include "support/TempDir.h"

namespace bk {
namespace {

using test::TempDir;

void DummyEntry() {}

// A host that exports every entry point.
void ExportAll(PortablePlatform& platform) {
    platform.SetHostModule(0x400000);
    for (int i = 0; i < kHostEntryPointCount; ++i)
        platform.SetExport(TBeckyAPI::SlotName(i), &DummyEntry);
}

TEST(SettingsPath, ReplacesFromTheLastDotOfTheWholePath) {
    struct {
        const char* module;
        const char* settings;
    } cases[] = {
        {"C:\\Program Files\\Host\\PlugIns\\bkQuorvel.dll",
         "C:\\Program Files\\Host\\PlugIns\\bkQuorvel.ini"},
        {"C:\\PlugIns\\bkQuorvel", "C:\\PlugIns\\bkQuorvel.ini"},
        {"C:\\a.b\\plugin", "C:\\a.ini"},  // a dot in a directory counts when the name has none
        {"C:\\x\\bk.Quorvel.dll", "C:\\x\\bk.Quorvel.ini"},
        {"", ".ini"},
    };
    for (auto& c : cases) EXPECT_EQ(SettingsPathFor(c.module), c.settings) << c.module;
}

TEST(SettingsPath, KeepsPathsLongerThanMaxPathWhole) {
    std::string dir = "C:\\" + std::string(300, 'd') + "\\";
    EXPECT_EQ(SettingsPathFor(dir + "bkQuorvel.dll"), dir + "bkQuorvel.ini");
}

TEST(RandomSeed, IsMillisecondsSinceMidnight) {
    EXPECT_EQ(Random::SeedFrom({0, 0, 0, 0}), 0u);
    EXPECT_EQ(Random::SeedFrom({23, 59, 59, 999}), 86399999u);
    EXPECT_EQ(Random::SeedFrom({1, 2, 3, 4}), ((1u * 60 + 2) * 60 + 3) * 1000 + 4);
}

class AttachTest : public ::testing::Test {
protected:
    AttachTest() {
        ExportAll(platform);
        platform.SetModuleFileName(dir.Join("bkQuorvel.dll"));
        platform.SetClock({10, 20, 30, 400});
    }
    std::string Ini() const { return dir.Join("bkQuorvel.ini"); }

    TempDir dir;
    PortablePlatform platform;
    Plugin plugin{platform};
};

TEST_F(AttachTest, DefaultsWithoutSettingsFile) {
    ASSERT_TRUE(plugin.Attach());
    EXPECT_EQ(plugin.settingsPath, Ini());
    EXPECT_EQ(plugin.defaultMode, 1);
    EXPECT_EQ(plugin.defaultTiming, 1);
    EXPECT_EQ(plugin.noSignatureMessage,
              "No signature file found.\r\nThe mail is going to be sent as is.");
    EXPECT_EQ(plugin.random.Seed(), Random::SeedFrom({10, 20, 30, 400}));
    EXPECT_EQ(TempDir::Read(Ini()), "<missing>");
}

TEST_F(AttachTest, CachesTheDefaultSetup) {
    dir.Write("bkQuorvel.ini", "[options]\r\nmode=3\r\nSigAddTiming=0\r\n");
    ASSERT_TRUE(plugin.Attach());
    EXPECT_EQ(plugin.defaultMode, 3);
    EXPECT_EQ(plugin.defaultTiming, 0);
}

// The list's text (system code page) is stored in the settings file's encoding.
TEST_F(AttachTest, MigratesIntoAUnicodeFileInItsEncoding) {
    dir.Write("bkQuorvel.ini", "\xef\xbb\xbf[Options]\r\nMode=2\r\n");
    dir.Write("quorvels.dat", "caf\xe9\r\n");
    ASSERT_TRUE(plugin.Attach());
    EXPECT_EQ(TempDir::Read(Ini()),
              "\xef\xbb\xbf[Options]\r\nMode=2\r\nOneLineCount=1\r\n"
              "[OptionsOneliner]\r\nsig0=\"caf\xc3\xa9\"\r\n");
    EXPECT_FALSE(platform.FileExists(dir.Join("quorvels.dat")));
}

TEST_F(AttachTest, FailsWhenAnEntryPointIsMissing) {
    platform.RemoveExport("BKA_SerializeRcpts");
    dir.Write("quorvels.dat", "x\r\n");
    EXPECT_FALSE(plugin.Attach());
    EXPECT_EQ(TempDir::Read(dir.Join("quorvels.dat")), "x\r\n");
}

TEST_F(AttachTest, MigratesTheLegacyListInOneRewrite) {
    dir.Write("bkQuorvel.ini", "[OptionsOneliner]\r\nsig0=\"old0\"\r\nsig5=\"old5\"\r\n");
    dir.Write("quorvels.dat", "a\r\n b\r\n\r\n");
    ASSERT_TRUE(plugin.Attach());
    IniFile ini(platform, Ini());
    EXPECT_EQ(ini.ReadString("OptionsOneliner", "sig0", "-"), "a");
    EXPECT_EQ(ini.ReadString("OptionsOneliner", "sig1", "-"), " b");
    EXPECT_EQ(ini.ReadString("OptionsOneliner", "sig2", "-"), "");
    EXPECT_EQ(ini.ReadString("OptionsOneliner", "sig5", "-"), "old5");  // beyond the count: kept
    EXPECT_EQ(ini.ReadInteger("Options", "OnelineCount", -1), 3);
    EXPECT_FALSE(platform.FileExists(dir.Join("quorvels.dat")));
}

// A platform whose file replacement fails when asked to, as a full disk would.
class FailingWrites : public PortablePlatform {
public:
    void ReplaceFile(const std::string& path, std::string_view content) override {
        if (fail)
            throw FileError(path, "disk full");
        PortablePlatform::ReplaceFile(path, content);
    }
    bool fail = false;
};

// The load goes on and both files stay as they were when the list can't be
// stored: the next start tries again.
TEST(AttachMigration, KeepsTheLegacyFileWhenTheListCannotBeStored) {
    struct {
        const char* why;
        std::string settings, legacy;
        bool failWrites;
    } cases[] = {
        {"the write fails", "[Options]\r\nMode=2\r\n", "one\r\n", true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        FailingWrites platform;
        platform.fail = c.failWrites;
        ExportAll(platform);
        platform.SetModuleFileName(dir.Join("bkQuorvel.dll"));
        dir.Write("bkQuorvel.ini", c.settings);
        dir.Write("quorvels.dat", c.legacy);
        Plugin plugin(platform);
        EXPECT_TRUE(plugin.Attach()) << c.why;
        EXPECT_EQ(plugin.defaultMode, 2) << c.why;
        EXPECT_EQ(TempDir::Read(dir.Join("quorvels.dat")), c.legacy) << c.why;
        EXPECT_EQ(TempDir::Read(dir.Join("bkQuorvel.ini")), c.settings) << c.why;
    }
}

}  // namespace
}  // namespace bk
