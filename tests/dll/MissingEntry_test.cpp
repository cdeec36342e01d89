// This program plays a host that lacks one of the 54 entry points
// (BKA_QPConvert, which the plug-in never calls): the DLL must refuse to load.
#include <gtest/gtest.h>
#include <windows.h>

#include "HostSim.h"
#include "support/LoadedPlugin.h"

namespace bk::test {
namespace {

TEST(MissingEntryPoint, LoaderRefusesThePlugin) {
    ASSERT_EQ(GetProcAddress(GetModuleHandleA(nullptr), "BKA_QPConvert"), nullptr);
    ASSERT_NE(GetProcAddress(GetModuleHandleA(nullptr), "BKA_Connect"), nullptr);
    hostsim::HostSim host;
    TempDir dir;
    std::string legacy = dir.Write("quorvels.dat", "line\r\n");
    LoadedPlugin plugin(dir);
    EXPECT_FALSE(plugin.Load());
    // Nothing was migrated: attach stopped at binding.
    EXPECT_EQ(TempDir::Read(legacy), "line\r\n");
    EXPECT_EQ(TempDir::Read(plugin.SettingsPath()), "<missing>");
}

}  // namespace
}  // namespace bk::test
