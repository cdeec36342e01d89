#pragma once
// What each exported BKC_ callback does, apart from the export itself. The DLL's
// exports are thin wrappers that call these and turn any exception into the
// callback's documented result.

#include "core/Plugin.h"
#include "host/HostCalls.h"

namespace bk {

// Size of the plug-in information record: four text fields of 80 bytes.
inline constexpr int kInfoFieldSize = 80;
inline constexpr int kInfoRecordSize = 4 * kInfoFieldSize;

// Fills name, vendor, version and description, each NUL-terminated in its field.
void FillPlugInInfo(char* record);

}  // namespace bk
