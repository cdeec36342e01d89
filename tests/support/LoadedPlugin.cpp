#include "support/LoadedPlugin.h"

#include <windows.h>

#include <vector>

namespace bk::test {

std::string BuiltDllPath() {
    return BK_BUILT_DLL;
}

std::string ProfileString(const std::string& file, const char* section, const char* key,
                          const char* fallback) {
    std::vector<char> buffer(1 << 16);
    DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), file.c_str());
    return std::string(buffer.data(), n);
}

}  // namespace bk::test
