#pragma once
// Conversions between a memo's lines and the text of a multi-line control or a
// file shown in one.

#include <string>
#include <string_view>
#include <vector>

namespace bk {

// Lines of a text: CR LF, CR and LF each end a line, a last line without an
// end counts, and a line end at the very end adds no empty line. A NUL byte
// ends the text.
std::vector<std::string> MemoLines(std::string_view text);

// The text of a multi-line control holding `lines`: each line followed by
// CR LF, so that MemoLines gives the same lines back (an empty last line too).
std::string MemoText(const std::vector<std::string>& lines);

}  // namespace bk
