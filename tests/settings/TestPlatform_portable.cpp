#include <filesystem>

#include "TestPlatform.h"
#include "platform/portable/PortablePlatform.h"

namespace bk::test {

void SetFileReadOnly(const std::string& path, bool readOnly) {
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

}  // namespace bk::test
