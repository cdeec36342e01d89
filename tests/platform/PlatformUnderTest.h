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

// True when `path` is absolute in the backend's own terms.
bool IsAbsolutePath(const std::string& path);

}  // namespace bk::test
