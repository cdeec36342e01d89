#pragma once
// The DLL's one plug-in instance: the Win32 platform and the Plugin object,
// created at attach and destroyed at detach. Exports reach the plug-in only
// through Guarded(), which never lets an exception out.

#include "platform/win32/WindowsApi.h"

#include <utility>

#include "core/Plugin.h"

namespace bk::dll {

// Creates the instance and attaches it. False makes the loader refuse the DLL.
bool Attach(HMODULE self) noexcept;
// Destroys the instance if there is one. Safe to call more than once.
void Detach() noexcept;

// The attached plug-in, or null (before attach, after detach, after a failed attach).
Plugin* Instance() noexcept;

// Runs `work` on the attached plug-in through bk::Guarded (core/Plugin.h).
template <typename Work>
int Guarded(int fallback, Work&& work) noexcept {
    return bk::Guarded(Instance(), fallback, std::forward<Work>(work));
}

}  // namespace bk::dll
