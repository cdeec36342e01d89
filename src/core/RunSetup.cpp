#include "core/RunSetup.h"

#include <stdexcept>
#include <unordered_map>

#include "dialogs/EditForm.h"
#include "settings/CommaText.h"
#include "settings/Schema.h"

namespace bk {
namespace {

constexpr const char* kDefaultFolderName = "(default)";

// The restricted list to store. A list chosen in the selection dialog is in
// the full form already. A list still as loaded is in the reader's form (one
// pair of quotes fewer than stored); stored like that, a first title's leading
// blanks or a last title's trailing blanks, or enclosing apostrophes, would be
// lost at the next read. So it goes back in the full form of the titles the
// picker reads from it, which for a list saved by the selection dialog is
// exactly the text that was in the file.
std::string SelectedSigsToStore(const TEditForm& form, const std::string& loaded,
                                const CodePage& codePage) {
    if (form.SelectedList != loaded || loaded.empty())
        return form.SelectedList;
    return JoinCommaText(SplitCommaText('"' + loaded + '"', codePage), codePage);
}

// Saves the dialog's values into `section` as one rewrite. Throws SettingsError
// (the file unchanged) when it can't.
void SaveSetup(Plugin& plugin, const IniFile& settings, const std::string& section,
               const TEditForm& form, const std::string& loadedSelection) {
    const int mode = form.GetMode();
    const int timing = form.TimingRadioGroup.itemIndex;
    IniBatch batch(settings);
    const CodePage& codePage = plugin.platform.AnsiCodePage();
    batch.WriteInteger(section, kModeKey, mode);
    batch.WriteInteger(section, kTimingKey, timing);
    batch.WriteString(section, kSelectedSigsKey,
                      SelectedSigsToStore(form, loadedSelection, codePage));
    if (mode == kModeOneLine)
        WriteOneLineList(batch, section, form.FortuneMemo.lines, SurplusEntries::Remove, codePage);
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
    form.SetMode(settings.ReadInteger(section, kModeKey, kModeUseDefault));
    form.TimingRadioGroup.Select(settings.ReadInteger(section, kTimingKey, plugin.defaultTiming));
    const std::string loadedSelection = settings.ReadString(section, kSelectedSigsKey, "");
    form.SelectedList = loadedSelection;
    form.FortuneMemo.lines = OneLineListLines(settings.ReadSection(OneLineListSection(section)),
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
