#pragma once
// Text as lines: the one splitter for a memo's text, a file shown in a memo and
// the legacy one-line list file, and the text a multi-line control is given.

#include <string>
#include <string_view>
#include <vector>

namespace bk {

// What a NUL byte in the text means.
enum class NulByte {
    EndsText,  // nothing from the first NUL on is part of the text (controls)
    Dropped,   // NUL bytes are left out and the text goes on (a file whose lines
               // must all be kept)
};

// Lines of a text: CR LF, CR and LF each end a line, a last line without an
// end counts, and a line end at the very end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text, NulByte nul = NulByte::EndsText);

// The text of a multi-line control holding `lines`: each line followed by
// CR LF, so that SplitLines gives the same lines back (an empty last line too).
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace bk
