#include "support/FakeHost.h"

#include <algorithm>
#include <stdexcept>

namespace bk::test {
namespace {

hostsim::HostModel* g_host = nullptr;  // the fixture's, while it lives

hostsim::HostModel& H() {
    return *g_host;
}
char* GetDataFolder() {
    return H().GetDataFolder();
}
char* GetCurrentMailBox() {
    return H().GetCurrentMailBox();
}
char* GetCurrentFolder() {
    return H().GetCurrentFolder();
}
char* GetFolderDisplayName(const char* folder) {
    return H().GetFolderDisplayName(folder);
}
int RegisterCommand(const char* text, int type, CommandCallback cb) {
    return H().RegisterCommand(text, type, cb);
}
int RegisterUICallback(int id, UICallback cb) {
    return H().RegisterUICallback(id, cb);
}
int CompGetSpecifiedHeader(WindowHandle w, const char* header, char* buffer, int size) {
    return H().CompGetSpecifiedHeader(w, header, buffer, size);
}
int CompSetSpecifiedHeader(WindowHandle w, const char* header, const char* value) {
    return H().CompSetSpecifiedHeader(w, header, value);
}
int CompSetText(WindowHandle w, int mode, const char* text) {
    return H().CompSetText(w, mode, text);
}
char* CompGetSource(WindowHandle w) {
    return H().CompGetSource(w);
}
int CompSetSource(WindowHandle w, const char* source) {
    return H().CompSetSource(w, source);
}
void Unused() {}

}  // namespace

PluginFixture::PluginFixture() {
    g_host = &host;
    host.isHidden = [this](WindowHandle w) {
        return std::count(platform.hiddenWindows.begin(), platform.hiddenWindows.end(), w) > 0;
    };
    host.dataFolder = dir.Join("data") + PathSeparator();
    host.currentMailbox = std::string("mbox") + PathSeparator();
    host.currentFolder = "mbox\\!!!!Inbox\\";
    platform.SetModuleFileName(dir.Join("bkQuorvel.dll"));
    platform.SetClock({12, 0, 0, 0});
    for (int i = 0; i < kHostEntryPointCount; ++i)
        platform.SetExport(TBeckyAPI::SlotName(i), &Unused);
    auto set = [&](const char* name, auto fn) {
        platform.SetExport(name, reinterpret_cast<ProcAddress>(fn));
    };
    set("BKA_GetDataFolder", &GetDataFolder);
    set("BKA_GetCurrentMailBox", &GetCurrentMailBox);
    set("BKA_GetCurrentFolder", &GetCurrentFolder);
    set("BKA_GetFolderDisplayName", &GetFolderDisplayName);
    set("BKA_RegisterCommand", &RegisterCommand);
    set("BKA_RegisterUICallback", &RegisterUICallback);
    set("BKA_CompGetSpecifiedHeader", &CompGetSpecifiedHeader);
    set("BKA_CompSetSpecifiedHeader", &CompSetSpecifiedHeader);
    set("BKA_CompSetText", &CompSetText);
    set("BKA_CompGetSource", &CompGetSource);
    set("BKA_CompSetSource", &CompSetSource);
    if (!plugin.Attach())
        throw std::runtime_error("attach failed");
}

PluginFixture::~PluginFixture() {
    if (g_host == &host)
        g_host = nullptr;
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
    if (!plugin.Attach() || plugin.Seed() != seed)
        throw std::runtime_error("reseeding failed");
    plugin.SetDefaults(defaults);
}

}  // namespace bk::test
