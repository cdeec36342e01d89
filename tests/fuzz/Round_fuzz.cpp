// Fuzz target: the fair order's round, as the settings file may hold any text
// in its place (a hand edit, another program, a damaged disk).
//
// Input: a stored round (a length byte, then that text), a list of up to 12
// entries (short texts of a small alphabet, so that they repeat), then one
// byte per pick: the generator's draw.
//
// Properties:
//   - any stored text reads as some round, and that round's text reads back
//     as the same round;
//   - every pick is an entry of the list; from the first completed round on,
//     a round holds every distinct entry once, and none starts with the pick
//     that ended the round before (with two distinct entries or more);
//   - the same for the round by place, with the same draws over as many
//     places as the list has entries.

#include <set>
#include <vector>

#include "FuzzInput.h"
#include "core/Round.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bk;
    using namespace bk::fuzz;
    FuzzInput in(data, size);
    const std::string stored = in.Bytes(in.Byte());
    Round round = Round::FromText(stored);
    const std::string text = round.ToText();
    Require(Round::FromText(text).ToText() == text, "a stored round reads back as itself");

    std::vector<std::string> names(in.Byte() % 13);
    for (std::string& name : names) name = in.Text("ab", 3);
    std::vector<RoundEntry> entries;
    for (const std::string& name : names) entries.push_back({name, 0});
    const std::set<std::string> distinct(names.begin(), names.end());

    bool completedOnce = false;
    std::set<std::string> thisRound;
    std::string last;
    Round byPlace = Round::FromText(stored);
    bool placesCompletedOnce = false;
    std::set<std::size_t> placesThisRound;
    std::size_t lastPlace = names.size();
    while (!in.Empty()) {
        const std::uint8_t draw = in.Byte();
        auto next = [&](std::uint32_t n) { return draw % n; };
        auto any = [](std::size_t) { return true; };
        std::optional<std::size_t> chosen = round.Choose(entries, next, any);
        Require(chosen.has_value() == !entries.empty(), "a list with entries always gives one");
        if (!chosen)
            break;
        Require(*chosen < entries.size(), "the pick is an entry of the list");
        round.Take(entries, *chosen);
        const std::size_t place = byPlace.ChoosePlace(entries.size(), next);
        Require(place < entries.size(), "the pick is a place of the source");
        byPlace.TakePlace(place);
        if (placesCompletedOnce) {
            Require(placesThisRound.insert(place).second, "no place comes twice in a round");
            if (placesThisRound.size() == 1 && entries.size() >= 2)
                Require(place != lastPlace, "a round by place does not start with the last pick");
        }
        lastPlace = place;
        // "2:<count>:<last>:<set>": a set of no place after a pick, it completed a round.
        const std::string placeText = byPlace.ToText();
        Require(Round::FromText(placeText).ToText() == placeText, "a round by place reads back");
        if (placeText.find_first_not_of('A', placeText.rfind(':') + 1) == std::string::npos) {
            Require(!placesCompletedOnce || placesThisRound.size() == entries.size(),
                    "a round holds every place");
            placesCompletedOnce = true;
            placesThisRound.clear();
        }
        const std::string& picked = names[*chosen];
        if (completedOnce) {
            Require(thisRound.insert(picked).second, "no entry comes twice in a round");
            if (thisRound.size() == 1 && distinct.size() >= 2)
                Require(picked != last, "a round does not start with the last pick");
        }
        last = picked;
        // "1:<key>:<last>:<count>:<set>": an empty set after a pick, the pick
        // completed a round.
        if (round.ToText().back() == ':') {
            Require(!completedOnce || thisRound == distinct, "a round holds every entry");
            completedOnce = true;
            thisRound.clear();
        }
    }
    return 0;
}
