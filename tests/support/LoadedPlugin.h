#pragma once
// The real bkQuorvel.dll, copied into a test's temporary directory and loaded
// into this test program, which plays the host (it exports the BKA_ entry
// points).

#include <string>

#include "PluginModule.h"
#include "support/TempDir.h"

namespace bk::test {

// Where the build put the DLL (set by CMake).
std::string BuiltDllPath();

class LoadedPlugin : public hostsim::PluginModule {
public:
    // Copies the DLL into `dir`; call Load() after placing any files beside it.
    explicit LoadedPlugin(const TempDir& dir) : PluginModule(dir.Path(), BuiltDllPath()) {}
};

// Reads the settings file the way Windows programs do (kernel32's profile functions).
std::string ProfileString(const std::string& file, const char* section, const char* key,
                          const char* fallback = "<none>");

}  // namespace bk::test
