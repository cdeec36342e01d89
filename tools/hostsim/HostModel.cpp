#include "HostModel.h"

#include <algorithm>
#include <cstring>

namespace hostsim {
namespace {

HostModel* g_current = nullptr;

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Header names compare as ASCII without regard to case.
bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

}  // namespace

HostModel::HostModel() {
    g_current = this;
}

HostModel::~HostModel() {
    if (g_current == this)
        g_current = nullptr;
}

HostModel* HostModel::Current() {
    return g_current;
}

int HostModel::CallCount(const std::string& name) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

ComposeWindow& HostModel::AddCompose(WindowHandle window,
                                     std::vector<std::pair<std::string, std::string>> headers,
                                     std::string body) {
    ComposeWindow& w = windows_.emplace_back();
    w.window = window;
    w.headers = std::move(headers);
    w.body = std::move(body);
    return w;
}

void HostModel::RemoveCompose(WindowHandle window) {
    std::erase_if(windows_, [&](const ComposeWindow& w) { return w.window == window; });
}

ComposeWindow* HostModel::Find(WindowHandle window) {
    for (auto& w : windows_)
        if (w.window == window)
            return &w;
    return nullptr;
}

std::string HostModel::Header(WindowHandle window, const std::string& name) {
    if (ComposeWindow* w = Find(window))
        for (auto& [key, value] : w->headers)
            if (SameName(key, name))
                return value;
    return {};
}

bool HostModel::HasHeader(WindowHandle window, const std::string& name) {
    if (ComposeWindow* w = Find(window))
        for (auto& header : w->headers)
            if (SameName(header.first, name))
                return true;
    return false;
}

void HostModel::SetHeader(WindowHandle window, const std::string& name, const std::string& value) {
    CompSetSpecifiedHeader(window, name.c_str(), value.c_str());
    calls.pop_back();  // not a call of the plug-in's
}

std::string HostModel::Source(WindowHandle window) {
    ComposeWindow* w = Find(window);
    if (!w)
        return {};
    std::string source;
    for (auto& [key, value] : w->headers) source += key + ": " + value + "\r\n";
    source += "\r\n";
    source += w->body;
    return source;
}

char* HostModel::Hand(std::string text) {
    handed_ = std::move(text);
    return handed_.data();
}

char* HostModel::GetDataFolder() {
    calls.emplace_back("BKA_GetDataFolder");
    return Hand(dataFolder);
}

char* HostModel::GetCurrentMailBox() {
    calls.emplace_back("BKA_GetCurrentMailBox");
    return Hand(currentMailbox);
}

char* HostModel::GetCurrentFolder() {
    calls.emplace_back("BKA_GetCurrentFolder");
    return Hand(currentFolder);
}

char* HostModel::GetFolderDisplayName(const char* folder) {
    calls.emplace_back("BKA_GetFolderDisplayName");
    auto it = displayNames.find(folder ? folder : "");
    return Hand(it != displayNames.end() ? it->second : std::string(folder ? folder : ""));
}

int HostModel::RegisterCommand(const char* text, int menuType, CommandCallback callback) {
    calls.emplace_back("BKA_RegisterCommand");
    RegisteredCommand c;
    c.text = text ? text : "";
    c.menuType = menuType;
    c.callback = callback;
    c.id = nextCommandId_++;
    commands.push_back(c);
    return c.id;
}

int HostModel::RegisterUICallback(int id, UICallback callback) {
    calls.emplace_back("BKA_RegisterUICallback");
    for (auto& c : commands)
        if (c.id == id)
            c.uiCallback = callback;
    return 0;
}

int HostModel::CompGetSpecifiedHeader(WindowHandle window, const char* header, char* buffer,
                                      int size) {
    calls.emplace_back("BKA_CompGetSpecifiedHeader");
    if (!buffer || size < 0)
        return 0;
    std::string value = Header(window, header ? header : "");
    std::size_t n = std::min<std::size_t>(value.size(), static_cast<std::size_t>(size));
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

int HostModel::CompSetSpecifiedHeader(WindowHandle window, const char* header, const char* value) {
    calls.emplace_back("BKA_CompSetSpecifiedHeader");
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

int HostModel::CompSetText(WindowHandle window, int mode, const char* text) {
    calls.emplace_back("BKA_CompSetText");
    ComposeWindow* w = Find(window);
    if (!w || !text || mode != bk::kCompSetTextMode)
        return 0;
    w->addedTexts.emplace_back(text);
    w->hiddenWhenTextCame = isHidden(window);
    w->body += text;
    return 1;
}

char* HostModel::CompGetSource(WindowHandle window) {
    calls.emplace_back("BKA_CompGetSource");
    return Hand(Source(window));
}

int HostModel::CompSetSource(WindowHandle window, const char* source) {
    calls.emplace_back("BKA_CompSetSource");
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
