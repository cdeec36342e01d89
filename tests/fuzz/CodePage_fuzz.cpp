// Fuzz target: stepping and folding text in a code page (CodePage).
//
// Input: a byte choosing the code page (1252 ASCII-only folding, 1252, 932, or
// a double-byte code page whose lead bytes, all from 0x80 up, are the next 16
// bytes as a bit set), a byte of case-change mask, then the text. A second text
// is the first with the bytes picked by the mask upper-cased, so that names
// equal without regard to case are common, double-byte characters included.
//
// Properties:
//   - CharLength is 1 or 2 and never steps past the end (0 at the end);
//   - Find and FindLastSeparator give the first (last) character that is the
//     byte on its own, never the second byte of a double-byte character;
//   - Fold keeps the length, folds single-byte characters through Upper and
//     leaves double-byte ones as they are, and folding twice changes nothing;
//   - EqualNoCase(a, b) holds exactly when Fold(a) == Fold(b), both ways round.

#include <vector>

#include "FuzzInput.h"

namespace bk::fuzz {
namespace {

CodePage ChooseCodePage(FuzzInput& in) {
    switch (in.Byte() % 4) {
        case 0:
            return CodePage::Ascii();
        case 1:
            return CodePage::Western();
        case 2:
            return CodePage::Japanese();
    }
    std::array<bool, 256> lead{};
    for (int i = 0x80; i < 0x100; i += 8) {
        std::uint8_t bits = in.Byte();
        for (int k = 0; k < 8; ++k) lead[i + k] = bits >> k & 1;
    }
    const CodePage ascii = CodePage::Ascii();
    std::array<std::uint8_t, 256> upper{};
    std::array<bool, 256> blanks{};
    for (int b = 0; b < 256; ++b) {
        upper[b] = ascii.Upper(static_cast<std::uint8_t>(b));
        blanks[b] = ascii.IsBlank(static_cast<std::uint8_t>(b));
    }
    return CodePage(0, lead, upper, blanks);  // no real number: any double-byte code page
}

// Where each character starts.
std::vector<std::size_t> CharacterStarts(const CodePage& codePage, std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = codePage.CharLength(text, i);
        Require(n == 1 || n == 2, "a character is one or two bytes");
        Require(i + n <= text.size(), "a character never runs past the end");
        Require(n == 1 || (codePage.IsLeadByte(static_cast<std::uint8_t>(text[i])) &&
                           text[i + 1] != '\0'),
                "two bytes only for a lead byte and a byte that is not NUL");
        starts.push_back(i);
        i += n;
    }
    Require(codePage.CharLength(text, text.size()) == 0, "no character at the end");
    return starts;
}

bool IsOnItsOwn(const CodePage& codePage, std::string_view text, std::size_t at, char c) {
    return text[at] == c && codePage.CharLength(text, at) == 1;
}

void CheckSteps(const CodePage& codePage, std::string_view text) {
    const std::vector<std::size_t> starts = CharacterStarts(codePage, text);
    for (char c : {'\\', '"', '=', ']', ','}) {
        std::size_t first = std::string_view::npos;
        for (std::size_t at : starts)
            if (IsOnItsOwn(codePage, text, at, c)) {
                first = at;
                break;
            }
        Require(codePage.Find(text, c) == first, "Find gives the first character of its own");
    }
    std::size_t last = std::string_view::npos;
    for (std::size_t at : starts)
        if (IsOnItsOwn(codePage, text, at, '\\') || IsOnItsOwn(codePage, text, at, '/'))
            last = at;
    Require(codePage.FindLastSeparator(text) == last,
            "FindLastSeparator gives the last separator of its own");

    const std::string folded = codePage.Fold(text);
    Require(folded.size() == text.size(), "Fold keeps the length");
    for (std::size_t at : starts) {
        if (codePage.CharLength(text, at) == 2)
            Require(folded.compare(at, 2, text.substr(at, 2)) == 0,
                    "Fold leaves double-byte characters as they are");
        else
            Require(static_cast<std::uint8_t>(folded[at]) ==
                        codePage.Upper(static_cast<std::uint8_t>(text[at])),
                    "Fold folds single-byte characters through Upper");
    }
    Require(codePage.Fold(folded) == folded, "folding twice changes nothing");
}

}  // namespace
}  // namespace bk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bk;
    using namespace bk::fuzz;
    FuzzInput in(data, size);
    const CodePage codePage = ChooseCodePage(in);
    const std::uint8_t mask = in.Byte();
    const std::string a = in.Rest();
    std::string b = a;
    for (std::size_t i = 0; i < b.size(); ++i)
        if (mask >> (i % 8) & 1)
            b[i] = static_cast<char>(codePage.Upper(static_cast<std::uint8_t>(b[i])));

    CheckSteps(codePage, a);
    CheckSteps(codePage, b);
    const bool equal = codePage.EqualNoCase(a, b);
    Require(equal == codePage.EqualNoCase(b, a), "EqualNoCase is symmetric");
    Require(equal == (codePage.Fold(a) == codePage.Fold(b)),
            "EqualNoCase holds exactly when the folded names are equal");
    Require(codePage.EqualNoCase(a, a), "a name equals itself");
    return 0;
}
