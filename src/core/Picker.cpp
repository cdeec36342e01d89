#include "core/Picker.h"

#include <vector>

#include "core/Round.h"
#include "settings/CommaText.h"
#include "settings/IniFile.h"
#include "settings/Schema.h"
#include "settings/SignatureFiles.h"

namespace bk {
namespace {

// The second line of every message that a delivery goes on without a text.
std::string_view SentAsIs() {
    std::string_view message = kNoSignatureMessage;
    return message.substr(message.find("\r\n") + 2);
}

// The text of one signature file, from exactly as many bytes as the search
// found (SignatureText).
// A file that can't be read (gone, locked, shortened, a directory that matched
// the pattern) gives no text, and the user is told which file failed.
std::optional<std::string> ReadSignatureFile(Plugin& plugin, const std::string& directory,
                                             const FoundFile& file) {
    Platform& platform = plugin.GetPlatform();
    try {
        return SignatureText(platform.ReadFileExactly(directory + file.name, file.size), platform);
    } catch (const FileError& e) {
        platform.ShowWarning(std::string("The signature file could not be read.\r\n") + e.what() +
                             "\r\n" + std::string(SentAsIs()));
        return std::nullopt;
    }
}

// The fair order of one setup section, for one pick: the section's round as
// the plug-in holds it since its last pick there, or else as the file holds it.
// The pick goes into the plug-in's pending rounds; StoreRounds writes them.
class FairOrder {
public:
    // `settings`: the file as read for this pick.
    FairOrder(Plugin& plugin, const IniSnapshot& settings, const std::string& section)
        : plugin_(plugin), section_(section) {
        auto& pending = plugin.PendingRounds();
        if (auto kept = pending.find(section); kept != pending.end()) {
            round_ = &kept->second;
        } else {
            loaded_ = Round::FromText(settings.ReadString(section, kRoundKey, ""));
            round_ = &loaded_;
        }
    }

