#pragma once
// The plug-in's process-wide values, created at attach and released at detach
// (destruction). Every host callback works on the one Plugin object; nothing
// else lives longer than the callback that creates it.

#include <memory>
#include <string>
#include <vector>

#include "core/Random.h"
#include "dialogs/FormHost.h"
#include "host/BeckyAPI.h"
#include "platform/Platform.h"
#include "settings/Schema.h"

namespace bk {

inline constexpr const char* kNoSignatureMessage =
    "No signature file found.\r\nThe mail is going to be sent as is.";

class Plugin {
public:
    explicit Plugin(Platform& os) : platform(os) {}
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // Binds the host, derives the settings path, caches the default mode and
    // timing, migrates a legacy one-line list and seeds the generator. False
    // when the host lacks an entry point or the module's own file name can't
    // be had (the library must then refuse to load); a settings or legacy list
    // file that can't be read or stored never makes it false.
    bool Attach() noexcept;

    Platform& platform;
    std::unique_ptr<TBeckyAPI> api;
    std::string settingsPath;
    int defaultMode = kFallbackDefaultMode;
    int defaultTiming = kFallbackDefaultTiming;
    std::string noSignatureMessage;
    std::vector<std::string> legacyList;  // scratch for the migration only
    Random random;
    FormHost* forms = nullptr;  // shows the dialogs; set by whoever creates the Plugin

private:
    void MigrateLegacyList() noexcept;
};

// Runs `work` on `plugin` and returns its result; returns `fallback` when
// there is no plug-in (null: not attached) or when `work` throws anything at
// all. Every host callback runs its work through this, so that nothing
// unwinds into the host.
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
// (name, vendor, version, description), each written NUL-terminated.
inline constexpr int kInfoFieldSize = 80;
void FillPlugInInfo(char* record);

// The settings file of a module: its path with everything from the last "."
// on replaced by ".ini" (".ini" appended when there is no "."). The last dot
// of the whole path counts, even one in a directory name.
std::string SettingsPathFor(const std::string& moduleFileName);

}  // namespace bk
