#include "core/Picker.h"

#include <vector>

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

std::optional<std::string> PickSignatureFile(Plugin& plugin, const std::string& directory) {
    std::vector<FoundFile> files =
        plugin.GetPlatform().FindFiles(SignatureSearchPattern(directory));
    if (files.empty()) {
        plugin.GetPlatform().ShowWarning(kNoSignatureMessage);
        return std::nullopt;
    }
    const FoundFile& chosen = files[plugin.Draw(static_cast<std::uint32_t>(files.size()))];
    return ReadSignatureFile(plugin, directory, chosen);
}

std::optional<std::string> PickLine(Plugin& plugin, const IniFile& settings,
                                    const std::string& section) {
    int count = settings.ReadInteger(section, kOneLineCountKey, 0);
    if (count < 1)
        return std::nullopt;
    std::uint32_t index = plugin.Draw(static_cast<std::uint32_t>(count));
    // Every line ends with CR LF, however long it is.
    return settings.ReadString(OneLineListSection(section), OneLineKey(index), "") + "\r\n";
}

std::optional<std::string> PickRestricted(Plugin& plugin, const IniFile& settings,
                                          const std::string& section,
                                          const std::string& directory) {
    std::string stored = settings.ReadString(section, kSelectedSigsKey, "");
    std::vector<std::string> titles =
        SplitCommaText('"' + stored + '"', plugin.GetPlatform().AnsiCodePage());

    // A title without a file is dropped and another drawn, until one is found
    // or the last one has failed too.
    for (;;) {
        std::uint32_t index = plugin.Draw(static_cast<std::uint32_t>(titles.size()));
        std::vector<FoundFile> found =
            plugin.GetPlatform().FindFiles(SignatureTitlePattern(directory, titles[index]));
        if (!found.empty())
            return ReadSignatureFile(plugin, directory, found.front());
        if (titles.size() == 1)
            break;
        titles.erase(titles.begin() + index);
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
    const IniFile settings = plugin.Settings();

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

    std::optional<std::string> text;
    switch (mode) {
        case kModeSignatureFile:
        case kModeRestricted:
            if (!directory) {
                platform.ShowWarning(kNoSignatureMessage);
                return;
            }
            text = mode == kModeSignatureFile
                       ? PickSignatureFile(plugin, *directory)
                       : PickRestricted(plugin, settings, section, *directory);
            break;
        case kModeOneLine:
            text = PickLine(plugin, settings, section);
            break;
        default:
            return;  // an unknown mode adds nothing
    }
    if (!text)
        return;
    if (hide == HideWindow::First)
        platform.HideWindow(window);
    api.BKA_CompSetText(window, kCompSetTextMode, text->c_str());
}

}  // namespace bk
