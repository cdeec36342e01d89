#pragma once
// The DLL's one plug-in instance: the Win32 platform, the form host and the
// Plugin object, created at attach and destroyed at detach. Exports reach the
// plug-in only through bk::Guarded(Instance(), ...), which never lets an
// exception out.
//
// Attach and Detach run inside DllMain, under the loader lock, so all that
// runs there keeps to kernel32 (no library loaded, no thread or window made,
// no wait on another thread, no exception on the usual path): the runtime's
// start (relocations, static constructors, unwinder tables), the three
// constructors (references and values only), the host binding (the host's
// module handle and its 54 exports), the module's own file name, the default
// setup's two reads of the settings file, the code page's tables (built at
// first use from kernel32's character functions), the migration of a legacy
// list file (its read, one rewrite of the settings file, its deletion) and the
// time of day that seeds the generator; at detach, freeing what attach made and
// the activation context that the first window shown made (ThemeContext).

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
