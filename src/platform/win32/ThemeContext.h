#pragma once
// ThemeContext: the plug-in's own activation context of the common controls
// version 6, so that what it puts on screen is drawn in the system's visual
// style whatever the host's manifest says. Windows takes a window class's
// implementation (user32's classic Button, or the themed one of the common
// controls version 6) from the activation context active on the thread when
// the window is created; a dialog's or a message box's controls are created
// inside the call that shows it, so a caller keeps the context active for the
// whole of that call, its modal loop included.
//
// The manifest is the RT_MANIFEST resource
// ISOLATIONAWARE_NOSTATICIMPORT_MANIFEST_RESOURCE_ID of the module this code is
// linked into (the DLL: src/dll/version.rc). Nothing is made until the first
// Activate, on the thread that shows a window, never under the loader lock. A
// module without that resource, or a system that can't make the context, gets
// no context: Activate then does nothing and windows are drawn classic.

#include "platform/win32/WindowsApi.h"

namespace bk {

class ThemeContext {
public:
    // Keeps the context active on this thread while it lives.
    class Activation {
    public:
        explicit Activation(HANDLE context);
        ~Activation();
        Activation(const Activation&) = delete;
        Activation& operator=(const Activation&) = delete;

    private:
        ULONG_PTR cookie_ = 0;
        bool active_ = false;
    };

    ThemeContext() = default;  // makes nothing: safe under the loader lock
    ~ThemeContext();           // releases the context (kernel32 only: safe at detach)
    ThemeContext(const ThemeContext&) = delete;
    ThemeContext& operator=(const ThemeContext&) = delete;

    // Makes the context on first use and activates it until the result is gone.
    [[nodiscard]] Activation Activate();

private:
    static BOOL CALLBACK Create(PINIT_ONCE, PVOID self, PVOID*);

    INIT_ONCE once_ = INIT_ONCE_STATIC_INIT;  // guards context_
    HANDLE context_ = INVALID_HANDLE_VALUE;
};

}  // namespace bk