    // Round::Choose over `entries`, which must stay as they are until Take;
    // every entry is usable unless `usable` says otherwise.
    std::optional<std::size_t> Choose(std::span<const RoundEntry> entries) {
        auto any = [](std::size_t) { return true; };
        return Choose(entries, any);
    }
    std::optional<std::size_t> Choose(std::span<const RoundEntry> entries, Round::Usable usable) {
        entries_ = entries;
        auto draw = [this](std::uint32_t n) { return plugin_.Draw(n); };
        return round_->Choose(entries, draw, usable);
    }
    // Records the pick that was added.
    void Take(std::size_t chosen) {
        round_->Take(entries_, chosen);
        if (round_ == &loaded_)
            plugin_.PendingRounds().insert_or_assign(section_, std::move(loaded_));
    }

private:
    Plugin& plugin_;
    std::string section_;
    Round loaded_;
    Round* round_ = nullptr;
    std::span<const RoundEntry> entries_;
};

// Entries known by their names as the file system compares them (letter case
// folded), all in one buffer.
class FoldedNames {
public:
    // The names nameOf(0) ... nameOf(count - 1).
    FoldedNames(const CodePage& codePage, std::size_t count,
                FunctionRef<std::string_view(std::size_t)> nameOf) {
        std::vector<std::size_t> ends;
        for (std::size_t i = 0; i < count; ++i) {
            codePage.AppendFolded(text_, nameOf(i));
            ends.push_back(text_.size());
        }
        std::size_t start = 0;
        for (std::size_t end : ends) {
            entries_.push_back({std::string_view(text_).substr(start, end - start), 0});
            start = end;
        }
    }
    // Valid while this lives.
    const std::vector<RoundEntry>& Entries() const { return entries_; }

private:
    std::string text_;
    std::vector<RoundEntry> entries_;
};

std::optional<std::string> PickSignatureFile(Plugin& plugin, const std::string& directory,
                                             FairOrder* fair) {
    std::vector<FoundFile> files =
        plugin.GetPlatform().FindFiles(SignatureSearchPattern(directory));
    if (files.empty()) {
        plugin.GetPlatform().ShowWarning(kNoSignatureMessage);
        return std::nullopt;
    }
    if (!fair || files.size() > Round::kMaxEntries)
        return ReadSignatureFile(plugin, directory,
                                 files[plugin.Draw(static_cast<std::uint32_t>(files.size()))]);
    auto nameOf = [&](std::size_t i) -> std::string_view { return files[i].name; };
    const FoldedNames names(plugin.GetPlatform().AnsiCodePage(), files.size(), nameOf);
    const std::size_t chosen = *fair->Choose(names.Entries());
    std::optional<std::string> text = ReadSignatureFile(plugin, directory, files[chosen]);
    if (text)
        fair->Take(chosen);
    return text;
}

std::optional<std::string> PickLine(Plugin& plugin, const IniSnapshot& settings,
                                    const std::string& section, FairOrder* fair) {
    const int count = settings.ReadInteger(section, kOneLineCountKey, 0);
    if (count < 1)
        return std::nullopt;
    if (!fair || static_cast<std::size_t>(count) > Round::kMaxEntries) {
        std::uint32_t index = plugin.Draw(static_cast<std::uint32_t>(count));
        // Every line ends with CR LF, however long it is.
        return settings.ReadString(OneLineListSection(section), OneLineKey(index), "") + "\r\n";
    }
    // The lines as the plain pick reads them: a missing entry is an empty line.
    const OneLineEntries lines(settings, section, static_cast<std::size_t>(count),
                               plugin.GetPlatform().AnsiCodePage());
    std::vector<RoundEntry> entries(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        entries[i] = {lines[i], static_cast<std::uint32_t>(i + 1)};
    const std::size_t chosen = *fair->Choose(entries);
    fair->Take(chosen);
    return std::string(lines[chosen]) + "\r\n";
}

std::optional<std::string> PickRestricted(Plugin& plugin, const IniSnapshot& settings,
                                          const std::string& section, const std::string& directory,
                                          FairOrder* fair) {
    const CodePage& codePage = plugin.GetPlatform().AnsiCodePage();
    std::string stored = settings.ReadString(section, kSelectedSigsKey, "");
    std::vector<std::string> titles = SplitCommaText('"' + stored + '"', codePage);
    auto find = [&](const std::string& title) {
        return plugin.GetPlatform().FindFiles(SignatureTitlePattern(directory, title));
    };

    std::optional<FoundFile> file;
    if (fair) {
        // A title without a file is no entry of the round.
        auto titleOf = [&](std::size_t i) -> std::string_view { return titles[i]; };
        const FoldedNames folded(codePage, titles.size(), titleOf);
        auto usable = [&](std::size_t i) {
            std::vector<FoundFile> found = find(titles[i]);
            if (!found.empty())
                file = found.front();
            return !found.empty();
        };
        std::optional<std::size_t> chosen = fair->Choose(folded.Entries(), usable);
        if (chosen) {
            std::optional<std::string> text = ReadSignatureFile(plugin, directory, *file);
            if (text)
                fair->Take(*chosen);
            return text;
        }
    } else {
        // A title without a file is dropped and another drawn, until one is
        // found or the last one has failed too.
        for (;;) {
            std::uint32_t index = plugin.Draw(static_cast<std::uint32_t>(titles.size()));
            std::vector<FoundFile> found = find(titles[index]);
            if (!found.empty())
                return ReadSignatureFile(plugin, directory, found.front());
            if (titles.size() == 1)
                break;
            titles.erase(titles.begin() + index);
        }
    }
    plugin.GetPlatform().ShowWarning(kNoSignatureMessage);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FolderMailboxDirectory(std::string_view dataFolder,
                                                  std::string_view section,
                                                  const CodePage& codePage) {
    std::size_t slash = codePage.Find(section, '\\');
    std::string_view component =
        slash == std::string_view::npos ? std::string_view() : section.substr(0, slash + 1);
    std::string_view name = component.empty() ? component : component.substr(0, slash);
    // Windows drops trailing dots and blanks from a path component, so any name
    // made of dots and blanks only may mean "." or "..".
    bool dotsOnly = !name.empty() && name.find_first_not_of(". ") == std::string_view::npos;
    if (dotsOnly || name.find_first_of(":/") != std::string_view::npos)
        return std::nullopt;
    return std::string(dataFolder) + std::string(component);
}

void AddSignature(Plugin& plugin, WindowHandle window, std::string_view sectionText,
                  HideWindow hide) {
    TBeckyAPI& api = plugin.Host();
    Platform& platform = plugin.GetPlatform();
    // Every value of this pick comes from one read of the file.
    const IniSnapshot settings(plugin.Settings());

    std::string section(sectionText);
    int mode = kModeUseDefault;
    if (!section.empty())
        mode = settings.ReadInteger(section, kModeKey, kModeUseDefault);
    if (mode == kModeUseDefault) {
        section = kDefaultSection;
        mode = plugin.Defaults().mode;
    }
    if (mode == kModeNone)
        return;

    std::optional<std::string> directory;
    if (section == kDefaultSection) {
        std::string mailbox = HostText(api.BKA_GetCurrentMailBox());
        directory = HostText(api.BKA_GetDataFolder()) + mailbox;
    } else {
        directory = FolderMailboxDirectory(HostText(api.BKA_GetDataFolder()), section,
                                           platform.AnsiCodePage());
    }

    if (mode != kModeSignatureFile && mode != kModeOneLine && mode != kModeRestricted)
        return;  // an unknown mode adds nothing
    if (mode != kModeOneLine && !directory) {
        platform.ShowWarning(kNoSignatureMessage);
        return;
    }
    std::optional<FairOrder> fairOrder;
    if (NoRepeatFrom(settings.ReadInteger(section, kNoRepeatKey, 0)))
        fairOrder.emplace(plugin, settings, section);
    FairOrder* fair = fairOrder ? &*fairOrder : nullptr;

    std::optional<std::string> text =
        mode == kModeSignatureFile ? PickSignatureFile(plugin, *directory, fair)
        : mode == kModeOneLine     ? PickLine(plugin, settings, section, fair)
                                   : PickRestricted(plugin, settings, section, *directory, fair);
    if (!text)
        return;
    if (hide == HideWindow::First)
        platform.HideWindow(window);
    api.BKA_CompSetText(window, kCompSetTextMode, text->c_str());
}

void StoreRounds(Plugin& plugin) noexcept {
    auto& pending = plugin.PendingRounds();
    if (pending.empty())
        return;
    try {
        const IniFile settings = plugin.Settings();
        IniBatch batch(settings);
        std::vector<std::map<std::string, Round>::iterator> written;
        for (auto it = pending.begin(); it != pending.end(); ++it) {
            try {
                batch.WriteString(it->first, kRoundKey, it->second.ToText());
                written.push_back(it);
            } catch (const SettingsError&) {
            }  // a section name the file can't hold keeps its round in memory
        }
        batch.Commit();
        for (auto it : written) pending.erase(it);
    } catch (...) {
    }  // nothing stored: the rounds go on from memory, and the next call tries again
}

}  // namespace bk
