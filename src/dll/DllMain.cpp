// The library's entry point: records nothing but what attach and detach need.
#include "platform/win32/WindowsApi.h"

#include "dll/PluginInstance.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        return bk::dll::Attach(instance) ? TRUE : FALSE;
    }
    if (reason == DLL_PROCESS_DETACH)
        bk::dll::Detach();
    return TRUE;
}
