#include "LoadedPlugin.h"

#include <stdexcept>
#include <vector>

namespace bk::test {

std::string BuiltDllPath() { return BK_BUILT_DLL; }

LoadedPlugin::LoadedPlugin(const TempDir& dir) : dllPath_(dir.Join("bkQuorvel.dll")) {
    if (!CopyFileA(BuiltDllPath().c_str(), dllPath_.c_str(), FALSE))
        throw std::runtime_error("can't copy " + BuiltDllPath());
}

LoadedPlugin::~LoadedPlugin() { Unload(); }

bool LoadedPlugin::Load() {
    module_ = LoadLibraryA(dllPath_.c_str());
    return module_ != nullptr;
}

void LoadedPlugin::Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
}

std::string LoadedPlugin::SettingsPath() const {
    return dllPath_.substr(0, dllPath_.size() - 4) + ".ini";
}

std::string ProfileString(const std::string& file, const char* section, const char* key,
                          const char* fallback) {
    std::vector<char> buffer(1 << 16);
    DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), file.c_str());
    return std::string(buffer.data(), n);
}

}  // namespace bk::test
