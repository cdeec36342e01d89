#pragma once
// A stand-in for the mail client that hosts the plug-in: just enough of a host
// to load bkQuorvel.dll and drive it the way the real one does.
//
// It keeps a data folder, a current mailbox and folder, display names of
// folders, and compose windows: real top-level windows (so that hiding one is
// observable) holding a message's headers and text. The program that links
// this exports the 54 BKA_ entry points (HostExports.cpp and a .def file);
// the eleven the plug-in calls work on the one HostSim object made current.
// Everything runs on one thread, the thread that created the object.

#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/HostCalls.h"

namespace hostsim {

using bk::CommandCallback;
using bk::UICallback;

struct ComposeWindow {
    HWND window = nullptr;
    std::vector<std::pair<std::string, std::string>> headers;  // in message order
    std::string body;
    std::vector<std::string> addedTexts;  // each text BKA_CompSetText added, in order
    int setSourceCalls = 0;
};

struct RegisteredCommand {
    std::string text;
    int menuType = 0;
    CommandCallback callback = nullptr;
    int id = 0;
    UICallback uiCallback = nullptr;
};

class HostSim {
public:
    HostSim();
    ~HostSim();
    HostSim(const HostSim&) = delete;
    HostSim& operator=(const HostSim&) = delete;

    // The object the exported entry points work on (the last one made).
    static HostSim* Current();

    std::string dataFolder;      // ends in "\"
    std::string currentMailbox;  // relative to the data folder, ends in "\"
    std::string currentFolder;   // folder identifier: mailbox component, then the folder path
    std::map<std::string, std::string> displayNames;  // folder identifier -> display name

    // Opens a compose window (visible) with the given headers and body.
    HWND OpenCompose(const std::vector<std::pair<std::string, std::string>>& headers,
                     const std::string& body);
    void CloseCompose(HWND window);
    ComposeWindow* Find(HWND window);
    bool IsVisible(HWND window) const;
    // Header value, or empty when absent (name compared without regard to case).
    std::string Header(HWND window, const std::string& name);
    bool HasHeader(HWND window, const std::string& name);
    // The whole message as the host would deliver it.
    std::string Source(HWND window);

    std::vector<RegisteredCommand> commands;
    std::map<std::string, int> calls;  // entry point name -> number of calls

    // ---- the eleven entry points the plug-in calls ----
    char* GetDataFolder();
    char* GetCurrentMailBox();
    char* GetCurrentFolder();
    char* GetFolderDisplayName(const char* folder);
    int RegisterCommand(const char* text, int menuType, CommandCallback callback);
    int RegisterUICallback(int id, UICallback callback);
    int CompGetSpecifiedHeader(HWND window, const char* header, char* buffer, int size);
    int CompSetSpecifiedHeader(HWND window, const char* header, const char* value);
    int CompSetText(HWND window, int mode, const char* text);
    char* CompGetSource(HWND window);
    int CompSetSource(HWND window, const char* source);

private:
    char* Hand(std::string text);  // a text that stays valid until the next call

    std::vector<ComposeWindow> windows_;
    std::string handed_;
    int nextCommandId_ = 40001;
};

}  // namespace hostsim
