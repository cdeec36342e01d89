#pragma once
// A stand-in for the mail client that hosts the plug-in: just enough of a host
// to load bkQuorvel.dll and drive it the way the real one does.
//
// The host's state and its eleven entry points are HostModel's; HostSim gives
// each compose window a real top-level window (so that hiding one is
// observable). The program that links this exports the 54 BKA_ entry points
// (HostExports.cpp and a .def file); the eleven the plug-in calls work on the
// last host model made (HostModel::Current()). Everything runs on one thread, the thread
// that created the object.

#include "platform/win32/WindowsApi.h"

#include <string>
#include <utility>
#include <vector>

#include "HostModel.h"

namespace hostsim {

class HostSim : public HostModel {
public:
    HostSim();
    ~HostSim();

    // Opens a compose window (visible) with the given headers and body.
    HWND OpenCompose(const std::vector<std::pair<std::string, std::string>>& headers,
                     const std::string& body);
    void CloseCompose(HWND window);
    bool IsVisible(HWND window) const;

private:
    std::vector<HWND> windows_;
};

}  // namespace hostsim
