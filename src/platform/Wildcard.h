#pragma once
// The file-name wildcard rules of a Windows directory search, applied to long
// names: "*" matches any run of characters (none included), "?" exactly one
// character, every other character itself without regard to letter case.
// Once the name is used up, "." and "*" left at the end of the pattern match
// nothing, so "name." and "name.*" both match "name" (Wine behaves so).
//
// Both backends' FindFiles take an entry only when this accepts its long name:
// the system's own search also matches the 8.3 alias it made up for a long
// name ("$$$?????.txt" finds "$$$00001A.txt" through "$$$0~AWZ.TXT"), which
// would make a search depend on aliases the user never sees.
//
// Characters are stepped in the given code page: a double-byte character is
// one character for "?" and compares byte for byte.

#include <string_view>

#include "platform/CodePage.h"

namespace bk {

bool WildcardMatch(std::string_view pattern, std::string_view name, const CodePage& codePage);

}  // namespace bk
