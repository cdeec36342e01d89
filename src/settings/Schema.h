#pragma once
// What the settings file holds, named once for everything that reads or writes it:
//   [Options] (the default setup) or [<folder identifier>] (one folder's own):
//     Mode=<mode>  SigAddTiming=<timing>  SelectedSigs=<comma text>  OneLineCount=<n>
//     NoRepeat=<0|1>  NoRepeatRound=<the fair order's round, see Round.h>
//   [OptionsOneliner] or [<folder identifier>Oneliner]: sig0="<line>" … sig<n-1>="<line>"
// Names compare without regard to letter case ("OnelineCount" is "OneLineCount").

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "settings/SettingsTypes.h"

namespace bk {

class IniBatch;
class IniSnapshot;

inline constexpr std::string_view kDefaultSection = "Options";
inline constexpr std::string_view kModeKey = "Mode";
inline constexpr std::string_view kTimingKey = "SigAddTiming";
inline constexpr std::string_view kSelectedSigsKey = "SelectedSigs";
inline constexpr std::string_view kOneLineCountKey = "OneLineCount";
// Fair order: with a value other than 0, the section's picks go in rounds in
// which nothing comes twice. The round itself is kept in kRoundKey, which only
// the picker reads.
inline constexpr std::string_view kNoRepeatKey = "NoRepeat";
inline constexpr std::string_view kRoundKey = "NoRepeatRound";
inline bool NoRepeatFrom(int stored) {
    return stored != 0;
}

// Addition mode.
inline constexpr int kModeUseDefault = -1;  // a folder follows the default setup
inline constexpr int kModeNone = 0;
inline constexpr int kModeSignatureFile = 1;
inline constexpr int kModeOneLine = 2;
inline constexpr int kModeRestricted = 3;  // a signature named in "SelectedSigs"
inline constexpr int kModeQuoteFile = 4;   // a quote from the file named in "QuoteFile"

// The quote file of mode 4, as the user typed it; a relative path is taken
// from the folder of the settings file.
inline constexpr std::string_view kQuoteFileKey = "QuoteFile";

// Addition timing.
inline constexpr int kTimingCompose = 0;   // when the compose window opens
inline constexpr int kTimingDelivery = 1;  // when the message is about to be delivered

// The default setup when the file says nothing.
inline constexpr int kFallbackDefaultMode = kModeSignatureFile;
inline constexpr int kFallbackDefaultTiming = kTimingDelivery;

// The section holding the one-line list of setup section `section`.
std::string OneLineListSection(std::string_view section);
// Key of entry `index` of a one-line list: "sig" and the index in decimal.
std::string OneLineKey(std::size_t index);
// The index that `key` names as "sig" k (letter case ignored, k without
// leading zeros, at most ten digits), or -1 for any other key.
long long OneLineKeyIndex(std::string_view key, const CodePage& codePage);

// The lines the one-line list of setup section `section` shows for editing:
// IniSnapshot::ReadSectionValues of its list section, whatever the keys are
// named. Each carries where it was read, for WriteOneLineList.
std::vector<LoadedValue> OneLineListLines(const IniSnapshot& settings, std::string_view section);

// The first `count` entries of the one-line list of setup section `section`
// as the picker reads them by position: entry i is what a read of key "sig" i
// gives, empty when there is none. One pass over the list, one buffer.
class OneLineEntries {
public:
    OneLineEntries(const IniSnapshot& settings, std::string_view section, std::size_t count,
                   const CodePage& codePage);
    std::size_t size() const { return spans_.size(); }
    std::string_view operator[](std::size_t i) const {
        return std::string_view(text_).substr(spans_[i].first, spans_[i].second);
    }

private:
    std::string text_;
    std::vector<std::pair<std::size_t, std::size_t>> spans_;  // offset and size in text_
};

enum class SurplusEntries { Keep, Remove };
// Stores `lines` as the one-line list of `section`: entry i is line i in one
// pair of double quotes, then "OneLineCount" is the number of lines. Remove
// deletes the entries sig n … sig(old count - 1) of the list it replaces (only
// those that are there, so a damaged count costs nothing). `codePage` folds
// key names as reads do. `loaded`: the lines as OneLineListLines gave them, if
// they were; a line that shows as one of them keeps what the file held there
// (IniBatch::WriteString), wherever it moved (alike lines pair in order).
void WriteOneLineList(IniBatch& batch, std::string_view section,
                      const std::vector<std::string>& lines, SurplusEntries surplus,
                      const CodePage& codePage, const std::vector<LoadedValue>& loaded = {});

// The legacy one-line list file beside the module, moved into the default
// setup's list once.
inline constexpr std::string_view kLegacyListFileName = "quorvels.dat";

}  // namespace bk
