#pragma once
// The platform backend of this build tree for the settings file tests, and
// the one thing those tests do to a file that the seam does not offer.

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace bk::test {

std::unique_ptr<Platform> MakeFilePlatform();

// Makes a file read-only (or writable again) as its system does.
void SetFileReadOnly(const std::string& path, bool readOnly);

}  // namespace bk::test
