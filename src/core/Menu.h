#pragma once
// The plug-in's entry in the host's menu: "Setup for Quorvel...", which edits
// the current folder's own setup, and the state the host asks for it.

#include <cstdint>

#include "core/Plugin.h"
#include "host/HostCalls.h"

namespace bk {

// Menu type 2 only: appends a separator and the entry, registering `command`
// (run when the entry is chosen) and `state` (asked for the entry's state)
// with the host. Every call appends and registers again. Returns 0.
int OnMenuInit(Plugin& plugin, MenuHandle menu, int menuType, CommandCallback command,
               UICallback state);

// The entry's state for the current folder: 1 when the character right after
// the identifier's first "\" (the first character when there is none) is "!",
// else 0.
std::uint32_t MenuItemState(Plugin& plugin);

}  // namespace bk
