#pragma once
// The signature picker: given a compose window and a settings section, adds
// the text that the section's addition mode chooses at random.

#include <optional>
#include <string>
#include <string_view>

#include "core/Plugin.h"

namespace bk {

// What the user is told when mode 1 or 3 finds no file to add.
inline constexpr const char* kNoSignatureMessage =
    "No signature file found.\r\nThe mail is going to be sent as is.";

// At delivery the compose window is hidden before the text goes in.
enum class HideWindow { No, First };

// Resolves the section's mode (a folder without a mode of its own follows the
// default setup), chooses the text and hands it to the host with
// BKA_CompSetText, hiding the window first when asked. Shows the
// no-signature message when mode 1 or 3 finds no file. A chosen file that
// can't be read adds nothing (the user is told why); nothing reaches the host
// then.
void AddSignature(Plugin& plugin, WindowHandle window, std::string_view section, HideWindow hide);

// Writes the fair-order rounds picked from since the last call into the
// settings file, in one replace, and forgets them. Picks only change rounds in
// memory, so that no delivery waits for the disk: this runs once a minute and
// when the client exits. A round that can't be written stays in memory, and
// the next call tries again; nobody is told.
void StoreRounds(Plugin& plugin) noexcept;

// The mailbox directory for a folder section: the data folder followed by the
// section's first component (up to and including the first "\" that is a
// character of its own in `codePage`), or by nothing
// when it has no "\". Empty optional when that component could lead out of the
// data folder (a name of dots and blanks only, a drive, a "/"): the section
// name may come from a message header, which is not to be trusted with paths.
std::optional<std::string> FolderMailboxDirectory(std::string_view dataFolder,
                                                  std::string_view section,
                                                  const CodePage& codePage);

}  // namespace bk
