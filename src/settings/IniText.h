#pragma once
// The character rules of the settings file, shared by the parser, the lookups
// and the writers, as the Windows profile functions have them: a line and a
// requested name are trimmed of blanks at both ends (the code page's blanks and
// ^Z, the old DOS end-of-file mark); a name or value ends at its first NUL.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace bk {

inline bool IsIniBlank(const CodePage& codePage, char c) {
    auto b = static_cast<std::uint8_t>(c);
    return b == 0x1A || codePage.IsBlank(b);
}

std::string_view TrimIniBlanks(std::string_view text, const CodePage& codePage);

// Everything before the first NUL.
inline std::string_view CutAtNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// A name as the caller asks for it: a C string (so cut at a NUL), then trimmed.
inline std::string_view RequestedName(std::string_view name, const CodePage& codePage) {
    return TrimIniBlanks(CutAtNul(name), codePage);
}

// True when the code page has double-byte characters at all.
bool HasLeadBytes(const CodePage& codePage);

// True when the last byte of `text` is the lead byte of a double-byte
// character whose trail byte is missing. Such a name would swallow the "=" or
// "]" after it when read back.
bool EndsInHalfCharacter(std::string_view text, const CodePage& codePage);

// An integer value as the profile functions read one: leading characters up to
// and including the space skipped, an optional sign, then decimal digits up to
// the first non-digit, in arithmetic modulo 2^32. No digits reads as 0.
int ParseIniInteger(std::string_view text);

}  // namespace bk
