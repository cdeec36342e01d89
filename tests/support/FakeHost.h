#pragma once
// The host for native tests of the core: the stand-in host's model and entry
// points (tools/hostsim: HostModel.h, HostExports.cpp), handed to the portable
// platform as the host's exports, plus a Plugin attached to it in a temporary
// directory, with a scripted user for its dialogs.

#include <string>
#include <vector>

#include "HostModel.h"
#include "core/Plugin.h"
#include "support/FaultyPlatform.h"
#include "support/ScriptedForms.h"
#include "support/TempDir.h"

namespace bk::test {

class PluginFixture {
public:
    PluginFixture();
    PluginFixture(const PluginFixture&) = delete;
    PluginFixture& operator=(const PluginFixture&) = delete;

    void WriteSettings(const std::string& ini) { dir.Write("bkQuorvel.ini", ini); }
    // A signature file in the data folder's mailbox "mbox\".
    std::string WriteSignature(const std::string& name, const std::string& content);
    std::string MailboxDir() const { return dir.Join("data") + PathSeparator() + "mbox"; }
    // A compose window with no headers and an empty body.
    WindowHandle NewWindow();
    hostsim::ComposeWindow& Window(WindowHandle w) { return *host.Find(w); }
    std::vector<std::string> Texts(WindowHandle w) { return Window(w).addedTexts; }
    int CallCount(const std::string& name) const { return host.CallCount(name); }
    // The running default setup, as a saved default setup sets it.
    void SetDefaultMode(int mode) { plugin.SetDefaults({mode, plugin.Defaults().timing}); }
    void SetDefaultTiming(int timing) { plugin.SetDefaults({plugin.Defaults().mode, timing}); }
    // Attaches again at the time of day whose milliseconds are `seed` (below a
    // day's), so that the generator starts from it; the default setup stays.
    void Reseed(std::uint32_t seed);

    TempDir dir;
    FaultyPlatform platform;  // a PortablePlatform whose calls a test can make fail
    hostsim::HostModel host;
    ScriptedForms forms;  // closes every dialog with Cancel unless a test scripts it
    Plugin plugin{platform, forms};

private:
    std::uintptr_t nextWindow_ = 0x1000;
};

}  // namespace bk::test
