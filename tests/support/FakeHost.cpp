#include "support/FakeHost.h"

#include <algorithm>
#include <stdexcept>

namespace bk::test {

PluginFixture::PluginFixture() {
    host.isHidden = [this](WindowHandle w) {
        return std::count(platform.hiddenWindows.begin(), platform.hiddenWindows.end(), w) > 0;
    };
    host.dataFolder = dir.Join("data") + PathSeparator();
    host.currentMailbox = std::string("mbox") + PathSeparator();
    host.currentFolder = "mbox\\!!!!Inbox\\";
    platform.SetModuleFileName(dir.Join("bkQuorvel.dll"));
    platform.SetClock({12, 0, 0, 0});
    for (const hostsim::HostEntryPoint& entry : hostsim::kHostEntryPoints)
        platform.SetExport(entry.name, entry.address);
    if (!plugin.Attach())
        throw std::runtime_error("attach failed");
}

std::string PluginFixture::WriteSignature(const std::string& name, const std::string& content) {
    return dir.Write(std::string("data/mbox/") + name, content);
}

WindowHandle PluginFixture::NewWindow() {
    auto w = reinterpret_cast<WindowHandle>(nextWindow_++);
    host.AddCompose(w, {}, "");
    return w;
}

void PluginFixture::Reseed(std::uint32_t seed) {
    const DefaultSetup defaults = plugin.Defaults();
    platform.SetClock({seed / 3600000, seed / 60000 % 60, seed / 1000 % 60, seed % 1000});
    if (!plugin.Attach() || plugin.Generator().Seed() != seed)
        throw std::runtime_error("reseeding failed");
    plugin.SetDefaults(defaults);
}

}  // namespace bk::test
