#pragma once
// The compose and delivery hooks: they decide when the picker runs.
//
// A compose window is marked with the folder that was current when it opened
// (header "X-BkQuorvel-Folder"); the mark carries the folder to delivery and
// keeps a reopened message from getting a second text. Timing 0 adds the text
// at opening, timing 1 at delivery (after the mark is removed).

#include <string_view>

#include "core/Plugin.h"
#include "core/Setup.h"
#include "settings/IniFile.h"

namespace bk {

inline constexpr const char* kMarkerHeader = "X-BkQuorvel-Folder";

// True for the outbox: the identifier ends with the outbox's name and exactly
// one more character (its closing "\"), counted from the first occurrence.
bool IsOutboxFolder(std::string_view folder);

// Each reads the settings file once at most.
int OnOpenCompose(Plugin& plugin, WindowHandle window, int composeMode);
int OnOutgoing(Plugin& plugin, WindowHandle window, int deliveryMode);

enum class HideWindow { No, First };  // at delivery: before the text goes in

// What both hooks do when the timing says so: the picker's text for `setup`
// (resolved from `settings`) goes to the host, or its warning to the user.
void AddSignature(Plugin& plugin, WindowHandle window, const IniSnapshot& settings,
                  const EffectiveSetup& setup, HideWindow hide);

}  // namespace bk
