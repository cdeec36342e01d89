#include "support/FakeHost.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace bk::test {

FakeHost* FakeHost::current = nullptr;

namespace {

std::string g_handed;  // the host's per-call text buffer

char* Hand(const std::string& s) {
    g_handed = s;
    return g_handed.data();
}
FakeHost& H() {
    return *FakeHost::current;
}
void Log(const char* name) {
    H().calls.emplace_back(name);
}

char* GetDataFolder() {
    Log("BKA_GetDataFolder");
    return Hand(H().dataFolder);
}
char* GetCurrentMailBox() {
    Log("BKA_GetCurrentMailBox");
    return Hand(H().currentMailbox);
}
char* GetCurrentFolder() {
    Log("BKA_GetCurrentFolder");
    return Hand(H().currentFolder);
}
char* GetFolderDisplayName(const char* folder) {
    Log("BKA_GetFolderDisplayName");
    auto it = H().displayNames.find(folder);
    return Hand(it == H().displayNames.end() ? folder : it->second);
}
int RegisterCommand(const char* text, int type, CommandCallback cb) {
    Log("BKA_RegisterCommand");
    H().commands.push_back({text, type, cb});
    return 100 + static_cast<int>(H().commands.size()) - 1;
}
int RegisterUICallback(int id, UICallback cb) {
    Log("BKA_RegisterUICallback");
    H().commands.at(static_cast<std::size_t>(id - 100)).ui = cb;
    return 0;
}
int CompGetSpecifiedHeader(WindowHandle w, const char* header, char* buffer, int size) {
    Log("BKA_CompGetSpecifiedHeader");
    auto& headers = H().windows[w].headers;
    auto it = headers.find(header);
    std::string value = it == headers.end() ? "" : it->second;
    std::size_t n = std::min(value.size(), static_cast<std::size_t>(size));
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}
int CompSetSpecifiedHeader(WindowHandle w, const char* header, const char* value) {
    Log("BKA_CompSetSpecifiedHeader");
    if (value)
        H().windows[w].headers[header] = value;
    else
        H().windows[w].headers.erase(header);
    return 1;
}
int CompSetText(WindowHandle w, int mode, const char* text) {
    Log("BKA_CompSetText");
    if (mode != 1)
        throw std::logic_error("CompSetText expects mode 1");
    FakeWindow& window = H().windows[w];
    window.texts.emplace_back(text);
    auto& hidden = H().platform->hiddenWindows;
    window.hiddenWhenTextCame = std::find(hidden.begin(), hidden.end(), w) != hidden.end();
    return 1;
}
char* CompGetSource(WindowHandle w) {
    Log("BKA_CompGetSource");
    return Hand("Subject: test\r\n\r\nbody of " +
                std::to_string(reinterpret_cast<std::uintptr_t>(w)));
}
int CompSetSource(WindowHandle w, const char* source) {
    Log("BKA_CompSetSource");
    if (std::string(source).find("Subject: test") == 0)
        ++H().windows[w].sourceRoundTrips;
    return 1;
}
void Unused() {}

}  // namespace

FakeHost::FakeHost() {
    current = this;
}
FakeHost::~FakeHost() {
    current = nullptr;
}

PluginFixture::PluginFixture() {
    host.platform = &platform;
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

std::string PluginFixture::WriteSignature(const std::string& name, const std::string& content) {
    return dir.Write(std::string("data/mbox/") + name, content);
}

WindowHandle PluginFixture::NewWindow() {
    auto w = reinterpret_cast<WindowHandle>(nextWindow_++);
    host.windows[w];
    return w;
}

void PluginFixture::Reseed(std::uint32_t seed) {
    const DefaultSetup defaults = plugin.Defaults();
    platform.SetClock({seed / 3600000, seed / 60000 % 60, seed / 1000 % 60, seed % 1000});
    if (!plugin.Attach() || plugin.Seed() != seed)
        throw std::runtime_error("reseeding failed");
    plugin.SetDefaults(defaults);
}

int PluginFixture::CallCount(const std::string& name) const {
    return static_cast<int>(std::count(host.calls.begin(), host.calls.end(), name));
}

}  // namespace bk::test
