#pragma once
// What the plug-in keeps in its settings file: the sections, the keys, the
// values of the addition mode and the addition timing, and how a one-line list
// is stored. Everything that reads or writes the file names things through
// here.
//
// Layout:
//   [Options]                 the default setup
//   [<folder identifier>]     one folder's own setup
//     Mode=<mode>  SigAddTiming=<timing>  SelectedSigs=<comma text>  OneLineCount=<n>
//   [OptionsOneliner], [<folder identifier>Oneliner]
//     sig0="<line>" ... sig<n-1>="<line>"
// Names compare without regard to letter case, so "OneLineCount" is also the
// key that a reader may spell "OnelineCount".

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"

namespace bk {

class IniBatch;

// ---- Sections ----
inline constexpr std::string_view kDefaultSection = "Options";
// The section holding the one-line list of setup section `section`.
std::string OneLineListSection(std::string_view section);

// ---- Keys of a setup section ----
inline constexpr std::string_view kModeKey = "Mode";
inline constexpr std::string_view kTimingKey = "SigAddTiming";
inline constexpr std::string_view kSelectedSigsKey = "SelectedSigs";
inline constexpr std::string_view kOneLineCountKey = "OneLineCount";

// ---- Addition mode (key "Mode") ----
inline constexpr int kModeUseDefault = -1;  // a folder follows the default setup
inline constexpr int kModeNone = 0;
inline constexpr int kModeSignatureFile = 1;  // a signature file of the mailbox
inline constexpr int kModeOneLine = 2;        // a line of the one-line list
inline constexpr int kModeRestricted = 3;     // a signature named in "SelectedSigs"

// ---- Addition timing (key "SigAddTiming") ----
inline constexpr int kTimingCompose = 0;   // when the compose window opens
inline constexpr int kTimingDelivery = 1;  // when the message is about to be delivered

// What the default setup means when the file says nothing.
inline constexpr int kFallbackDefaultMode = kModeSignatureFile;
inline constexpr int kFallbackDefaultTiming = kTimingDelivery;

// ---- The one-line list ----
// Key of entry `index`: "sig" and the index in decimal without leading zeros.
std::string OneLineKey(std::size_t index);
// The index that `key` names as "sig" k (letter case ignored, k in decimal
// without leading zeros, at most ten digits), or -1 for any other key.
long long OneLineKeyIndex(std::string_view key, const CodePage& codePage);

enum class SurplusEntries { Keep, Remove };
// Stores `lines` as the one-line list of setup section `section`: entry i is
// the line in one pair of double quotes, then "OneLineCount" is the number of
// lines. With SurplusEntries::Remove, the entries sig n … sig(old count - 1)
// of the list being replaced are deleted (only those that are there, so a
// damaged count costs nothing); with Keep they stay as they are.
// `codePage` folds the key names, as reads of the file do.
void WriteOneLineList(IniBatch& batch, std::string_view section,
                      const std::vector<std::string>& lines, SurplusEntries surplus,
                      const CodePage& codePage);

// The legacy one-line list file beside the module: one entry per line, moved
// into the default setup's list once.
inline constexpr std::string_view kLegacyListFileName = "quorvels.dat";

}  // namespace bk
