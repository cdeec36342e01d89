// The baseline of load_bench: a DLL with nothing in it, built by the same
// toolchain and with the same options as bkQuorvel.dll (static runtimes, so it
// starts the same C runtime when it is attached).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
