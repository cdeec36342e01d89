#include "core/Plugin.h"

#include <cstring>

#include "core/PluginInfo.h"
#include "settings/IniFile.h"
#include "settings/TextLines.h"

namespace bk {

std::string SettingsPathFor(const std::string& moduleFileName) {
    std::string path = moduleFileName;
    if (auto dot = path.rfind('.'); dot != std::string::npos)
        path.erase(dot);
    return path + ".ini";
}

void FillPlugInInfo(char* record) {
    const char* fields[] = {BK_PLUGIN_NAME, BK_PLUGIN_VENDOR, BK_PLUGIN_VERSION,
                            BK_PLUGIN_DESCRIPTION};
    for (int i = 0; i < 4; ++i) {
        char* field = record + i * kInfoFieldSize;
        std::size_t n = std::strlen(fields[i]);
        if (n > kInfoFieldSize - 1)
            n = kInfoFieldSize - 1;
        std::memcpy(field, fields[i], n);
        field[n] = '\0';
    }
}

bool Plugin::Attach() noexcept {
    try {
        api = std::make_unique<TBeckyAPI>(platform);
        if (!api->Bind())
            return false;

        settingsPath = SettingsPathFor(platform.ModuleFileName());

        IniFile settings(platform, settingsPath);
        defaultMode = settings.ReadInteger(kDefaultSection, kModeKey, kFallbackDefaultMode);
        defaultTiming = settings.ReadInteger(kDefaultSection, kTimingKey, kFallbackDefaultTiming);

        MigrateLegacyList();

        random.SetSeed(Random::SeedFrom(platform.NowUtc()));
        noSignatureMessage = kNoSignatureMessage;
        return true;
    } catch (...) {
        return false;
    }
}

// A one-line list kept in the old list file moves into "OptionsOneliner" once.
// All keys land in one rewrite; only then is the old file deleted, so a failed
// write leaves it on disk for the next start. Entries beyond the new count
// that were already in the section stay untouched.
void Plugin::MigrateLegacyList() {
    // A double-byte character's second byte may look like "\" and is not one.
    const CodePage& cp = platform.AnsiCodePage();
    std::string legacyPath = settingsPath.substr(0, cp.FindLastSeparator(settingsPath) + 1);
    legacyPath += kLegacyListFileName;
    if (!platform.FileExists(legacyPath))
        return;

    // Every line is kept: a NUL byte is dropped rather than taken for the end.
    legacyList = SplitLines(platform.ReadFile(legacyPath), NulByte::Dropped);
    IniFile settings(platform, settingsPath);
    IniBatch batch(settings);
    WriteOneLineList(batch, kDefaultSection, legacyList, SurplusEntries::Keep, cp);
    try {
        batch.Commit();
    } catch (const SettingsError&) {
        return;  // the list stays in the old file and migrates at the next start
    }
    platform.DeleteFile(legacyPath);  // a failure only means migrating again next time
}

}  // namespace bk
