#pragma once
// The fair order of a setup with "NoRepeat" on: picks go in rounds. Within a
// round no entry comes twice; when every entry has come once a new round
// starts, and its first pick is never the last pick of the round before (when
// there are two entries or more). The choice among the entries not yet picked
// is uniform and costs one draw of the picker's generator.
//
// An entry is known by its identity text (mode 1: the file's long name, case
// folded; mode 2: the line's text with its position as the salt; mode 3: the
// title, case folded), hashed to 32 bits with the round's own key. Entries with
// the same identity are one entry (the first place counts). An entry that is
// gone drops out of the round; a new one joins it as not yet picked.
//
// The round is kept as text ("NoRepeatRound" of the setup's section):
//   1:<key>:<last>:<count>:<set>
// key: 8 hex digits, the hash key of this round (a new one each round);
// last: 8 hex digits, the last pick's hash ("-" before the first pick);
// count: how many entries of this round have been picked;
// set: their hashes, sorted, as a Golomb-Rice coded set of the differences
// (parameter from count), base64 without padding: 3.5 to 4.5 characters per
// picked entry, 17,672 at most for a 5,000-entry list.
//
// A source too large to hash whole at each pick (a quote file of thousands of
// quotes) has its round by place instead (ChoosePlace, TakePlace): entry i is
// the i-th of the source, whatever its text. Kept as
//   2:<count>:<last>:<set>
// count: how many places the round knows (a source that grew has its new
// places join as not yet picked; one that shrank drops the places past its end);
// last: the last pick's place ("-" before the first pick);
// set: one bit a place, set when picked, six places a base64 character, the
// first place the highest bit of the first: count / 6 characters, rounded up
// (16,667 for 100,000 places), whatever the point of the round.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FunctionRef.h"

namespace bk {

struct RoundEntry {
    std::string_view identity;
    std::uint32_t salt = 0;  // mode 2: position + 1, so that equal lines stay apart
};

class Round {
public:
    // Rounds with more entries than this are not kept: a list that long is a
    // damaged count, and the picker then picks as without the fair order.
    static constexpr std::size_t kMaxEntries = 1u << 20;

    // A round as ToText stored it; any other text (empty, damaged, another
    // version, not exactly as ToText writes it) is a fresh round.
    static Round FromText(std::string_view stored);
    std::string ToText() const;

    // An index below n (n >= 1), from the picker's generator.
    using Draw = FunctionRef<std::uint32_t(std::uint32_t)>;
    // Whether entry i can be added now (mode 3: its file is there); one that
    // can't is no entry of the round and another is drawn.
    using Usable = FunctionRef<bool(std::size_t)>;

    // The next pick among `entries` (in list order): an index into them, or
    // none when no entry is usable. Draws once, and once more after each entry
    // found unusable. Nothing is recorded until Take.
    std::optional<std::size_t> Choose(std::span<const RoundEntry> entries, Draw draw,
                                      Usable usable);
    // Records the pick that Choose returned (same entries): it counts as picked
    // and is the last pick; a round that it completes makes way for the next.
    void Take(std::span<const RoundEntry> entries, std::size_t chosen);

    // Rounds by place hold at most this many places (a stored form of 32 KB).
    static constexpr std::size_t kMaxPlaces = 6u << 15;
    // The next pick among places 0 ... count - 1 (1 <= count <= kMaxPlaces), by
    // one draw, under the same rules as Choose; then TakePlace records it. A
    // round kept in the other form starts afresh.
    std::size_t ChoosePlace(std::size_t count, Draw draw);
    void TakePlace(std::size_t chosen);

private:
    std::uint32_t Id(const RoundEntry& entry) const;

    bool byPlace_ = false;
    std::vector<bool> places_;  // by place: picked or not

    std::uint32_t key_ = 0;
    std::optional<std::uint32_t> last_;
    std::vector<std::uint32_t> picked_;  // sorted, no two alike
    // Of the last Choose: the entries' hashes; the hashes with their positions,
    // sorted; what each position is now; whether it began a new round.
    enum : std::uint8_t { kNoEntry, kUnpicked, kPicked };
    std::vector<std::uint32_t> ids_;
    std::vector<std::uint64_t> byId_, scratch_;
    std::vector<std::uint8_t> state_;
    bool newRound_ = false;
};

}  // namespace bk
