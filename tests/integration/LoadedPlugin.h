#pragma once
// The real bkQuorvel.dll, copied into a fresh temporary directory and loaded
// into this test program, which plays the host (it exports the BKA_ entry
// points). Unloaded, and the directory removed, when the object goes.

#include <windows.h>

#include <string>

#include "support/TempDir.h"

namespace bk::test {

// Where the build put the DLL (set by CMake).
std::string BuiltDllPath();

class LoadedPlugin {
public:
    // Copies the DLL into `dir`; call Load() after placing any files beside it.
    explicit LoadedPlugin(const TempDir& dir);
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    bool Load();  // false when the loader refused the DLL
    void Unload();
    HMODULE Module() const { return module_; }
    const std::string& DllPath() const { return dllPath_; }
    std::string SettingsPath() const;

    // An export of the plug-in by name, typed by the caller.
    template <typename Fn>
    Fn Export(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    std::string dllPath_;
    HMODULE module_ = nullptr;
};

// Reads the settings file the way Windows programs do (kernel32's profile functions).
std::string ProfileString(const std::string& file, const char* section, const char* key,
                          const char* fallback = "<none>");

}  // namespace bk::test
