#include "dll/PluginInstance.h"

#include <memory>

#include "dialogs/win32/Win32FormHost.h"
#include "platform/win32/Win32Platform.h"

namespace bk::dll {
namespace {

// Process-wide, owned here alone. Attach and detach run on the loader's thread;
// callbacks run later on the host's user-interface thread, one at a time.
std::unique_ptr<Win32Platform> g_platform;
std::unique_ptr<Win32FormHost> g_forms;  // makes no window until a dialog is shown
std::unique_ptr<Plugin> g_plugin;        // null unless attached

}  // namespace

bool Attach(HMODULE self) noexcept {
    try {
        g_platform = std::make_unique<Win32Platform>(self);
        g_forms = std::make_unique<Win32FormHost>(self, *g_platform, g_platform->Theme());
        g_plugin = std::make_unique<Plugin>(*g_platform, *g_forms);
        if (g_plugin->Attach())
            return true;
    } catch (...) {
    }
    Detach();
    return false;
}

void Detach() noexcept {
    g_plugin.reset();
    g_forms.reset();
    g_platform.reset();
}

Plugin* Instance() noexcept {
    return g_plugin.get();
}

}  // namespace bk::dll
