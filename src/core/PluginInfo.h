#pragma once
// The plug-in's identity: what BKC_OnPlugInInfo reports and what the DLL's
// version resource carries. Plain #defines so that the resource compiler can
// read this file too.

#define BK_PLUGIN_NAME "Becky! Quorvel plug-in"
#define BK_PLUGIN_VENDOR "bkQuorvel developers <bkquorvel@users.noreply.example>"
#define BK_PLUGIN_VERSION "0.23e"
#define BK_PLUGIN_DESCRIPTION "Enables Becky! to add a signature at random."

// Numeric form of the version for the resource: 0.23, fifth revision ("e").
#define BK_PLUGIN_VERSION_NUMBERS 0, 23, 5, 0
