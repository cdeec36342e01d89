#pragma once
// The setup flow: one settings section loaded into the setup dialog, shown
// through the plug-in's form host, and written back in one rewrite on Ok.
// SetupOf::Default edits "Options" and, once saved, the running default setup;
// SetupOf::CurrentFolder edits the host's current folder. A settings file that
// can't be read (the dialog is not shown) or saved (nothing changes) is
// reported in an error box; Cancel writes nothing. Other failures (a failing
// listing that the dialog did not catch) throw.

#include "core/Plugin.h"

namespace bk {

enum class SetupOf { CurrentFolder, Default };

void RunSetup(Plugin& plugin, SetupOf setup);

}  // namespace bk
