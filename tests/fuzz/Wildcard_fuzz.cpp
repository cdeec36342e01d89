// Fuzz target: the wildcard rule of a directory search (WildcardMatch).
//
// Input: a byte choosing the system code page (FuzzInput.h), then a pattern and
// a name separated by the first NUL byte (no NUL: the name is the whole text).
//
// Properties: any pattern and name are matched without a fault; "*" matches
// every name; a name matches itself, and its upper-case form (Fold), as a pattern;
// the answer is that of the plain rule below, which tries every start after a
// "*" one by one (WildcardMatch steps over starts that fail at once).

#include "FuzzInput.h"
#include "platform/Wildcard.h"

namespace {

bool PlainMatch(std::string_view pattern, std::string_view name, const bk::CodePage& codePage) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t p = 0, n = 0, starP = kNone, starN = 0;
    while (n < name.size()) {
        std::size_t pn = codePage.CharLength(pattern, p), nn = codePage.CharLength(name, n);
        bool same = pn == nn && pn != 0 &&
                    (pn == 2 ? pattern.substr(p, 2) == name.substr(n, 2)
                             : codePage.Upper(static_cast<std::uint8_t>(pattern[p])) ==
                                   codePage.Upper(static_cast<std::uint8_t>(name[n])));
        if (pn == 1 && pattern[p] == '*') {
            starP = ++p;
            starN = n;
        } else if (pn != 0 && ((pn == 1 && pattern[p] == '?') || same)) {
            p += pn;
            n += nn;
        } else if (starP != kNone) {
            starN += codePage.CharLength(name, starN);
            p = starP;
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '.')) ++p;
    return p == pattern.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bk;
    using namespace bk::fuzz;
    FuzzInput in(data, size);
    const CodePage& codePage = SystemCodePage(in.Byte());
    const std::string text = in.Rest();
    const std::size_t nul = text.find('\0');
    const std::string pattern = nul == std::string::npos ? "" : text.substr(0, nul);
    const std::string name = nul == std::string::npos ? text : text.substr(nul + 1);

    Require(WildcardMatch(pattern, name, codePage) == PlainMatch(pattern, name, codePage),
            "the same answer as the plain rule");
    Require(WildcardMatch("*", name, codePage), "\"*\" matches every name");
    Require(WildcardMatch(name, name, codePage), "a name matches itself");
    Require(WildcardMatch(codePage.Fold(name), name, codePage),
            "a name matches its upper-case form");
    return 0;
}
