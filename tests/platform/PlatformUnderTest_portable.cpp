#include <sys/stat.h>

#include "PlatformUnderTest.h"
#include "platform/portable/PortablePlatform.h"

namespace bk::test {

std::unique_ptr<Platform> MakePlatform() {
    return std::make_unique<PortablePlatform>();
}

void SetReadOnly(const std::string& path, bool readOnly) {
    ::chmod(path.c_str(), readOnly ? 0444 : 0644);
}

bool IsAbsolutePath(const std::string& path) {
    return !path.empty() && (path[0] == '/' || path[0] == '\\');
}

}  // namespace bk::test
