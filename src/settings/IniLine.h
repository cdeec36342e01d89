#pragma once
// One line of a settings file and what it says.
//
// A line runs up to and including its line end: CR LF, a lone LF or a lone CR
// (each CR and each LF ends a line, as the profile functions read a file). The
// text between the blanks at both ends is what counts:
//   - nothing: a blank line;
//   - "[" and, later, a "]": a section header named by the trimmed text between
//     the "[" and the last "]" (anything after that "]" is ignored);
//   - anything else: a key line. The name is the trimmed text before the first
//     "=", the value the trimmed text after it. A line without "=" is a key
//     without a value (string reads give the default); a name starting with
//     ";" is a comment to a section read, an ordinary key to a string read.
// Names and values end at their first NUL. "[", "]" and "=" are found by
// stepping characters of the code page, so a trail byte never counts as one.

#include <cstdint>
#include <string_view>

#include "platform/CodePage.h"

namespace bk {

struct IniLine {
    enum class Kind : std::uint8_t { Blank, Section, Key };

    // Positions are offsets into the line's text.
    struct Span {
        std::uint32_t begin = 0, size = 0;
        std::string_view In(std::string_view text) const { return text.substr(begin, size); }
    };

    Kind kind = Kind::Blank;
    bool hasValue = false;
    bool emptyRawName = false;     // nothing at all before the "=" (not even a NUL)
    Span name;                     // section or key name, trimmed, cut at NUL
    Span value;                    // the value, trimmed, cut at NUL (keys with a value)
    Span rawValue;                 // from the first character after "=" and its blanks to the
                                   // end of the trimmed text: what a new value replaces
    std::uint32_t contentEnd = 0;  // end of the trimmed text

    bool IsComment(std::string_view text) const {
        return kind == Kind::Key && name.size > 0 && text[name.begin] == ';';
    }
};

// Length of the line that starts at `pos`, its line end included.
std::size_t IniLineLength(std::string_view text, std::size_t pos);

// What the line `text` (one line, its line end included or not) says.
// `multiByte`: HasLeadBytes(codePage), passed in so that a single-byte code
// page gets plain byte searches.
IniLine ParseIniLine(std::string_view text, const CodePage& codePage, bool multiByte);

}  // namespace bk
