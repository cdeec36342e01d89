#pragma once
// The setup flow: loads one settings section into the setup dialog, shows it
// through the plug-in's form host and writes the section back when the user
// presses Ok.
//
// SetupOf::Default edits section "Options" (the default setup) and, once
// saved, refreshes the plug-in's running default setup; SetupOf::CurrentFolder
// edits the host's current folder. The save is one rewrite of the settings file:
// everything lands or nothing does, and a failure is shown to the user in an
// error box. A settings file that is there but can't be read is reported in an
// error box too, and the dialog is not shown. Cancel writes nothing. Other
// failures (a failing listing that the dialog did not catch) throw.

#include "core/Plugin.h"

namespace bk {

enum class SetupOf { CurrentFolder, Default };

void RunSetup(Plugin& plugin, SetupOf setup);

}  // namespace bk
