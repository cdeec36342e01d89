#pragma once
// The DLL's one plug-in instance: the Win32 platform, the form host and the
// Plugin object, created at attach and destroyed at detach. Exports reach the
// plug-in only through bk::Guarded(Instance(), ...), which never lets an
// exception out.
//
// Attach and Detach run inside DllMain, under the loader lock. What runs
// there, and all that may (kernel32 only: no library loaded, no thread or
// window made, no wait on another thread, no exception on the usual path):
//   - before DllMain, the runtime's start: its relocations (VirtualQuery,
//     VirtualProtect), static constructors, and the unwinder's tables
//     registered (GetModuleHandleW, a reference to an unwinder library that
//     is already loaded, if any);
//   - the three constructors, which only keep references and values;
//   - the host binding: the host's module handle and its 54 exports looked up;
//   - the module's own file name, from which the settings path follows;
//   - the default setup read from the settings file, when there is one (two
//     reads, each asking first whether the file is there);
//   - the code page's tables, built at their first use (finding the folder of
//     the legacy list file steps the path by characters): IsDBCSLeadByteEx and
//     MultiByteToWideChar per byte, one GetStringTypeW and one LCMapStringW
//     over all single-byte characters, WideCharToMultiByte per letter that
//     has an upper-case form;
//   - when a legacy list file lies beside the module: its read, the one
//     rewrite of the settings file (a temporary file moved over it) and its
//     deletion;
//   - the time of day that seeds the generator;
//   - at detach, freeing what attach made.

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
