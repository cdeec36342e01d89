#include "core/Round.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <string>

namespace bk {
namespace {

// The stored forms' versions (their first field); any other reads as a fresh round.
constexpr std::string_view kVersion = "1";
constexpr std::string_view kPlaceVersion = "2";
constexpr std::string_view kBase64 =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::uint32_t Finish(std::uint32_t h) {
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h;
}

// MurmurHash3 (x86, 32 bits): fast on the 32-bit build, and well spread, which
// the coded set's size depends on.
std::uint32_t Hash(std::string_view text, std::uint32_t seed) {
    constexpr std::uint32_t c1 = 0xcc9e2d51u, c2 = 0x1b873593u;
    std::uint32_t h = seed;
    const char* p = text.data();
    const std::size_t blocks = text.size() / 4;
    for (std::size_t i = 0; i < blocks; ++i, p += 4) {
        std::uint32_t k;
        std::memcpy(&k, p, 4);  // little-endian on every target
        k = std::rotl(k * c1, 15) * c2;
        h = std::rotl(h ^ k, 13) * 5 + 0xe6546b64u;
    }
    std::uint32_t k = 0;  // the last 1 to 3 bytes, the first of them lowest
    for (std::size_t i = text.size() & 3; i > 0; --i)
        k = k << 8 | static_cast<std::uint8_t>(p[i - 1]);
    if (text.size() & 3)
        h ^= std::rotl(k * c1, 15) * c2;
    return Finish(h ^ static_cast<std::uint32_t>(text.size()));
}

// The Rice parameter for `count` values spread over 32 bits: about the
// logarithm of their mean distance.
int RiceBits(std::size_t count) {
    int k = 0;
    while (k < 31 && (static_cast<std::uint64_t>(count) << (k + 1)) <= (1ull << 32)) ++k;
    return k;
}

// The whole of `text` as a number in `base`, or none; in base 16 exactly 8 digits.
template <typename T>
std::optional<T> Whole(std::string_view text, int base) {
    T value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if ((base == 16 && text.size() != 8) || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Sorted distinct values as the differences between neighbours (the first
// from 0), each as a unary quotient and `k` remainder bits, six bits a character.
std::string EncodeSet(const std::vector<std::uint32_t>& values) {
    const int k = RiceBits(values.size());
    std::string out;
    std::uint64_t bits = 0;  // the lowest `held` bits are pending, oldest first
    int held = 0;
    auto put = [&](std::uint32_t value, int count) {  // count <= 32
        bits = bits << count | value;
        for (held += count; held >= 6; held -= 6) out += kBase64[bits >> (held - 6) & 63];
    };
    std::uint32_t previous = 0;
    for (std::uint32_t value : values) {
        const std::uint32_t gap = value - previous;
        previous = value;
        for (std::uint32_t q = gap >> k; q > 0; q -= std::min<std::uint32_t>(q, 31))
            put((1u << std::min<std::uint32_t>(q, 31)) - 1,
                static_cast<int>(std::min<std::uint32_t>(q, 31)));
        put(0, 1);
        put(gap & ((1u << k) - 1), k);
    }
    if (held > 0)
        out += kBase64[bits << (6 - held) & 63];
    return out;
}

std::optional<std::vector<std::uint32_t>> DecodeSet(std::string_view text, std::size_t count) {
    const int k = RiceBits(count);
    std::size_t at = 0;
    std::uint64_t bits = 0;  // the lowest `held` bits are unread, oldest first
    int held = 0;
    auto refill = [&](int wanted) {  // false when the text ends first or holds another character
        while (held < wanted) {
            if (at == text.size())
                return false;
            const std::size_t digit = kBase64.find(text[at++]);
            if (digit == std::string_view::npos)
                return false;
            bits = bits << 6 | static_cast<std::uint64_t>(digit);
            held += 6;
        }
        return true;
    };
    std::vector<std::uint32_t> values;
    values.reserve(count);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint64_t q = 0;
        for (;;) {
            if (!refill(1))
                return std::nullopt;
            if ((bits >> --held & 1) == 0)
                break;
            if (++q > (0xffffffffull >> k))
                return std::nullopt;
        }
        if (!refill(k))
            return std::nullopt;
        held -= k;
        const std::uint64_t gap = q << k | (bits >> held & ((1ull << k) - 1));
        if (i > 0 && gap == 0)
            return std::nullopt;  // two alike
        value += gap;
        if (value > 0xffffffffull)
            return std::nullopt;
        values.push_back(static_cast<std::uint32_t>(value));
    }
    // Only the last character's padding may follow, and it is zero.
    if (at != text.size() || held >= 6 || (bits & ((1ull << held) - 1)) != 0)
        return std::nullopt;
    return values;
}

// By the upper 32 bits, stably (the lower ones, positions, stay in order):
// four passes of a radix sort, linear in the 10,000 names of a large mailbox.
void SortById(std::vector<std::uint64_t>& values, std::vector<std::uint64_t>& other) {
    other.resize(values.size());
    for (int shift = 32; shift < 64; shift += 8) {
        std::size_t start[257] = {};
        for (std::uint64_t v : values) ++start[(v >> shift & 0xff) + 1];
        for (int b = 0; b < 256; ++b) start[b + 1] += start[b];
        for (std::uint64_t v : values) other[start[v >> shift & 0xff]++] = v;
        values.swap(other);
    }
}

// Exactly 8 lower-case hexadecimal digits.
std::string Hex8(std::uint32_t value) {
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = "0123456789abcdef"[value & 15];
    return out;
}

// The text up to the next ":" or the end; `text` goes on after that ":".
std::string_view NextField(std::string_view& text) {
    const std::size_t colon = text.find(':');
    std::string_view field = text.substr(0, colon);
    text.remove_prefix(colon == std::string_view::npos ? text.size() : colon + 1);
    return field;
}

// A round by place as ToText writes it, or none.
std::optional<std::vector<bool>> DecodePlaces(std::string_view count, std::string_view set) {
    const std::optional<std::size_t> n = Whole<std::size_t>(count, 10);
    if (!n || *n == 0 || *n > Round::kMaxPlaces || set.size() != (*n + 5) / 6)
        return std::nullopt;
    std::vector<bool> places(set.size() * 6);
    for (std::size_t c = 0; c < set.size(); ++c) {
        const std::size_t digit = kBase64.find(set[c]);
        if (digit == std::string_view::npos)
            return std::nullopt;
        for (std::size_t b = 0; b < 6; ++b) places[c * 6 + b] = (digit >> (5 - b) & 1) != 0;
    }
    for (std::size_t i = *n; i < places.size(); ++i)
        if (places[i])
            return std::nullopt;  // padding is zero
    places.resize(*n);
    return places;
}

}  // namespace

Round Round::FromText(std::string_view stored) {
    if (stored.substr(0, 2) == "2:") {
        std::string_view rest = stored.substr(2);
        const std::string_view count = NextField(rest), last = NextField(rest), set = rest;
        std::optional<std::vector<bool>> places = DecodePlaces(count, set);
        const std::optional<std::uint32_t> lastValue = Whole<std::uint32_t>(last, 10);
        if (!places || (last != "-" && (!lastValue || *lastValue >= places->size())) ||
            set.find(':') != std::string_view::npos)
            return Round();
        Round round;
        round.byPlace_ = true;
        round.places_ = std::move(*places);
        round.last_ = lastValue;
        return round;
    }
    const std::string_view version = NextField(stored), key = NextField(stored),
                           last = NextField(stored), count = NextField(stored), set = stored;
    const std::optional<std::size_t> n = Whole<std::size_t>(count, 10);
    const std::optional<std::uint32_t> keyValue = Whole<std::uint32_t>(key, 16),
                                       lastValue = Whole<std::uint32_t>(last, 16);
    if (version != kVersion || !keyValue || (!lastValue && last != "-") || !n || *n > kMaxEntries ||
        set.find(':') != std::string_view::npos)
        return Round();
    std::optional<std::vector<std::uint32_t>> picked = DecodeSet(set, *n);
    if (!picked)
        return Round();
    Round round;
    round.key_ = *keyValue;
    round.last_ = lastValue;
    round.picked_ = std::move(*picked);
    return round;
}

std::string Round::ToText() const {
    if (byPlace_) {
        std::string out = std::string(kPlaceVersion) + ":" + std::to_string(places_.size()) + ":" +
                          (last_ ? std::to_string(*last_) : "-") + ":";
        for (std::size_t i = 0; i < places_.size(); i += 6) {
            unsigned digit = 0;
            for (std::size_t b = 0; b < 6; ++b)
                digit = digit << 1 | (i + b < places_.size() && places_[i + b] ? 1u : 0u);
            out += kBase64[digit];
        }
        return out;
    }
    return std::string(kVersion) + ":" + Hex8(key_) + ":" + (last_ ? Hex8(*last_) : "-") + ":" +
           std::to_string(picked_.size()) + ":" + EncodeSet(picked_);
}

std::uint32_t Round::Id(const RoundEntry& entry) const {
    return Hash(entry.identity, key_ + entry.salt * 0x9e3779b9u);
}

std::optional<std::size_t> Round::Choose(std::span<const RoundEntry> entries, Draw draw,
                                         Usable usable) {
    if (byPlace_)
        *this = Round();
    const std::size_t n = entries.size();
    ids_.resize(n);
    byId_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        byId_[i] = static_cast<std::uint64_t>(ids_[i] = Id(entries[i])) << 32 | i;
    SortById(byId_, scratch_);
    // The first place of each hash is the entry; it is picked when the round
    // holds its hash (both lists are sorted, so one walk tells).
    state_.assign(n, kNoEntry);
    std::size_t entryCount = 0;
    auto picked = picked_.begin();
    for (std::size_t i = 0; i < n; ++i) {
        const auto id = static_cast<std::uint32_t>(byId_[i] >> 32);
        if (i > 0 && id == byId_[i - 1] >> 32)
            continue;
        while (picked != picked_.end() && *picked < id) ++picked;
        const bool isPicked = picked != picked_.end() && *picked == id;
        state_[static_cast<std::uint32_t>(byId_[i])] = isPicked ? kPicked : kUnpicked;
        ++entryCount;
    }

    newRound_ = false;
    std::vector<std::size_t> candidates;
    // A round starts with nothing picked (also right after the pick that
    // completed the one before), and then not with that round's last pick.
    auto fill = [&] {
        candidates.clear();
        const bool keepOffLast = (newRound_ || picked_.empty()) && last_ && entryCount >= 2;
        for (std::size_t i = 0; i < n; ++i)
            if ((state_[i] == kUnpicked || (newRound_ && state_[i] == kPicked)) &&
                !(keepOffLast && ids_[i] == *last_))
                candidates.push_back(i);
    };
    fill();
    for (;;) {
        if (candidates.empty()) {
            newRound_ = true;  // nothing unpicked is left (or usable)
            fill();
            if (candidates.empty())
                return std::nullopt;
        }
        const std::uint32_t at = draw(static_cast<std::uint32_t>(candidates.size()));
        const std::size_t chosen = candidates[at];
        if (usable(chosen))
            return chosen;
        candidates.erase(candidates.begin() + at);
        state_[chosen] = kNoEntry;
        --entryCount;
    }
}

void Round::Take(std::span<const RoundEntry> entries, std::size_t chosen) {
    // The picked entries that are still entries, in the order of their hashes.
    std::vector<std::uint32_t> kept;
    std::size_t entryCount = 0;
    for (std::uint64_t idAndPosition : byId_) {
        const auto position = static_cast<std::uint32_t>(idAndPosition);
        if (state_[position] == kNoEntry)
            continue;
        ++entryCount;
        if ((!newRound_ && state_[position] == kPicked) || position == chosen)
            kept.push_back(static_cast<std::uint32_t>(idAndPosition >> 32));
    }
    picked_ = std::move(kept);
    last_ = ids_[chosen];
    if (picked_.size() == entryCount) {
        // Complete: the next round hashes with a key of its own, so that two
        // entries whose hashes happen to meet in this one part in the next.
        key_ = Finish(key_ + 0x9e3779b9u);
        picked_.clear();
        last_ = Id(entries[chosen]);
    }
}

std::size_t Round::ChoosePlace(std::size_t count, Draw draw) {
    if (!byPlace_) {
        *this = Round();
        byPlace_ = true;
    }
    places_.resize(count, false);  // new places are not yet picked
    if (last_ && *last_ >= count)
        last_.reset();
    const auto picked = static_cast<std::size_t>(std::count(places_.begin(), places_.end(), true));
    newRound_ = picked == count;  // the places left were all picked: a source that shrank
    const bool keepOffLast = (newRound_ || picked == 0) && last_ && count >= 2;
    std::size_t candidates = newRound_ ? count : count - picked;
    if (keepOffLast)
        --candidates;
    std::uint32_t at = draw(static_cast<std::uint32_t>(candidates));
    for (std::size_t i = 0;; ++i) {
        if ((keepOffLast && i == *last_) || (!newRound_ && places_[i]))
            continue;
        if (at-- == 0)
            return i;
    }
}

void Round::TakePlace(std::size_t chosen) {
    if (newRound_)
        places_.assign(places_.size(), false);
    places_[chosen] = true;
    last_ = static_cast<std::uint32_t>(chosen);
    if (std::find(places_.begin(), places_.end(), false) == places_.end())
        places_.assign(places_.size(), false);  // complete: the next round begins
}

}  // namespace bk
