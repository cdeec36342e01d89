#include "dialogs/win32/Dpi.h"

#include "dialogs/ControlLayout.h"

namespace bk {
namespace {

// The Windows 10 functions, by the names and types of their documentation.
using DpiContext = HANDLE;             // DPI_AWARENESS_CONTEXT
constexpr int kPerMonitorAware = 2;    // DPI_AWARENESS_PER_MONITOR_AWARE
constexpr int kDisableAllScaling = 1;  // DDC_DISABLE_ALL

struct User32 {
    DpiContext(WINAPI* getThreadDpiAwarenessContext)() = nullptr;
    int(WINAPI* getAwarenessFromDpiAwarenessContext)(DpiContext) = nullptr;
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    BOOL(WINAPI* setDialogDpiChangeBehavior)(HWND, int, int) = nullptr;

    User32() {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        if (!user32)
            return;
        Find(user32, "GetThreadDpiAwarenessContext", getThreadDpiAwarenessContext);
        Find(user32, "GetAwarenessFromDpiAwarenessContext", getAwarenessFromDpiAwarenessContext);
        Find(user32, "GetDpiForWindow", getDpiForWindow);
        Find(user32, "SetDialogDpiChangeBehavior", setDialogDpiChangeBehavior);
    }

    template <typename Function>
    static void Find(HMODULE module, const char* name, Function& function) {
        function =
            reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

    bool PerMonitorThread() const {
        return getThreadDpiAwarenessContext && getAwarenessFromDpiAwarenessContext &&
               getDpiForWindow &&
               getAwarenessFromDpiAwarenessContext(getThreadDpiAwarenessContext()) ==
                   kPerMonitorAware;
    }
};

// Looked up on first use, inside a dialog (never under the loader lock).
const User32& Functions() {
    static const User32 functions;
    return functions;
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

int DpiForWindow(HWND window) {
    const User32& f = Functions();
    if (f.PerMonitorThread()) {
        UINT dpi = f.getDpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

void KeepDialogScalingToView(HWND dialog) {
    if (auto set = Functions().setDialogDpiChangeBehavior)
        set(dialog, kDisableAllScaling, kDisableAllScaling);
}

}  // namespace bk
