#include "core/RunSetup.h"

#include <optional>

#include "dialogs/EditForm.h"
#include "settings/CommaText.h"
#include "settings/QuoteFile.h"
#include "settings/Schema.h"

namespace bk {
namespace {

constexpr const char* kDefaultFolderName = "(default)";

// The restricted list as the dialogs take it: the full form of the titles the
// picker reads from the stored value (empty stays empty). The stored value may
// be in either form, and some lists read alike in both (`","`), so the dialogs
// only ever see the full form; an Ok of a changed list stores it, so the
// titles' outer blanks and apostrophes survive the next read.
std::string SelectedListOf(const std::string& stored, const CodePage& codePage) {
    if (stored.empty())
        return stored;
    return JoinCommaText(SplitCommaText('"' + stored + '"', codePage), codePage);
}

// What the dialog was loaded from, beside what it shows: what the user did not
// change is written back as the file held it.
struct Loaded {
    std::string selectedSigs;  // the value a read gave
    std::vector<LoadedValue> lines;
    std::string quoteFile;  // the value a read gave
};

// Writes `shown` unless the user did not change it and the file still reads
// as loaded: the stored text is kept (a Unicode file's text may show otherwise
// in the code page), and a key that is missing and left empty stays missing,
// so a file that never used it is saved as before.
void WriteUnlessKept(IniBatch& batch, const std::string& section, std::string_view key,
                     const std::string& shown, const std::string& loaded) {
    if (shown != loaded || batch.ReadString(section, key, "") != loaded)
        batch.WriteString(section, key, shown);
}

// What the setup dialog says of the quote file that `typed` names: a relative
// path is taken from the folder of the settings file at `settingsPath`.
QuoteFileSummary SummarizeQuoteFile(Platform& platform, const std::string& settingsPath,
                                    const std::string& typed) {
    QuoteFileSummary summary;
    summary.path = QuoteFilePath(typed, settingsPath, platform.AnsiCodePage());
    QuoteFileLoad load = LoadQuoteFile(platform, summary.path);
    if (load.quotes)
        summary.quotes = load.quotes->size();
    else
        summary.reason = std::move(load.reason);
    return summary;
}

// Saves the dialog's values into `section` as one rewrite. Throws SettingsError
// (the file unchanged) when it can't. The fair order's switch is stored in
// every mode, as the timing is: a folder that follows the default setup keeps
// its own for later. Turning it off drops the picker's round, so that turning
// it on again starts a fresh one.
void SaveSetup(const IniFile& settings, const std::string& section, const TEditForm& form,
               const Loaded& loaded) {
    const int mode = form.GetMode();
    const CodePage& codePage = settings.GetPlatform().AnsiCodePage();
    IniBatch batch(settings);
    batch.WriteInteger(section, kModeKey, mode);
    batch.WriteInteger(section, kTimingKey, form.TimingRadioGroup.itemIndex);
    // A list the user did not change keeps its stored text, in whichever form
    // and encoding the file holds it, while the file still reads as loaded.
    const bool keepList = !loaded.selectedSigs.empty() &&
                          form.SelectedList == SelectedListOf(loaded.selectedSigs, codePage) &&
                          batch.ReadString(section, kSelectedSigsKey, "") == loaded.selectedSigs;
    if (!keepList)
        batch.WriteString(section, kSelectedSigsKey, form.SelectedList);
    WriteUnlessKept(batch, section, kQuoteFileKey, form.QuoteFileEdit.text, loaded.quoteFile);
    const bool noRepeat = form.NoRepeatCheckBox.checked;
    batch.WriteInteger(section, kNoRepeatKey, noRepeat ? 1 : 0);
    if (!noRepeat)
        batch.DeleteKey(section, kRoundKey);
    if (mode == kModeOneLine)
        WriteOneLineList(batch, section, form.FortuneMemo.lines, SurplusEntries::Remove, codePage,
                         loaded.lines);
    batch.Commit();
}

}  // namespace

void RunSetup(Plugin& plugin, SetupOf setup) {
    const bool defaultSetup = setup == SetupOf::Default;
    TBeckyAPI& api = plugin.Host();
    Platform& platform = plugin.GetPlatform();
    const IniFile settings = plugin.Settings();
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
    TEditForm form(platform, plugin.Forms());

    const std::string section =
        defaultSetup ? std::string(kDefaultSection) : HostText(api.BKA_GetCurrentFolder());
    form.SetFolderName(defaultSetup ? kDefaultFolderName
                                    : HostText(api.BKA_GetFolderDisplayName(section.c_str())));
    form.SetDefaultSetup(defaultSetup);
    // Without a stored mode, the default setup shows the mode the plug-in
    // really uses then (so that an untouched Ok keeps it); a folder's setup
    // follows the default setup.
    const DefaultSetup defaults = plugin.Defaults();
    form.SetMode(
        loaded->ReadInteger(section, kModeKey, defaultSetup ? defaults.mode : kModeUseDefault));
    form.TimingRadioGroup.Select(loaded->ReadInteger(section, kTimingKey, defaults.timing));
    Loaded was{loaded->ReadString(section, kSelectedSigsKey, ""),
               OneLineListLines(*loaded, section), loaded->ReadString(section, kQuoteFileKey, "")};
    form.SelectedList = SelectedListOf(was.selectedSigs, platform.AnsiCodePage());
    form.FortuneMemo.lines.reserve(was.lines.size());
    for (const LoadedValue& line : was.lines) form.FortuneMemo.lines.push_back(line.text);
    form.NoRepeatCheckBox.checked = NoRepeatFrom(loaded->ReadInteger(section, kNoRepeatKey, 0));
    loaded.reset();
    const std::string settingsPath = settings.Path();
    const std::size_t separator = platform.AnsiCodePage().FindLastSeparator(settingsPath);
    form.QuoteFolder = separator == std::string::npos ? "" : settingsPath.substr(0, separator);
    form.SummarizeQuoteFile = [&platform, settingsPath](const std::string& typed) {
        return SummarizeQuoteFile(platform, settingsPath, typed);
    };
    form.QuoteFileEdit.text = was.quoteFile;
    form.QuoteFileEditChange();
    std::string mailbox = HostText(api.BKA_GetCurrentMailBox());
    form.MailboxPath = HostText(api.BKA_GetDataFolder()) + mailbox;

    if (plugin.Forms().ShowModal(form) != ModalResult::Ok)
        return;

    try {
        SaveSetup(settings, section, form, was);
    } catch (const std::exception& e) {
        platform.ShowError(std::string("The settings could not be saved; the file is "
                                       "unchanged.\r\n") +
                           e.what());
        return;
    }
    // So does the round that memory holds since the last store.
    if (!form.NoRepeatCheckBox.checked)
        plugin.Rounds().Forget(section);
    // Only what was stored becomes the running default.
    if (defaultSetup)
        plugin.SetDefaults({form.GetMode(), form.TimingRadioGroup.itemIndex});
}

}  // namespace bk
