#pragma once
// A host for the dialog tests under Wine: this program plays the mail client
// (it exports the BKA_ entry points), has a main window, a data folder with the
// mailbox "mbox\" and loads the real bkQuorvel.dll. The setup runs on the main
// thread, as the host would run it; a helper thread plays the user.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "HostSim.h"
#include "dialogs/EditForm.h"
#include "dialogs/SelectSigForm.h"
#include "support/DialogUser.h"
#include "support/LoadedPlugin.h"
#include "support/TempDir.h"

namespace bk::test {

inline constexpr const char* kDefaultCaption = "Setup for the additional message - (default)";
inline constexpr const char* kFolderCaption = "Setup for the additional message - Inbox";
inline constexpr const char* kSelectCaption = "Select Signature";

// Identifiers of the dialogs' controls, by field name.
inline int EditId(const char* field) {
    return ControlIdOf(EditFormLayout(), field);
}
inline int SelectId(const char* field) {
    return ControlIdOf(SelectSigFormLayout(), field);
}

class DialogTest : public ::testing::Test {
protected:
    DialogTest();
    ~DialogTest() override;

    void WriteSettings(const std::string& ini);
    std::string WriteSignature(const std::string& name, const std::string& content);
    std::string SettingsPath() const { return plugin->SettingsPath(); }
    std::string SettingsText() const { return TempDir::Read(SettingsPath()); }
    std::string Profile(const char* section, const char* key) const;
    bool Load();  // loads the plug-in; false when it refuses

    // Runs the host's plug-in setup command on this thread while `user` plays
    // the dialogs; returns what the command answered.
    int RunDefaultSetup(const std::function<void(DialogUser&)>& user);
    // Runs the plug-in's menu command (the current folder's setup). False when
    // the plug-in registered no command.
    bool RunFolderSetup(const std::function<void(DialogUser&)>& user);

    hostsim::HostSim host;
    TempDir dir;
    HWND mainWindow = nullptr;
    std::unique_ptr<LoadedPlugin> plugin;

private:
    void Play(const std::function<void()>& call, const std::function<void(DialogUser&)>& user);
};

}  // namespace bk::test
