#pragma once
// A host for native tests of the core: the eleven entry points the plug-in
// calls, as plain functions working on one FakeHost object, plus a Plugin
// attached to it over the portable platform in a temporary directory, with a
// scripted user for its dialogs.

#include <map>
#include <string>
#include <vector>

#include "core/Plugin.h"
#include "support/FaultyPlatform.h"
#include "support/ScriptedForms.h"
#include "support/TempDir.h"

namespace bk::test {

struct FakeWindow {
    std::map<std::string, std::string> headers;  // exact names; the plug-in uses one
    std::vector<std::string> texts;              // what BKA_CompSetText added
    bool hiddenWhenTextCame = false;
    int sourceRoundTrips = 0;
};

class FakeHost {
public:
    FakeHost();
    ~FakeHost();

    std::string dataFolder, currentMailbox, currentFolder;
    std::map<std::string, std::string> displayNames;
    std::map<WindowHandle, FakeWindow> windows;
    std::vector<std::string> calls;  // names of the entry points called, in order
    struct Command {
        std::string text;
        int menuType;
        CommandCallback callback;
        UICallback ui = nullptr;
    };
    std::vector<Command> commands;  // id = 100 + index

    PortablePlatform* platform = nullptr;  // to see whether a window was hidden
    static FakeHost* current;
};

// A temporary plug-in folder with a settings file path, a fake host, and the
// plug-in attached to both.
class PluginFixture {
public:
    PluginFixture();
    void WriteSettings(const std::string& ini) { dir.Write("bkQuorvel.ini", ini); }
    // A signature file in the data folder's mailbox "mbox\".
    std::string WriteSignature(const std::string& name, const std::string& content);
    std::string MailboxDir() const { return dir.Join("data") + PathSeparator() + "mbox"; }
    WindowHandle NewWindow();
    FakeWindow& Window(WindowHandle w) { return host.windows[w]; }
    std::vector<std::string> Texts(WindowHandle w) { return host.windows[w].texts; }
    int CallCount(const std::string& name) const;
    // The running default setup, as a saved default setup sets it.
    void SetDefaultMode(int mode) { plugin.SetDefaults({mode, plugin.Defaults().timing}); }
    void SetDefaultTiming(int timing) { plugin.SetDefaults({plugin.Defaults().mode, timing}); }
    // Attaches again at the time of day whose milliseconds are `seed` (below a
    // day's), so that the generator starts from it; the default setup stays.
    void Reseed(std::uint32_t seed);

    TempDir dir;
    FaultyPlatform platform;  // a PortablePlatform whose calls a test can make fail
    FakeHost host;
    ScriptedForms forms;  // closes every dialog with Cancel unless a test scripts it
    Plugin plugin{platform, forms};

private:
    std::uintptr_t nextWindow_ = 0x1000;
};

}  // namespace bk::test
