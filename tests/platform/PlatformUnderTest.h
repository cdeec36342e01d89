#pragma once
// The backend the conformance tests run against: the portable stand-in in the
// native tree, the Win32 backend (under Wine) in the Windows tree. Each tree
// links one implementation of these functions.

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace bk::test {

std::unique_ptr<Platform> MakePlatform();

// Sets or clears the read-only state of a file the way its system does.
void SetReadOnly(const std::string& path, bool readOnly);

// The short (8.3) name the file system made up for an existing file, or "" when
// it has none. A directory search may also match a file by this name.
std::string ShortName(const std::string& path);

// True when `path` is absolute in the backend's own terms.
bool IsAbsolutePath(const std::string& path);

}  // namespace bk::test
