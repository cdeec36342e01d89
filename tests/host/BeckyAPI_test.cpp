// Binding the host's entry points through a fake export table that counts lookups.
#include "host/BeckyAPI.h"

#include <gtest/gtest.h>

#include "platform/portable/PortablePlatform.h"

namespace bk {
namespace {

constexpr ModuleHandle kHost = 0x400000;

const char* const kNames[] = {
#define BK_BOUND(name) #name,
#define BK_CALLED(name, type) BK_BOUND(name)
#include "host/HostEntryPoints.inc"
#undef BK_CALLED
#undef BK_BOUND
};

ProcAddress FakeAddress(int i) {
    return reinterpret_cast<ProcAddress>(static_cast<std::uintptr_t>(0x10000 + 16 * i));
}

// Named slots spread over the load order, typed and untyped, at their index in it.
template <auto slot>
ProcAddress Read(const TBeckyAPI& api) {
    return reinterpret_cast<ProcAddress>(api.*slot);
}
struct Probe {
    int index;
    ProcAddress (*get)(const TBeckyAPI& api);
};
const Probe kProbes[] = {
    {0, Read<&TBeckyAPI::BKA_GetVersion>},         {3, Read<&TBeckyAPI::BKA_RegisterCommand>},
    {4, Read<&TBeckyAPI::BKA_RegisterUICallback>}, {5, Read<&TBeckyAPI::BKA_GetDataFolder>},
    {6, Read<&TBeckyAPI::BKA_GetTempFolder>},      {37, Read<&TBeckyAPI::BKA_CompSetText>},
    {49, Read<&TBeckyAPI::BKA_B64Convert>},        {50, Read<&TBeckyAPI::BKA_QPConvert>},
    {52, Read<&TBeckyAPI::BKA_SerializeRcpts>},    {53, Read<&TBeckyAPI::BKA_Connect>},
};

class BindTest : public ::testing::Test {
protected:
    BindTest() {
        platform.SetHostModule(kHost);
        for (int i = 0; i < kHostEntryPointCount; ++i)
            platform.SetExport(kNames[i], FakeAddress(i));
    }
    PortablePlatform platform;
    TBeckyAPI api{platform};
};

TEST_F(BindTest, BindsAllFiftyFourInLoadOrder) {
    ASSERT_TRUE(api.Bind());
    EXPECT_EQ(api.HostModule(), kHost);
    EXPECT_EQ(platform.ExportLookups(), 54);  // each name once
    for (const Probe& p : kProbes) EXPECT_EQ(p.get(api), FakeAddress(p.index)) << p.index;
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
    for (const Probe& p : kProbes) {
        // Slots before the missing name are filled; the rest stay null.
        if (p.index < c.lookups - 1)
            EXPECT_EQ(p.get(api), FakeAddress(p.index)) << p.index;
        else
            EXPECT_EQ(p.get(api), nullptr) << p.index;
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
    EXPECT_EQ(reinterpret_cast<ProcAddress>(api.BKA_Connect), FakeAddress(53));
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
