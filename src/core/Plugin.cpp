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
        noSignatureMessage = kNoSignatureMessage;
    } catch (...) {
        return false;
    }
    // From here on nothing refuses the load: a plug-in that can't read its
    // settings works with the defaults, and refusing would lock the user out
    // of it at every start until the file was mended by hand.
    try {
        IniFile settings(platform, settingsPath);
        defaultMode = settings.ReadInteger(kDefaultSection, kModeKey, kFallbackDefaultMode);
        defaultTiming = settings.ReadInteger(kDefaultSection, kTimingKey, kFallbackDefaultTiming);
    } catch (...) {
    }
    MigrateLegacyList();
    try {
        random.SetSeed(Random::SeedFrom(platform.NowUtc()));
    } catch (...) {
    }  // the generator keeps its fixed starting seed
    return true;
}

// A one-line list kept in the old list file moves into "OptionsOneliner" once.
// All keys land in one rewrite; only then is the old file deleted. Whatever
// goes wrong (the old file can't be read, its text can't be stored in this
// settings file, the rewrite fails) leaves the old file on disk for the next
// start and the settings file as it was; entries beyond the new count that
// were already in the section stay untouched.
void Plugin::MigrateLegacyList() noexcept {
    try {
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
        batch.Commit();
        platform.DeleteFile(legacyPath);  // a failure only means migrating again next time
    } catch (...) {
    }
}

}  // namespace bk
