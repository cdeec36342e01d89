#pragma once
// Which section supplies which value for a folder, decided here only, from one
// read of the settings file.

#include <optional>
#include <string>
#include <string_view>

#include "host/BeckyAPI.h"
#include "platform/CodePage.h"
#include "settings/IniFile.h"
#include "settings/Schema.h"

namespace bk {

// The default setup as the running plug-in uses it.
struct DefaultSetup {
    int mode = kFallbackDefaultMode;
    int timing = kFallbackDefaultTiming;
};

struct EffectiveSetup {
    int timing = kFallbackDefaultTiming;  // always the folder's own section's
    // The section of the setup that adds the text (its mode, "NoRepeat" and
    // round, "SelectedSigs", the one-line list): the folder's own when its mode
    // is there and not -1, else "Options" (with the running default's mode, not
    // the file's). Views the folder given to ResolveSetup, or a constant.
    std::string_view section;
    int mode = kModeNone;
    bool noRepeat = false;

    // For "Options" the host's current mailbox (BKA_GetCurrentMailBox, then
    // BKA_GetDataFolder), else FolderMailboxDirectory (BKA_GetDataFolder).
    std::optional<std::string> MailboxDirectory(TBeckyAPI& api, const CodePage& codePage) const;
};

// `folder`: the folder's identifier; empty means the default setup.
EffectiveSetup ResolveSetup(const IniSnapshot& settings, std::string_view folder,
                            const DefaultSetup& defaults);

// The mailbox directory for a folder section: the data folder followed by the
// section's first component (up to and including the first "\" that is a
// character of its own in `codePage`), or by nothing when it has no "\". None
// when that component could lead out of the data folder (a name of dots and
// blanks only, a drive, a "/"): the section name may come from a message
// header, which is not to be trusted with paths.
std::optional<std::string> FolderMailboxDirectory(std::string_view dataFolder,
                                                  std::string_view section,
                                                  const CodePage& codePage);

}  // namespace bk
