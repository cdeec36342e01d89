#include <cctype>

#include "PlatformUnderTest.h"
#include "platform/win32/Win32Platform.h"

namespace bk::test {

std::unique_ptr<Platform> MakePlatform() {
    return std::make_unique<Win32Platform>();
}

void SetReadOnly(const std::string& path, bool readOnly) {
    SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

bool IsAbsolutePath(const std::string& path) {
    bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                 path[1] == ':' && path[2] == '\\';
    return drive || path.rfind("\\\\", 0) == 0;
}

}  // namespace bk::test
