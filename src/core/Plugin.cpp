#include "core/Plugin.h"

#include <algorithm>

#include "settings/IniFile.h"
#include "settings/TextLines.h"

namespace bk {

std::string SettingsPathFor(const std::string& moduleFileName) {
    std::string path = moduleFileName;
    if (auto dot = path.rfind('.'); dot != std::string::npos) path.erase(dot);
    return path + ".ini";
}

bool Plugin::Attach() noexcept {
    try {
        api = std::make_unique<TBeckyAPI>(platform);
        if (!api->Bind()) return false;

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
    // The folder part ends at the last separator ("/" counts too on Windows); a
    // double-byte character's second byte may look like "\" and is not one.
    const CodePage& cp = platform.AnsiCodePage();
    std::size_t back = cp.FindLast(settingsPath, '\\'), slash = cp.FindLast(settingsPath, '/');
    std::size_t end = back == std::string::npos   ? slash
                      : slash == std::string::npos ? back
                                                   : std::max(back, slash);
    std::string legacyPath = settingsPath.substr(0, end + 1);
    legacyPath += kLegacyListFileName;
    if (!platform.FileExists(legacyPath)) return;

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
