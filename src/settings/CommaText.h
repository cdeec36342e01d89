#pragma once
// Comma text: how a list of titles is kept in one settings value.
//
// Full form: each item in double quotes, every double quote inside doubled,
// items joined by "," with no blanks; the empty list is the empty text.
// Reader's form: the full form without its first and last double quote, which
// is what a string read of the value gives back (see Unquote).

#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"

namespace bk {

// Splits comma text into items. Blanks and control characters (codes 1 to 32)
// around items are skipped; a quoted item runs to the next undoubled double
// quote (a quoted item without its closing quote loses its last character); an
// unquoted item runs to the first blank, control character or ","; a "," at the
// very end adds one empty item. A NUL ends the text. Characters are stepped in
// `codePage`, so a trail byte never ends an item or counts as a quote.
std::vector<std::string> SplitCommaText(std::string_view text, const CodePage& codePage);

// The full form of `items`. Characters are stepped in `codePage`, so a trail
// byte that equals a double quote is not doubled.
std::string JoinCommaText(const std::vector<std::string>& items,
                          const CodePage& codePage = CodePage());

// Removes one pair of enclosing quotation marks, as a string read does: when
// the text is at least two characters long and begins and ends with the same
// mark (double or single quote). Otherwise the text is returned unchanged.
std::string_view Unquote(std::string_view text);

}  // namespace bk
