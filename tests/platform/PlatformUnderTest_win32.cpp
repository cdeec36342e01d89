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

std::string ShortName(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer)
        return {};
    std::string shortPath(buffer, n);
    std::string shortName = shortPath.substr(shortPath.find_last_of("\\/") + 1);
    std::string longName = path.substr(path.find_last_of("\\/") + 1);
    return shortName == longName ? std::string() : shortName;
}

bool IsAbsolutePath(const std::string& path) {
    bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                 path[1] == ':' && path[2] == '\\';
    return drive || path.rfind("\\\\", 0) == 0;
}

}  // namespace bk::test
