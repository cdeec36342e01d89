#include "core/Setup.h"

namespace bk {

EffectiveSetup ResolveSetup(const IniSnapshot& settings, std::string_view folder,
                            const DefaultSetup& defaults) {
    EffectiveSetup setup;
    setup.timing = settings.ReadInteger(folder, kTimingKey, defaults.timing);
    setup.section = folder;
    setup.mode =
        folder.empty() ? kModeUseDefault : settings.ReadInteger(folder, kModeKey, kModeUseDefault);
    if (setup.mode == kModeUseDefault) {
        setup.section = kDefaultSection;
        setup.mode = defaults.mode;
    }
    setup.noRepeat = NoRepeatFrom(settings.ReadInteger(setup.section, kNoRepeatKey, 0));
    return setup;
}

std::optional<std::string> EffectiveSetup::MailboxDirectory(TBeckyAPI& api,
                                                            const CodePage& codePage) const {
    if (section == kDefaultSection) {
        std::string mailbox = HostText(api.BKA_GetCurrentMailBox());
        return HostText(api.BKA_GetDataFolder()) + mailbox;
    }
    return FolderMailboxDirectory(HostText(api.BKA_GetDataFolder()), section, codePage);
}

std::optional<std::string> FolderMailboxDirectory(std::string_view dataFolder,
                                                  std::string_view section,
                                                  const CodePage& codePage) {
    const std::size_t slash = codePage.Find(section, '\\');
    const std::string_view component =
        section.substr(0, slash == std::string_view::npos ? 0 : slash + 1);
    const std::string_view name = component.substr(0, slash);
    // Windows drops trailing dots and blanks from a path component, so any name
    // made of dots and blanks only may mean "." or "..".
    bool dotsOnly = !name.empty() && name.find_first_not_of(". ") == std::string_view::npos;
    if (dotsOnly || name.find_first_of(":/") != std::string_view::npos)
        return std::nullopt;
    return std::string(dataFolder) + std::string(component);
}

}  // namespace bk
