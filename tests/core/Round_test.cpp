#include "core/Round.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    for (const std::string& text :
         std::vector<std::string>{"",
                                  std::string("1"),
                                  "2" + valid.substr(1),
                                  valid + "A",
                                  valid + ":",
                                  valid.substr(0, set) + "!" + valid.substr(set + 1),
                                  zeroGaps,
                                  tooMany,
                                  paddingSet,
                                  "1:0000000:-:0:",
                                  "1:00000000:-:-1:",
                                  "1:00000000:-:2000000:",
                                  "1:00000000:x0000000:0:",
                                  "1:0000000g:-:0:",
                                  "2:0:-:",
                                  "2:7:7:AA",
                                  "2:7:-:A",
                                  "2:7:-:AB",
                                  "2:7:-:A!",
                                  "2:7:-1:AA",
                                  "2:196609:-:"}) {
        Round round = Round::FromText(text);
        EXPECT_EQ(round.ToText(), fresh) << text;
    }
    EXPECT_EQ(Round::FromText(lastGapChanged).ToText(), lastGapChanged);  // another round
}

// By place: each round holds every place once, read back from its text after
// every pick, and never starts with the last pick of the one before; places
// that come join the round, places that go leave it.
TEST(Round, ByPlaceEveryPlaceOnceARound) {
    for (std::size_t n : {1u, 2u, 7u, 100u}) {
        SCOPED_TRACE(n);
        Random random(n);
        auto draw = [&](std::uint32_t below) { return random.Below(below); };
        std::string stored;
        auto pick = [&](std::size_t count) {
            Round round = Round::FromText(stored);
            const std::size_t chosen = round.ChoosePlace(count, draw);
            round.TakePlace(chosen);
            stored = round.ToText();
            return chosen;
        };
        std::size_t last = n;
        for (int r = 0; r < 3; ++r) {
            std::vector<std::size_t> picks;
            for (std::size_t i = 0; i < n; ++i) picks.push_back(pick(n));
            EXPECT_TRUE(n < 2 || picks.front() != last);
            last = picks.back();
            std::sort(picks.begin(), picks.end());
            for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(picks[i], i);
            EXPECT_EQ(stored.size(), stored.rfind(':') + 1 + (n + 5) / 6) << stored;
        }
        // Half a round, then three places more: the round ends with the rest.
        std::vector<std::size_t> picks;
        for (std::size_t i = 0; i < n / 2; ++i) picks.push_back(pick(n));
        for (std::size_t i = n / 2; i < n + 3; ++i) picks.push_back(pick(n + 3));
        std::sort(picks.begin(), picks.end());
        for (std::size_t i = 0; i < n + 3; ++i) EXPECT_EQ(picks[i], i);
    }
}

}  // namespace
}  // namespace bk
