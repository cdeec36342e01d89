#include "core/Round.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Random.h"

namespace bk {
namespace {

struct Played {
    std::vector<std::string> names;
    std::vector<RoundEntry> entries;
    Round round;
    Random random;

    // `picks` picks of a round of `n` entries, from the generator's `seed`.
    Played(std::size_t n, std::size_t picks, std::uint32_t seed) : names(n), random(seed) {
        for (std::size_t i = 0; i < n; ++i) names[i] = "entry " + std::to_string(i);
        for (const std::string& name : names) entries.push_back({name, 0});
        for (std::size_t i = 0; i < picks; ++i) Next(round);
    }
    std::size_t Next(Round& r) {
        auto draw = [this](std::uint32_t n) { return random.Below(n); };
        auto any = [](std::size_t) { return true; };
        std::size_t chosen = *r.Choose(entries, draw, any);
        r.Take(entries, chosen);
        return chosen;
    }
};

// (That a stored round reads back as itself and goes on where it was: the
// fuzz target Round_fuzz, and the picker's restart in Picker_test.)
TEST(Round, TextThatDoesNotReadBackExactlyStartsAFreshRound) {
    const std::string fresh = Round().ToText();
    const std::string valid = Played(50, 3, 5).round.ToText();  // "1:<key>:<last>:3:<set>"
    const std::size_t set = valid.rfind(':') + 1;
    ASSERT_EQ(valid.substr(set - 2, 2), "3:");
    ASSERT_EQ(Round::FromText(valid).ToText(), valid);
    std::string zeroGaps = "1:00000000:-:3:AAA";  // three values of 0: two alike
    std::string tooMany = valid.substr(0, set - 2) + "4:" + valid.substr(set);
    // The set's 95 bits leave one bit of padding, the last character's lowest.
    ASSERT_EQ(valid.back(), 'Y');  // 011000
    std::string paddingSet = valid, lastGapChanged = valid;
    paddingSet.back() = 'Z';      // 011001
    lastGapChanged.back() = 'a';  // 011010
    for (const std::string& text : std::vector<std::string>{
             "", std::string("1"), "2" + valid.substr(1), valid + "A", valid + ":",
             valid.substr(0, set) + "!" + valid.substr(set + 1), zeroGaps, tooMany, paddingSet,
             "1:0000000:-:0:", "1:00000000:-:-1:", "1:00000000:-:2000000:",
             "1:00000000:x0000000:0:", "1:0000000g:-:0:"}) {
        Round round = Round::FromText(text);
        EXPECT_EQ(round.ToText(), fresh) << text;
    }
    EXPECT_EQ(Round::FromText(lastGapChanged).ToText(), lastGapChanged);  // another round
}

}  // namespace
}  // namespace bk
