#include "platform/Wildcard.h"

#include <cstdint>

namespace bk {

bool WildcardMatch(std::string_view pattern, std::string_view name, const CodePage& codePage) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t p = 0, n = 0;
    // Where to resume after a mismatch: the pattern just past the last "*" and
    // the name position that "*" swallows up to.
    std::size_t starP = kNone, starN = 0;
    while (n < name.size()) {
        std::size_t pn = codePage.CharLength(pattern, p);
        std::size_t nn = codePage.CharLength(name, n);
        if (pn == 1 && pattern[p] == '*') {
            starP = ++p;
            starN = n;
        } else if (pn != 0 && ((pn == 1 && pattern[p] == '?') ||
                               codePage.EqualNoCase(pattern.substr(p, pn), name.substr(n, nn)))) {
            p += pn;
            n += nn;
        } else if (starP != kNone) {
            starN += codePage.CharLength(name, starN);
            // A start whose first character differs from a plain single-byte
            // character after the "*" fails at once: step over such starts in
            // one go ("$$$*.txt" over a large folder spends its time here).
            if (codePage.CharLength(pattern, starP) == 1 && pattern[starP] != '?' &&
                pattern[starP] != '*') {
                const std::uint8_t wanted =
                    codePage.Upper(static_cast<std::uint8_t>(pattern[starP]));
                for (std::size_t len; (len = codePage.CharLength(name, starN)) != 0; starN += len)
                    if (len == 1 &&
                        codePage.Upper(static_cast<std::uint8_t>(name[starN])) == wanted)
                        break;
            }
            p = starP;
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '.')) ++p;
    return p == pattern.size();
}

}  // namespace bk
