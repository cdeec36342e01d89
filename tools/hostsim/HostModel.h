#pragma once
// The host's side of the eleven entry points the plug-in calls, with no window
// system: a data folder, a current mailbox and folder, display names, compose
// windows (a message's headers and text each, by window handle) and the menu
// commands registered. The one model of the host for every test double: the
// native tests call it through plain functions, the stand-in host program
// (HostSim) through the same entry points, exported, and gives it real windows.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/HostCalls.h"

namespace hostsim {

using bk::CommandCallback;
using bk::UICallback;
using bk::WindowHandle;

struct ComposeWindow {
    WindowHandle window = nullptr;
    std::vector<std::pair<std::string, std::string>> headers;  // in message order
    std::string body;
    std::vector<std::string> addedTexts;  // each text BKA_CompSetText added, in order
    bool hiddenWhenTextCame = false;      // at the last text added
    int setSourceCalls = 0;
};

struct RegisteredCommand {
    std::string text;
    int menuType = 0;
    CommandCallback callback = nullptr;
    int id = 0;
    UICallback uiCallback = nullptr;
};

class HostModel {
public:
    HostModel();
    ~HostModel();
    HostModel(const HostModel&) = delete;
    HostModel& operator=(const HostModel&) = delete;

    // The model the entry points work on: the last one made (null once it is gone).
    static HostModel* Current();

    std::string dataFolder;      // ends in "\"
    std::string currentMailbox;  // relative to the data folder, ends in "\"
    std::string currentFolder;   // folder identifier: mailbox component, then the folder path
    std::map<std::string, std::string> displayNames;  // folder identifier -> display name
    std::vector<RegisteredCommand> commands;
    std::vector<std::string> calls;  // names of the entry points called, in order
    // Whether a window is hidden now (compose windows are shown unless told).
    std::function<bool(WindowHandle)> isHidden = [](WindowHandle) { return false; };

    int CallCount(const std::string& name) const;

    ComposeWindow& AddCompose(WindowHandle window,
                              std::vector<std::pair<std::string, std::string>> headers,
                              std::string body);
    void RemoveCompose(WindowHandle window);
    ComposeWindow* Find(WindowHandle window);
    // Header value, or empty when absent (names compared without regard to case).
    std::string Header(WindowHandle window, const std::string& name);
    bool HasHeader(WindowHandle window, const std::string& name);
    void SetHeader(WindowHandle window, const std::string& name, const std::string& value);
    // The whole message as the host would deliver it.
    std::string Source(WindowHandle window);

    // ---- the eleven entry points the plug-in calls ----
    char* GetDataFolder();
    char* GetCurrentMailBox();
    char* GetCurrentFolder();
    char* GetFolderDisplayName(const char* folder);
    int RegisterCommand(const char* text, int menuType, CommandCallback callback);
    int RegisterUICallback(int id, UICallback callback);
    int CompGetSpecifiedHeader(WindowHandle window, const char* header, char* buffer, int size);
    // A null value removes the header.
    int CompSetSpecifiedHeader(WindowHandle window, const char* header, const char* value);
    // Adds `text` in the mode the plug-in uses (bk::kCompSetTextMode); other modes add nothing.
    int CompSetText(WindowHandle window, int mode, const char* text);
    char* CompGetSource(WindowHandle window);
    int CompSetSource(WindowHandle window, const char* source);

private:
    char* Hand(std::string text);  // a text that stays valid until the next call

    std::vector<ComposeWindow> windows_;
    std::string handed_;
    int nextCommandId_ = 40001;
};

// The 54 entry points (HostExports.cpp) by name, in load order.
struct HostEntryPoint {
    const char* name;
    bk::ProcAddress address;
};
extern const HostEntryPoint kHostEntryPoints[bk::kHostEntryPointCount];

}  // namespace hostsim
