#pragma once
// The plug-in's process-wide state, made at attach and released at detach
// (destruction). Every host callback works on the one Plugin object; nothing
// else lives longer than the callback that creates it.

#include <string>
#include <string_view>

#include "core/Random.h"
#include "core/RoundStore.h"
#include "core/Setup.h"
#include "dialogs/FormHost.h"
#include "host/BeckyAPI.h"
#include "platform/Platform.h"
#include "settings/IniFile.h"

namespace bk {

class Plugin {
public:
    // `platform` reaches the system, `forms` shows the dialogs; both outlive the plug-in.
    Plugin(Platform& platform, FormHost& forms)
        : platform_(platform), forms_(forms), host_(platform), rounds_(platform) {}
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // Binds the host, derives the settings path, caches the default setup,
    // moves a legacy one-line list into the settings and seeds the generator.
    // False when the host lacks an entry point or the module's own file name
    // can't be had (the library must then refuse to load); a settings or legacy
    // list file that can't be read or stored never makes it false.
    bool Attach() noexcept;

    Platform& GetPlatform() const { return platform_; }
    FormHost& Forms() const { return forms_; }
    // The host's entry points: all bound once Attach has succeeded.
    TBeckyAPI& Host() { return host_; }
    // The settings file beside the module (known once Attach has succeeded).
    // An IniBatch refers to the IniFile it is made over: keep that in a local.
    IniFile Settings() const { return IniFile(platform_, settingsPath_); }

    // Read at attach; replaced when the user saves the default setup.
    const DefaultSetup& Defaults() const { return defaults_; }
    void SetDefaults(const DefaultSetup& defaults) { defaults_ = defaults; }

    // The picker's generator: one step per choice.
    Random& Generator() { return random_; }
    // The fair order's rounds not yet stored.
    RoundStore& Rounds() { return rounds_; }

private:
    void MigrateLegacyList() noexcept;

    Platform& platform_;
    FormHost& forms_;
    TBeckyAPI host_;
    std::string settingsPath_;
    DefaultSetup defaults_;
    Random random_;
    RoundStore rounds_;
};

// work(*plugin), or `fallback` when there is no plug-in (not attached) or when
// `work` throws anything at all. Every host callback runs its work through
// this, so that nothing unwinds into the host.
template <typename Work>
int Guarded(Plugin* plugin, int fallback, Work&& work) noexcept {
    if (!plugin)
        return fallback;
    try {
        return work(*plugin);
    } catch (...) {
        return fallback;
    }
}

// The record BKC_OnPlugInInfo fills: four text fields of kInfoFieldSize bytes
// (name, vendor, version, description), each written NUL-terminated and cut
// to fit.
inline constexpr int kInfoFieldSize = 80;
void FillPlugInInfo(char* record);
// One field of that record: `text`, cut to kInfoFieldSize - 1 bytes, and a NUL.
void WriteInfoField(char* field, std::string_view text);

// The settings file of a module: its path with everything from the last "."
// on replaced by ".ini" (".ini" appended when there is no "."). The last dot
// of the whole path counts, even one in a directory name.
std::string SettingsPathFor(const std::string& moduleFileName);

}  // namespace bk
