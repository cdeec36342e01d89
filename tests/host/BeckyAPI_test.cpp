// Binding the host's entry points through a fake export table that counts lookups.
#include "host/BeckyAPI.h"

#include <gtest/gtest.h>

#include "platform/portable/PortablePlatform.h"

namespace bk {
namespace {

constexpr ModuleHandle kHost = 0x400000;

ProcAddress FakeAddress(int i) {
    return reinterpret_cast<ProcAddress>(static_cast<std::uintptr_t>(0x10000 + 16 * i));
}

class BindTest : public ::testing::Test {
protected:
    BindTest() {
        platform.SetHostModule(kHost);
        for (int i = 0; i < kHostEntryPointCount; ++i)
            platform.SetExport(TBeckyAPI::SlotName(i), FakeAddress(i));
    }
    PortablePlatform platform;
    TBeckyAPI api{platform};
};

TEST_F(BindTest, BindsAllFiftyFourInLoadOrder) {
    ASSERT_TRUE(api.Bind());
    EXPECT_EQ(api.HostModule(), kHost);
    EXPECT_EQ(platform.ExportLookups(), 54);
    for (int i = 0; i < kHostEntryPointCount; ++i) EXPECT_EQ(api.Slot(i), FakeAddress(i)) << i;
    // Typed slots sit under their own names.
    EXPECT_EQ(reinterpret_cast<ProcAddress>(api.BKA_RegisterCommand), FakeAddress(3));
    EXPECT_EQ(reinterpret_cast<ProcAddress>(api.BKA_CompSetText), FakeAddress(37));
    EXPECT_EQ(reinterpret_cast<ProcAddress>(api.BKA_Connect), FakeAddress(53));
}

TEST_F(BindTest, SecondBindLooksNothingUp) {
    ASSERT_TRUE(api.Bind());
    ASSERT_TRUE(api.Bind());
    EXPECT_EQ(platform.ExportLookups(), 54);
}

struct MissingCase {
    const char* name;
    int lookups;  // lookups made before Bind gives up
};

class MissingEntryTest : public BindTest, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingEntryTest, StopsAtTheMissingNameAndStaysUnbound) {
    const MissingCase c = GetParam();
    platform.RemoveExport(c.name);
    EXPECT_FALSE(api.Bind());
    EXPECT_EQ(api.HostModule(), 0u);
    EXPECT_EQ(platform.ExportLookups(), c.lookups);
    for (int i = 0; i < kHostEntryPointCount; ++i) {
        // Slots before the missing name are filled; the rest stay null.
        if (i < c.lookups - 1)
            EXPECT_EQ(api.Slot(i), FakeAddress(i)) << i;
        else
            EXPECT_EQ(api.Slot(i), nullptr) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Names, MissingEntryTest,
                         ::testing::Values(MissingCase{"BKA_GetVersion", 1},
                                           MissingCase{"BKA_GetDataFolder", 6},
                                           MissingCase{"BKA_QPConvert", 51},
                                           MissingCase{"BKA_Connect", 54}));

TEST_F(BindTest, BindAfterAFailureStartsAgainFromTheFirstName) {
    platform.RemoveExport("BKA_Connect");
    ASSERT_FALSE(api.Bind());
    platform.SetExport("BKA_Connect", FakeAddress(53));
    ASSERT_TRUE(api.Bind());
    EXPECT_EQ(platform.ExportLookups(), 54 + 54);
    EXPECT_EQ(api.Slot(53), FakeAddress(53));
}

TEST_F(BindTest, ModuleHandlesBelowThirtyTwoAreRefusedWithoutLookups) {
    for (ModuleHandle h : {ModuleHandle{0}, ModuleHandle{1}, ModuleHandle{31}}) {
        platform.SetHostModule(h);
        EXPECT_FALSE(api.Bind()) << h;
        EXPECT_EQ(api.HostModule(), 0u);
    }
    EXPECT_EQ(platform.ExportLookups(), 0);
    platform.SetHostModule(32);  // the smallest real handle value
    EXPECT_TRUE(api.Bind());
}

}  // namespace
}  // namespace bk
