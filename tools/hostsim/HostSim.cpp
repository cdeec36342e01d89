#include "HostSim.h"

#include <algorithm>
#include <cstring>

namespace hostsim {
namespace {

HostSim* g_current = nullptr;
const char kWindowClass[] = "bkQuorvelHostSimCompose";

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && _strnicmp(a.c_str(), b.c_str(), a.size()) == 0;
}

void RegisterWindowClassOnce() {
    static bool done = false;
    if (done)
        return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    done = true;
}

}  // namespace

HostSim::HostSim() {
    g_current = this;
}

HostSim::~HostSim() {
    for (auto& w : windows_) DestroyWindow(w.window);
    if (g_current == this)
        g_current = nullptr;
}

HostSim* HostSim::Current() {
    return g_current;
}

HWND HostSim::OpenCompose(const std::vector<std::pair<std::string, std::string>>& headers,
                          const std::string& body) {
    RegisterWindowClassOnce();
    HWND window = CreateWindowA(kWindowClass, "Compose", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                320, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ComposeWindow w;
    w.window = window;
    w.headers = headers;
    w.body = body;
    windows_.push_back(std::move(w));
    return window;
}

void HostSim::CloseCompose(HWND window) {
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [&](const ComposeWindow& w) { return w.window == window; });
    if (it == windows_.end())
        return;
    DestroyWindow(it->window);
    windows_.erase(it);
}

ComposeWindow* HostSim::Find(HWND window) {
    for (auto& w : windows_)
        if (w.window == window)
            return &w;
    return nullptr;
}

bool HostSim::IsVisible(HWND window) const {
    return IsWindowVisible(window) != FALSE;
}

std::string HostSim::Header(HWND window, const std::string& name) {
    if (ComposeWindow* w = Find(window))
        for (auto& [key, value] : w->headers)
            if (SameName(key, name))
                return value;
    return {};
}

bool HostSim::HasHeader(HWND window, const std::string& name) {
    if (ComposeWindow* w = Find(window))
        for (auto& header : w->headers)
            if (SameName(header.first, name))
                return true;
    return false;
}

std::string HostSim::Source(HWND window) {
    ComposeWindow* w = Find(window);
    if (!w)
        return {};
    std::string source;
    for (auto& [key, value] : w->headers) source += key + ": " + value + "\r\n";
    source += "\r\n";
    source += w->body;
    return source;
}

char* HostSim::Hand(std::string text) {
    handed_ = std::move(text);
    return handed_.data();
}

char* HostSim::GetDataFolder() {
    ++calls["BKA_GetDataFolder"];
    return Hand(dataFolder);
}

char* HostSim::GetCurrentMailBox() {
    ++calls["BKA_GetCurrentMailBox"];
    return Hand(currentMailbox);
}

char* HostSim::GetCurrentFolder() {
    ++calls["BKA_GetCurrentFolder"];
    return Hand(currentFolder);
}

char* HostSim::GetFolderDisplayName(const char* folder) {
    ++calls["BKA_GetFolderDisplayName"];
    auto it = displayNames.find(folder ? folder : "");
    return Hand(it != displayNames.end() ? it->second : std::string(folder ? folder : ""));
}

int HostSim::RegisterCommand(const char* text, int menuType, CommandCallback callback) {
    ++calls["BKA_RegisterCommand"];
    RegisteredCommand c;
    c.text = text ? text : "";
    c.menuType = menuType;
    c.callback = callback;
    c.id = nextCommandId_++;
    commands.push_back(c);
    return c.id;
}

int HostSim::RegisterUICallback(int id, UICallback callback) {
    ++calls["BKA_RegisterUICallback"];
    for (auto& c : commands)
        if (c.id == id)
            c.uiCallback = callback;
    return 0;
}

int HostSim::CompGetSpecifiedHeader(HWND window, const char* header, char* buffer, int size) {
    ++calls["BKA_CompGetSpecifiedHeader"];
    if (!buffer || size < 0)
        return 0;
    std::string value = Header(window, header ? header : "");
    std::size_t n = std::min<std::size_t>(value.size(), static_cast<std::size_t>(size));
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

int HostSim::CompSetSpecifiedHeader(HWND window, const char* header, const char* value) {
    ++calls["BKA_CompSetSpecifiedHeader"];
    ComposeWindow* w = Find(window);
    if (!w || !header)
        return 0;
    auto& hs = w->headers;
    auto it =
        std::find_if(hs.begin(), hs.end(), [&](auto& h) { return SameName(h.first, header); });
    if (!value) {
        if (it != hs.end())
            hs.erase(it);
    } else if (it != hs.end()) {
        it->second = value;
    } else {
        hs.emplace_back(header, value);
    }
    return 1;
}

int HostSim::CompSetText(HWND window, int /*mode*/, const char* text) {
    ++calls["BKA_CompSetText"];
    ComposeWindow* w = Find(window);
    if (!w || !text)
        return 0;
    w->addedTexts.emplace_back(text);
    w->body += text;
    return 1;
}

char* HostSim::CompGetSource(HWND window) {
    ++calls["BKA_CompGetSource"];
    return Hand(Source(window));
}

int HostSim::CompSetSource(HWND window, const char* source) {
    ++calls["BKA_CompSetSource"];
    ComposeWindow* w = Find(window);
    if (!w || !source)
        return 0;
    std::string text = source;  // copy first: `source` may be our own handed-out buffer
    ++w->setSourceCalls;
    std::size_t end = text.find("\r\n\r\n");
    std::string head = end == std::string::npos ? text : text.substr(0, end + 2);
    w->body = end == std::string::npos ? std::string() : text.substr(end + 4);
    w->headers.clear();
    for (std::size_t pos = 0; pos < head.size();) {
        std::size_t eol = head.find("\r\n", pos);
        if (eol == std::string::npos)
            eol = head.size();
        std::string line = head.substr(pos, eol - pos);
        if (std::size_t colon = line.find(':'); colon != std::string::npos) {
            std::size_t v = colon + 1;
            if (v < line.size() && line[v] == ' ')
                ++v;
            w->headers.emplace_back(line.substr(0, colon), line.substr(v));
        }
        pos = eol + 2;
    }
    return 1;
}

}  // namespace hostsim
