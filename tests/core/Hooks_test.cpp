// The compose and delivery hooks over the portable platform and a fake host.
#include "core/Hooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/Menu.h"
#include "support/FakeHost.h"

namespace bk::test {
namespace {

TEST(Outbox, IsTheOutboxFolderAndOneMoreCharacter) {
    struct {
        const char* folder;
        bool outbox;
    } cases[] = {
        {"mbox\\!!!!Outbox\\", true},
        {"x\\!!!!Outbox!", true},
        {"\\!!!!Outbox\\", true},
        {"mbox\\!!!!Outbox", false},
        {"mbox\\!!!!Outbox\\\\", false},
        {"mbox\\!!!!Outbox\\sub\\", false},
        {"mbox\\!!!!Outbox\\!!!!Outbox\\", false},  // the first occurrence counts
        {"mbox\\!!!!Inbox\\", false},
        {"mbox\\!!!!outbox\\", false},
        {"", false},
    };
    for (auto& c : cases) EXPECT_EQ(IsOutboxFolder(c.folder), c.outbox) << c.folder;
}

class HooksTest : public ::testing::Test, public PluginFixture {
protected:
    HooksTest() {
        WriteSignature("$$$00001Sig.txt", "-- sig");
        window = NewWindow();
    }
    std::string Marker() {
        return host.HasHeader(window, kMarkerHeader) ? host.Header(window, kMarkerHeader)
                                                     : "<none>";
    }
    WindowHandle window;
};

// The DLL's exports run their work through Guarded: whatever the work throws,
// the host gets the callback's answer and nothing unwinds into it.
TEST_F(HooksTest, AnExceptionInsideTheWorkNeverReachesTheHost) {
    WriteSettings("[Options]\r\nSigAddTiming=0\r\n");
    SetDefaultTiming(0);
    std::function<void()> throwers[] = {[] { throw FileError("x", "injected"); }, [] { throw 42; }};
    for (auto& thrower : throwers) {
        platform.fault = [&](std::string_view op) {
            if (op == "FindFiles")
                thrower();
        };
        WindowHandle w = NewWindow();
        EXPECT_EQ(Guarded(&plugin, 7, [&](Plugin& p) { return OnOpenCompose(p, w, 0); }), 7);
        EXPECT_TRUE(Texts(w).empty());
    }
    EXPECT_EQ(Guarded(nullptr, 5, [](Plugin&) { return 0; }), 5);  // not attached
}

TEST_F(HooksTest, TimingOneMarksAtOpeningAndAddsAtDelivery) {
    EXPECT_EQ(OnOpenCompose(plugin, window, 0), 0);
    EXPECT_EQ(Marker(), "mbox\\!!!!Inbox\\");
    EXPECT_TRUE(Texts(window).empty());
    EXPECT_EQ(OnOutgoing(plugin, window, 0), 0);
    EXPECT_EQ(Marker(), "<none>");
    EXPECT_EQ(Texts(window), std::vector<std::string>{"-- sig"});
    EXPECT_TRUE(Window(window).hiddenWhenTextCame);
}

TEST_F(HooksTest, TimingZeroAddsAtOpeningAndOnlyUnmarksAtDelivery) {
    SetDefaultTiming(0);
    OnOpenCompose(plugin, window, 0);
    EXPECT_EQ(Marker(), "mbox\\!!!!Inbox\\");
    EXPECT_EQ(Texts(window), std::vector<std::string>{"-- sig"});
    EXPECT_FALSE(Window(window).hiddenWhenTextCame);
    EXPECT_EQ(Window(window).setSourceCalls, 1);
    OnOutgoing(plugin, window, 0);
    EXPECT_EQ(Marker(), "<none>");
    EXPECT_EQ(Texts(window).size(), 1u);
}

TEST_F(HooksTest, OutboxMessagesAreNeverMarkedNorSigned) {
    SetDefaultTiming(0);
    host.currentFolder = "mbox\\!!!!Outbox\\";
    OnOpenCompose(plugin, window, 0);
    EXPECT_EQ(Marker(), "<none>");
    OnOutgoing(plugin, window, 0);
    EXPECT_TRUE(Texts(window).empty());
}

TEST_F(HooksTest, FolderTimingOverridesTheDefaultBothWays) {
    WriteSettings("[mbox\\!!!!Inbox\\]\r\nSigAddTiming=1\r\n[mbox\\late\\]\r\nSigAddTiming=0\r\n");
    SetDefaultTiming(0);
    OnOpenCompose(plugin, window, 0);
    EXPECT_TRUE(Texts(window).empty());
    OnOutgoing(plugin, window, 0);
    EXPECT_EQ(Texts(window).size(), 1u);

    SetDefaultTiming(1);
    host.currentFolder = "mbox\\late\\";
    WindowHandle other = NewWindow();
    OnOpenCompose(plugin, other, 0);
    EXPECT_EQ(Texts(other).size(), 1u);
}

TEST_F(HooksTest, DeliveryUsesTheFolderFromTheMarkerNotTheCurrentOne) {
    WriteSettings(
        "[mbox\\!!!!Inbox\\]\r\nMode=2\r\nOneLineCount=1\r\n"
        "[mbox\\!!!!Inbox\\Oneliner]\r\nsig0=\"inbox line\"\r\n");
    OnOpenCompose(plugin, window, 0);
    host.currentFolder = "mbox\\elsewhere\\";
    OnOutgoing(plugin, window, 0);
    EXPECT_EQ(Texts(window), std::vector<std::string>{"inbox line\r\n"});
}

// The host calls each hook makes, in order. The current folder is asked for
// at each use, as the host has always been called (the code says why). The
// settings file is read once at most.
TEST_F(HooksTest, EachHookMakesTheHostCallsItAlwaysMade) {
    WriteSettings("[Options]\r\n");
    using Calls = std::vector<std::string>;
    const Calls marked = {"BKA_CompGetSpecifiedHeader"};
    const Calls opening = {"BKA_CompGetSpecifiedHeader", "BKA_GetCurrentFolder",
                           "BKA_GetCurrentFolder", "BKA_CompSetSpecifiedHeader",
                           "BKA_GetCurrentFolder"};
    const Calls signature = {"BKA_GetCurrentMailBox", "BKA_GetDataFolder", "BKA_CompSetText"};
    const Calls source = {"BKA_CompGetSource", "BKA_CompSetSource"};
    auto join = [](std::initializer_list<Calls> parts) {
        Calls all;
        for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    auto open = [&](int composeMode, bool markedBefore) {
        return [=, this](WindowHandle w) {
            if (markedBefore)
                host.SetHeader(w, kMarkerHeader, "earlier\\folder\\");
            OnOpenCompose(plugin, w, composeMode);
        };
    };
    auto deliver = [&](bool markedBefore, int deliveryMode = 0) {
        return [=, this](WindowHandle w) {
            if (markedBefore)
                host.SetHeader(w, kMarkerHeader, "mbox\\!!!!Inbox\\");
            OnOutgoing(plugin, w, deliveryMode);
        };
    };
    struct {
        const char* hook;
        int mode, timing;
        std::function<void(WindowHandle)> call;
        Calls expected;
    } cases[] = {
        {"open, timing 1", 1, 1, open(0, false), opening},
        {"open, timing 0", 1, 0, open(0, false),
         join({opening, {"BKA_GetCurrentFolder"}, signature, source})},
        // The source goes back to the host even when nothing was added.
        {"open, timing 0, mode 0", 0, 0, open(0, false),
         join({opening, {"BKA_GetCurrentFolder"}, source})},
        {"open in compose mode 3", 1, 0, open(3, false), {}},
        {"open a message marked before", 1, 0, open(0, true), marked},
        {"deliver, timing 1", 1, 1, deliver(true),
         join({marked, {"BKA_CompSetSpecifiedHeader"}, signature})},
        {"deliver an unmarked message", 1, 1, deliver(false), marked},
        {"deliver in delivery mode 1", 1, 1, deliver(true, 1), {}},
        {"deliver in delivery mode -1", 1, 1, deliver(true, -1), {}},
        // A timing other than 0 and 1 marks and unmarks, and never adds.
        {"open, timing 5", 1, 5, open(0, false), opening},
        {"deliver, timing 5", 1, 5, deliver(true), join({marked, {"BKA_CompSetSpecifiedHeader"}})},
        {"menu state", 1, 1, [&](WindowHandle) { MenuItemState(plugin); },
         {"BKA_GetCurrentFolder", "BKA_GetCurrentFolder"}},
    };
    for (const auto& c : cases) {
        plugin.SetDefaults({c.mode, c.timing});
        WindowHandle w = NewWindow();
        host.calls.clear();
        int reads = 0;
        platform.fault = [&](std::string_view op) { reads += op == "ReadFile"; };
        c.call(w);
        EXPECT_EQ(host.calls, c.expected) << c.hook;
        EXPECT_LE(reads, 1) << c.hook;
        const auto added = std::count(c.expected.begin(), c.expected.end(), "BKA_CompSetText");
        EXPECT_EQ(static_cast<std::ptrdiff_t>(Texts(w).size()), added) << c.hook;
    }
}

// An entry point that answers a null text reads as an empty one: the hooks
// and the menu go on as with an empty answer.
TEST(HostText, ANullAnswerReadsAsEmpty) {
    PluginFixture f;
    char* (*none)() = []() -> char* { return nullptr; };
    for (const char* name : {"BKA_GetDataFolder", "BKA_GetCurrentMailBox", "BKA_GetCurrentFolder"})
        f.platform.SetExport(name, reinterpret_cast<ProcAddress>(none));
    char* (*noSource)(WindowHandle) = [](WindowHandle) -> char* { return nullptr; };
    f.platform.SetExport("BKA_CompGetSource", reinterpret_cast<ProcAddress>(noSource));
    Plugin plugin(f.platform, f.forms);
    ASSERT_TRUE(plugin.Attach());
    plugin.SetDefaults({kModeOneLine, kTimingCompose});
    f.WriteSettings("[Options]\r\nOneLineCount=1\r\n[OptionsOneliner]\r\nsig0=\"line\"\r\n");
    WindowHandle w = f.NewWindow();
    EXPECT_EQ(OnOpenCompose(plugin, w, 0), 0);
    EXPECT_EQ(f.Texts(w), std::vector<std::string>{"line\r\n"});
    EXPECT_EQ(MenuItemState(plugin), 0u);
}

TEST_F(HooksTest, LongAndOddMarkerValuesAreHandledSafely) {
    for (std::string value : {std::string(5000, 'x'), std::string("a\\b\r\n[Options]\\"),
                              std::string("\xFF\xFE\x81\\"), std::string("..\\..\\")}) {
        WindowHandle w = NewWindow();
        host.SetHeader(w, kMarkerHeader, value);
        EXPECT_EQ(OnOutgoing(plugin, w, 0), 0);
        EXPECT_FALSE(host.HasHeader(w, kMarkerHeader));
    }
}

}  // namespace
}  // namespace bk::test
