#include "core/Plugin.h"

#include <algorithm>

#include "settings/IniFile.h"

namespace bk {

std::string SettingsPathFor(const std::string& moduleFileName) {
    std::string path = moduleFileName;
    if (auto dot = path.rfind('.'); dot != std::string::npos) path.erase(dot);
    return path + ".ini";
}

std::vector<std::string> SplitLegacyLines(std::string_view content) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // a line has started and not yet ended
    for (std::size_t i = 0; i < content.size(); ++i) {
        char c = content[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        } else {
            open = true;
            if (c != '\0') line += c;
        }
    }
    if (open) lines.push_back(std::move(line));
    return lines;
}

bool Plugin::Attach() noexcept {
    try {
        api = std::make_unique<TBeckyAPI>(platform);
        if (!api->Bind()) return false;

        settingsPath = SettingsPathFor(platform.ModuleFileName());

        IniFile settings(platform, settingsPath);
        defaultMode = settings.ReadInteger("Options", "Mode", 1);
        defaultTiming = settings.ReadInteger("Options", "SigAddTiming", 1);

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

    legacyList = SplitLegacyLines(platform.ReadFile(legacyPath));
    IniFile settings(platform, settingsPath);
    IniBatch batch(settings);
    for (std::size_t i = 0; i < legacyList.size(); ++i)
        batch.WriteString("OptionsOneliner", "sig" + std::to_string(i), '"' + legacyList[i] + '"');
    batch.WriteInteger("Options", "OneLineCount", static_cast<int>(legacyList.size()));
    try {
        batch.Commit();
    } catch (const SettingsError&) {
        return;  // the list stays in the old file and migrates at the next start
    }
    platform.DeleteFile(legacyPath);  // a failure only means migrating again next time
}

}  // namespace bk
