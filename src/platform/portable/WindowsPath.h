#pragma once
// Windows paths on a Linux file system, for the portable backend.
//
// A Windows path separates components with "\" (or "/", so a path may mix
// both), found character by character in the given code page: in a double-byte
// code page a character's second byte may be 0x5C and is then no separator.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace bk::portable {

// The Linux path of an existing file or directory named by `path` in any letter
// case (Linux names, unlike Windows ones, are case-sensitive): a component that
// does not exist as spelt is the first directory entry equal to it ignoring
// case. Components that exist in no spelling are kept as given, so the result
// of a path that does not exist names where it would be created.
std::string Resolve(std::string_view path, const CodePage& codePage);

}  // namespace bk::portable
