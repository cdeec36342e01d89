#pragma once
// The system's 8-bit ("ANSI") code page as the plug-in needs it: which bytes
// start a double-byte character, which single-byte characters are blanks, and
// how single-byte letters fold for case-insensitive names.
//
// Text is stepped character by character so that the second byte of a
// double-byte character is never taken for a quote, a comma, a bracket or a
// letter to fold. A lead byte followed by NUL is a character of its own, as
// CharNextA treats it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace bk {

class CodePage {
public:
    // Builds a single-byte code page in which only ASCII letters fold and only
    // the ASCII blanks (tab, LF, VT, FF, CR, space) are blanks.
    CodePage();

    // Tables for bytes 0..255; `upper` maps a single-byte character to its
    // upper-case form (itself when it has none).
    CodePage(unsigned number, const std::array<bool, 256>& leadBytes,
             const std::array<std::uint8_t, 256>& upper, const std::array<bool, 256>& blanks);

    // Stand-ins for tests and for the portable backend.
    static CodePage Ascii();     // code page 1252 letters fold as ASCII only
    static CodePage Western();   // code page 1252: Latin letters fold, 0xA0 is a blank
    static CodePage Japanese();  // code page 932 (Shift JIS) lead bytes, ASCII folding

    unsigned Number() const { return number_; }
    bool IsLeadByte(std::uint8_t b) const { return lead_[b]; }
    bool IsBlank(std::uint8_t b) const { return blank_[b]; }
    std::uint8_t Upper(std::uint8_t b) const { return upper_[b]; }

    // Length in bytes of the character that starts at `pos` (1 or 2); 0 at the end.
    std::size_t CharLength(std::string_view text, std::size_t pos) const {
        if (pos >= text.size())
            return 0;
        if (lead_[static_cast<std::uint8_t>(text[pos])] && pos + 1 < text.size() &&
            text[pos + 1] != '\0')
            return 2;
        return 1;
    }

    // Case-insensitive equality of two names, character by character: single-byte
    // characters fold through Upper(), double-byte characters compare exactly.
    bool EqualNoCase(std::string_view a, std::string_view b) const;

    // A name folded so that names equal without regard to letter case fold
    // alike: single-byte characters through Upper(), double-byte ones as they are.
    std::string Fold(std::string_view name) const;
    // Fold(name) appended to `out`, for many names in one buffer.
    void AppendFolded(std::string& out, std::string_view name) const;

    // Position of the first character `c` that is a character of its own, never
    // the second byte of a double-byte character; npos when there is none.
    std::size_t Find(std::string_view text, char c) const;
    // Position of the last path separator ("\\", or "/", which Windows also
    // accepts) found the same way; npos when there is none.
    std::size_t FindLastSeparator(std::string_view path) const;

private:
    unsigned number_ = 0;
    std::array<bool, 256> lead_{};
    std::array<std::uint8_t, 256> upper_{};
    std::array<bool, 256> blank_{};
};

}  // namespace bk
