#pragma once
// bkQuorvel.dll as a host loads it: copied into a plug-in folder of its own,
// loaded into this process, its callbacks looked up by name. Unloaded when the
// object goes.

#include "platform/win32/WindowsApi.h"

#include <string>

namespace hostsim {

class PluginModule {
public:
    // Copies `builtDll` into `folder` as bkQuorvel.dll. Throws std::runtime_error.
    PluginModule(const std::string& folder, const std::string& builtDll);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    bool Load();  // false when the loader refused the DLL
    void Unload();
    HMODULE Module() const { return module_; }
    const std::string& DllPath() const { return dllPath_; }
    std::string SettingsPath() const;  // the .ini beside the DLL

    // A callback of the plug-in by name, typed by the caller; null when absent.
    template <typename Fn>
    Fn Export(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    std::string dllPath_;
    HMODULE module_ = nullptr;
};

}  // namespace hostsim
