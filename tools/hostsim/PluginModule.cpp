#include "PluginModule.h"

#include <stdexcept>

namespace hostsim {

PluginModule::PluginModule(const std::string& folder, const std::string& builtDll)
    : dllPath_(folder + "\\bkQuorvel.dll") {
    if (!CopyFileA(builtDll.c_str(), dllPath_.c_str(), FALSE))
        throw std::runtime_error("can't copy " + builtDll + " to " + dllPath_);
}

PluginModule::~PluginModule() {
    Unload();
}

bool PluginModule::Load() {
    if (!module_)
        module_ = LoadLibraryA(dllPath_.c_str());
    return module_ != nullptr;
}

void PluginModule::Unload() {
    if (module_)
        FreeLibrary(module_);
    module_ = nullptr;
}

std::string PluginModule::SettingsPath() const {
    return dllPath_.substr(0, dllPath_.size() - 4) + ".ini";
}

}  // namespace hostsim
