#include "core/Plugin.h"

#include <algorithm>
#include <cstring>

#include "core/PluginInfo.h"
#include "settings/TextLines.h"

namespace bk {

std::string SettingsPathFor(const std::string& moduleFileName) {
    return moduleFileName.substr(0, moduleFileName.rfind('.')) + ".ini";
}

void WriteInfoField(char* field, std::string_view text) {
    const std::size_t n = std::min<std::size_t>(text.size(), kInfoFieldSize - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

void FillPlugInInfo(char* record) {
    const char* fields[] = {BK_PLUGIN_NAME, BK_PLUGIN_VENDOR, BK_PLUGIN_VERSION,
                            BK_PLUGIN_DESCRIPTION};
    for (int i = 0; i < 4; ++i) WriteInfoField(record + i * kInfoFieldSize, fields[i]);
}

bool Plugin::Attach() noexcept {
    try {
        if (!host_.Bind())
            return false;
        settingsPath_ = SettingsPathFor(platform_.ModuleFileName());
    } catch (...) {
        return false;
    }
    // From here on nothing refuses the load: a plug-in that can't read its
    // settings works with the defaults, and refusing would lock the user out
    // of it at every start until the file was mended by hand.
    try {
        const IniFile settings = Settings();
        defaults_.mode = settings.ReadInteger(kDefaultSection, kModeKey, kFallbackDefaultMode);
        defaults_.timing =
            settings.ReadInteger(kDefaultSection, kTimingKey, kFallbackDefaultTiming);
    } catch (...) {
    }
    MigrateLegacyList();
    try {
        random_.SetSeed(Random::SeedFrom(platform_.NowUtc()));
    } catch (...) {
    }  // the generator keeps its fixed starting seed
    return true;
}

// A one-line list kept in the old list file moves into "OptionsOneliner" once,
// in one rewrite, and only then is the old file deleted. Whatever goes wrong
// leaves the old file for the next start and the settings file as it was;
// entries beyond the new count that were in the section stay untouched.
void Plugin::MigrateLegacyList() noexcept {
    try {
        // A double-byte character's second byte may look like "\" and is not one.
        const CodePage& cp = platform_.AnsiCodePage();
        std::string legacyPath = settingsPath_.substr(0, cp.FindLastSeparator(settingsPath_) + 1);
        legacyPath += kLegacyListFileName;
        if (!platform_.FileExists(legacyPath))
            return;
        // Every line is kept: a NUL byte is dropped rather than taken for the end.
        const std::vector<std::string> lines =
            SplitLines(platform_.ReadFile(legacyPath), NulByte::Dropped);
        const IniFile settings = Settings();
        IniBatch batch(settings);
        WriteOneLineList(batch, kDefaultSection, lines, SurplusEntries::Keep, cp);
        batch.Commit();
        platform_.DeleteFile(legacyPath);  // a failure only means migrating again next time
    } catch (...) {
    }
}

}  // namespace bk
