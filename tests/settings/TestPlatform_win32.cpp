#include "TestPlatform.h"
#include "platform/win32/Win32Platform.h"

namespace bk::test {

void SetFileReadOnly(const std::string& path, bool readOnly) {
    SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

}  // namespace bk::test
