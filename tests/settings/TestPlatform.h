#pragma once
// The platform backend of this build tree for the settings file tests, and
// the one thing those tests do to a file that the seam does not offer.

#include <string>

#if defined(_WIN32)
#include "platform/win32/Win32Platform.h"
#else
#include "platform/portable/PortablePlatform.h"
#endif
#include "support/FaultyPlatform.h"

namespace bk::test {

#if defined(_WIN32)
using FilePlatform = Win32Platform;
#else
using FilePlatform = PortablePlatform;
#endif

// Makes a file read-only (or writable again) as its system does.
void SetFileReadOnly(const std::string& path, bool readOnly);

}  // namespace bk::test
