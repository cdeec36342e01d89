// Attach against the portable platform: settings path, cached defaults, the
// legacy list migration and the seed; the information record.
#include "core/Plugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "HostModel.h"
#include "settings/IniFile.h"
#include "support/FaultyPlatform.h"
#include "support/ScriptedForms.h"
#include "support/TempDir.h"

namespace bk {
namespace {

using test::TempDir;

// A host that exports every entry point.
void ExportAll(PortablePlatform& platform) {
    platform.SetHostModule(0x400000);
    for (const hostsim::HostEntryPoint& entry : hostsim::kHostEntryPoints)
        platform.SetExport(entry.name, entry.address);
}

TEST(SettingsPath, ReplacesFromTheLastDotOfTheWholePath) {
    const std::string longDir = "C:\\" + std::string(300, 'd') + "\\";  // past MAX_PATH: whole
    const struct {
        std::string module, settings;
    } cases[] = {
        {"C:\\Program Files\\Host\\PlugIns\\bkQuorvel.dll",
         "C:\\Program Files\\Host\\PlugIns\\bkQuorvel.ini"},
        {"C:\\PlugIns\\bkQuorvel", "C:\\PlugIns\\bkQuorvel.ini"},
        {"C:\\a.b\\plugin", "C:\\a.ini"},  // a dot in a directory counts when the name has none
        {"C:\\x\\bk.Quorvel.dll", "C:\\x\\bk.Quorvel.ini"},
        {"", ".ini"},
        {longDir + "bkQuorvel.dll", longDir + "bkQuorvel.ini"},
    };
    for (auto& c : cases) EXPECT_EQ(SettingsPathFor(c.module), c.settings) << c.module;
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
    test::FaultyPlatform platform;
    test::ScriptedForms forms;
    Plugin plugin{platform, forms};
};

TEST_F(AttachTest, DefaultsWithoutSettingsFile) {
    ASSERT_TRUE(plugin.Attach());
    EXPECT_EQ(plugin.Settings().Path(), Ini());
    EXPECT_EQ(plugin.Defaults().mode, 1);
    EXPECT_EQ(plugin.Defaults().timing, 1);
    EXPECT_EQ(plugin.Generator().Seed(), 37230400u);  // milliseconds since midnight
    EXPECT_EQ(TempDir::Read(Ini()), "<missing>");
}

TEST_F(AttachTest, CachesTheDefaultSetup) {
    dir.Write("bkQuorvel.ini", "[options]\r\nmode=3\r\nSigAddTiming=0\r\n");
    ASSERT_TRUE(plugin.Attach());
    EXPECT_EQ(plugin.Defaults().mode, 3);
    EXPECT_EQ(plugin.Defaults().timing, 0);
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
    // Each entry is stored in one pair of double quotes, so its blanks survive.
    EXPECT_NE(TempDir::Read(Ini()).find("sig1=\" b\""), std::string::npos);
}

// The load goes on and both files stay as they were when the list can't be
// moved: the next start tries again.
TEST_F(AttachTest, KeepsTheLegacyFileWhenTheListCannotBeMoved) {
    const std::string settings = "[Options]\r\nMode=2\r\n", legacy = "one\r\n";
    for (const char* failing : {"ReplaceFile", "ReadFile"}) {
        dir.Write("bkQuorvel.ini", settings);
        dir.Write("quorvels.dat", legacy);
        // Only the legacy file's read fails: the settings file is read first.
        int reads = 0;
        platform.fault = [&](std::string_view op) {
            if (op == failing && (op != "ReadFile" || ++reads == 3))
                throw FileError("x", "injected");
        };
        EXPECT_TRUE(plugin.Attach()) << failing;
        EXPECT_EQ(plugin.Defaults().mode, 2) << failing;
        EXPECT_EQ(TempDir::Read(dir.Join("quorvels.dat")), legacy) << failing;
        EXPECT_EQ(TempDir::Read(Ini()), settings) << failing;
    }
}

// Each field is cut to 79 bytes and terminated, whatever it held before.
TEST(PlugInInfo, FieldsAreCutToFitAndTerminated) {
    for (std::size_t length : {0u, 1u, 79u, 80u, 200u}) {
        char field[kInfoFieldSize + 1];
        std::memset(field, 'x', sizeof field);
        WriteInfoField(field, std::string(length, 'a'));
        EXPECT_EQ(std::string(field), std::string(std::min<std::size_t>(length, 79), 'a'))
            << length;
        EXPECT_EQ(field[kInfoFieldSize], 'x') << length;  // nothing past the field
    }
}

}  // namespace
}  // namespace bk
