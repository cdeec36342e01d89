#include "core/RunSetup.h"

#include <optional>
#include <stdexcept>

#include "dialogs/EditForm.h"
#include "settings/CommaText.h"
#include "settings/IniEncoding.h"
#include "settings/Schema.h"

namespace bk {
namespace {

constexpr const char* kDefaultFolderName = "(default)";

// The restricted list as the dialogs take it: the full form of the titles the
// picker reads from the stored value (empty stays empty). The stored value may
// be in either form, and the full form of some lists is the reader's form of
// others (`","` is both), so the dialogs only ever see the full form; it is
// also what an Ok stores, so a first title's leading blanks, a last title's
// trailing blanks or enclosing apostrophes survive the next read.
std::string SelectedListOf(const std::string& stored, const CodePage& codePage) {
    if (stored.empty())
        return stored;
    return JoinCommaText(SplitCommaText('"' + stored + '"', codePage), codePage);
}

// Saves the dialog's values into `section` as one rewrite. Throws SettingsError
// (the file unchanged) when it can't.
void SaveSetup(Plugin& plugin, const IniFile& settings, const std::string& section,
               const TEditForm& form) {
    const int mode = form.GetMode();
    const int timing = form.TimingRadioGroup.itemIndex;
    IniBatch batch(settings);
    const CodePage& codePage = plugin.platform.AnsiCodePage();
    batch.WriteInteger(section, kModeKey, mode);
    batch.WriteInteger(section, kTimingKey, timing);
    // A list that comes back as the dialog was given it goes back as the file
    // has it, so that titles the system code page can't show are not lost.
    std::string stored = batch.ReadStoredString(section, kSelectedSigsKey, "");
    if (batch.HoldsUnicode() &&
        form.SelectedList == SelectedListOf(batch.Shown(stored), codePage))
        batch.WriteStoredString(section, kSelectedSigsKey,
                                SelectedListOf(stored, UnicodeFileCodePage()));
    else
        batch.WriteString(section, kSelectedSigsKey, form.SelectedList);
    if (mode == kModeOneLine)
        WriteOneLineList(batch, section, form.FortuneMemo.lines, SurplusEntries::Remove, codePage);
    batch.Commit();
}

}  // namespace

void RunSetup(Plugin& plugin, bool defaultSetup) {
    if (!plugin.forms || !plugin.api)
        throw std::logic_error("RunSetup: the plug-in is not ready");
    TBeckyAPI& api = *plugin.api;
    Platform& platform = plugin.platform;
    const IniFile settings(platform, plugin.settingsPath);
    // Everything the dialog shows comes from one read of the file. A file that
    // is there but can't be read (locked for a moment, no access) is not shown
    // as defaults, which an Ok would store over the user's setup.
    std::optional<IniBatch> loaded;
    std::string loadError;
    try {
        loaded.emplace(settings);
        loadError = loaded->LoadError();
    } catch (const std::exception& e) {
        loadError = e.what();
    }
    if (!loadError.empty()) {
        platform.ShowError("The settings could not be read.\r\n" + loadError);
        return;
    }
    TEditForm form(platform, *plugin.forms);

    std::string section;
    if (defaultSetup) {
        section = kDefaultSection;
        form.SetFolderName(kDefaultFolderName);
    } else {
        section = HostText(api.BKA_GetCurrentFolder());
        form.SetFolderName(HostText(api.BKA_GetFolderDisplayName(section.c_str())));
    }
    form.SetDefaultSetup(defaultSetup);
    // Without a stored mode, the default setup shows the mode the plug-in
    // really uses then (so that an untouched Ok keeps it); a folder's setup
    // follows the default setup.
    const int modeDefault = defaultSetup ? plugin.defaultMode : kModeUseDefault;
    form.SetMode(loaded->ReadInteger(section, kModeKey, modeDefault));
    form.TimingRadioGroup.Select(loaded->ReadInteger(section, kTimingKey, plugin.defaultTiming));
    form.SelectedList =
        SelectedListOf(loaded->ReadString(section, kSelectedSigsKey, ""), platform.AnsiCodePage());
    form.FortuneMemo.lines =
        OneLineListLines(loaded->ReadSection(OneLineListSection(section)), platform.AnsiCodePage());
    loaded.reset();
    std::string mailbox = HostText(api.BKA_GetCurrentMailBox());
    form.MailboxPath = HostText(api.BKA_GetDataFolder()) + mailbox;

    if (plugin.forms->ShowModal(form) != ModalResult::Ok)
        return;

    try {
        SaveSetup(plugin, settings, section, form);
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
