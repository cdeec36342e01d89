#pragma once
// Windows paths on a Linux file system, for the portable backend.
//
// A Windows path separates components with "\" (a "/" is accepted as well, so a
// path may mix both). Separators are found character by character in the given
// code page: in a double-byte code page the second byte of a character may be
// 0x5C and is then part of a name, not a separator.
//
// Windows file names ignore letter case, Linux ones don't. Resolve() first tries
// the path as spelt; when that does not exist it walks the path component by
// component and takes, for each component that does not exist as spelt, the
// first directory entry whose name equals it without regard to case.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace bk::portable {

// The Linux path of an existing file or directory named by `path` in any letter
// case. Components that exist in no spelling are kept as given, so the result
// of a path that does not exist names where it would be created.
std::string Resolve(std::string_view path, const CodePage& codePage);

}  // namespace bk::portable
