#pragma once
// The plug-in's identity: what BKC_OnPlugInInfo reports and what the DLL's
// version resource carries. Plain #defines so that the resource compiler can
// read this file too. The version comes from the build (core/Version.h).

#include "core/Version.h"

#define BK_PLUGIN_NAME "Becky! Quorvel plug-in"
#define BK_PLUGIN_VENDOR "bkQuorvel developers <bkquorvel@users.noreply.example>"
#define BK_PLUGIN_DESCRIPTION "Enables Becky! to add a signature at random."
