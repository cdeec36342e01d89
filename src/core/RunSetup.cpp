#include "core/RunSetup.h"

#include <cstdint>
#include <limits>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "core/Picker.h"
#include "dialogs/fortedit.h"
#include "settings/CommaText.h"

namespace bk {
namespace {

constexpr const char* kDefaultSection = "Options";
constexpr const char* kDefaultFolderName = "(default)";

// The index k of a key that names "sig" k (letter case ignored), k written
// without leading zeros; -1 for any other key.
long long SigKeyIndex(std::string_view key, const CodePage& codePage) {
    if (key.size() < 4 || key.size() > 13 || codePage.Fold(key.substr(0, 3)) != "SIG")
        return -1;
    std::string_view digits = key.substr(3);
    if (digits.size() > 1 && digits[0] == '0')
        return -1;
    long long k = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        k = k * 10 + (c - '0');
    }
    return k;
}

// Writes the memo's lines as sig0 … sig(n-1) and the new count, and removes the
// entries of the old list beyond the new one.
void WriteOneLineList(IniBatch& batch, const std::string& section,
                      const std::vector<std::string>& lines, const CodePage& codePage) {
    const std::string list = section + "Oneliner";
    const long long count = static_cast<long long>(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        batch.WriteString(list, "sig" + std::to_string(i), '"' + lines[i] + '"');

    // The old list's sig n … sig(old-1): only those that are there are
    // deleted, so that a damaged count costs nothing.
    const int oldCount = batch.ReadInteger(section, "OneLineCount", 0);
    std::set<long long> surplus;
    for (const IniEntry& entry : batch.ReadSection(list)) {
        long long k = SigKeyIndex(entry.key, codePage);
        if (k >= count && k < oldCount)
            surplus.insert(k);
    }
    for (long long k : surplus) batch.DeleteKey(list, "sig" + std::to_string(k));

    batch.WriteInteger(section, "OneLineCount", static_cast<int>(lines.size()));
}

// The restricted list to store. A list chosen in the selection dialog is in
// the full form already. A list still as loaded is in the reader's form (one
// pair of quotes fewer than stored); stored like that, a first title's leading
// blanks or a last title's trailing blanks, or enclosing apostrophes, would be
// lost at the next read. So it goes back in the full form of the titles the
// picker reads from it, which for a list saved by the selection dialog is
// exactly the text that was in the file.
std::string SelectedSigsToStore(const TEditForm& form, const std::string& loaded,
                                const CodePage& codePage) {
    if (form.SelectedList != loaded || loaded.empty()) return form.SelectedList;
    return JoinCommaText(SplitCommaText('"' + loaded + '"', codePage), codePage);
}

// Saves the dialog's values into `section` as one rewrite. Throws SettingsError
// (the file unchanged) when it can't.
void SaveSetup(Plugin& plugin, const IniFile& settings, const std::string& section,
               const TEditForm& form, const std::string& loadedSelection) {
    const int mode = form.GetMode();
    const int timing = form.TimingRadioGroup.itemIndex;
    IniBatch batch(settings);
    batch.WriteInteger(section, "Mode", mode);
    batch.WriteInteger(section, "SigAddTiming", timing);
    batch.WriteString(section, "SelectedSigs",
                      SelectedSigsToStore(form, loadedSelection, plugin.platform.AnsiCodePage()));
    if (mode == kModeOneLine)
        WriteOneLineList(batch, section, form.FortuneMemo.lines, plugin.platform.AnsiCodePage());
    batch.Commit();
}

}  // namespace

std::vector<std::string> OneLineListLines(const std::vector<IniEntry>& entries,
                                          const CodePage& codePage) {
    std::unordered_map<std::string, std::size_t> first;  // folded key -> entry
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto [it, added] = first.try_emplace(codePage.Fold(entries[i].key), i);
        lines.push_back(entries[it->second].value);
    }
    return lines;
}

void RunSetup(Plugin& plugin, bool defaultSetup) {
    if (!plugin.forms || !plugin.api)
        throw std::logic_error("RunSetup: the plug-in is not ready");
    TBeckyAPI& api = *plugin.api;
    const IniFile settings(plugin.platform, plugin.settingsPath);
    TEditForm form(plugin.platform, *plugin.forms);

    std::string section;
    if (defaultSetup) {
        section = kDefaultSection;
        form.SetFolderName(kDefaultFolderName);
    } else {
        section = HostText(api.BKA_GetCurrentFolder());
        form.SetFolderName(HostText(api.BKA_GetFolderDisplayName(section.c_str())));
    }
    form.SetDefaultSetup(defaultSetup);
    form.SetMode(settings.ReadInteger(section, "Mode", kModeUseDefault));
    form.TimingRadioGroup.Select(
        settings.ReadInteger(section, "SigAddTiming", plugin.defaultTiming));
    const std::string loadedSelection = settings.ReadString(section, "SelectedSigs", "");
    form.SelectedList = loadedSelection;
    form.FortuneMemo.lines = OneLineListLines(settings.ReadSection(section + "Oneliner"),
                                              plugin.platform.AnsiCodePage());
    std::string mailbox = HostText(api.BKA_GetCurrentMailBox());
    form.MailboxPath = HostText(api.BKA_GetDataFolder()) + mailbox;

    if (plugin.forms->ShowModal(form) != ModalResult::Ok)
        return;

    try {
        SaveSetup(plugin, settings, section, form, loadedSelection);
    } catch (const std::exception& e) {
        plugin.platform.ShowError(std::string("The settings could not be saved; the file is "
                                              "unchanged.\r\n") +
                                  e.what());
        return;
    }
    // Only what was stored becomes the running default.
    if (defaultSetup) {
        plugin.defaultMode = form.GetMode();
        plugin.defaultTiming = form.TimingRadioGroup.itemIndex;
    }
}

}  // namespace bk
