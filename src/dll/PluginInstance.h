#pragma once
// The DLL's one plug-in instance: the Win32 platform and the Plugin object,
// created at attach and destroyed at detach. Exports reach the plug-in only
// through bk::Guarded(Instance(), ...), which never lets an exception out.

#include "platform/win32/WindowsApi.h"

#include "core/Plugin.h"

namespace bk::dll {

// Creates the instance and attaches it. False makes the loader refuse the DLL.
bool Attach(HMODULE self) noexcept;
// Destroys the instance if there is one. Safe to call more than once.
void Detach() noexcept;

// The attached plug-in, or null (before attach, after detach, after a failed attach).
Plugin* Instance() noexcept;

}  // namespace bk::dll
