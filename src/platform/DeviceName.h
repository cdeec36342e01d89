#pragma once
// Names that Windows takes for a device rather than a file, so that a read
// meant for a file can refuse them before it opens anything (opening a device
// may wait for it, and reading one may never end).

#include <string_view>

#include "platform/CodePage.h"

namespace bk {

// True for a path in the device namespace ("\\.\" and what follows) and for a
// path whose last component is a reserved device name: CON, PRN, AUX, NUL,
// COM1 to COM9, LPT1 to LPT9, CONIN$ or CONOUT$, in any letter case, with
// anything after a "." or ":" and blanks before it ("nul.txt", "COM1 .log",
// "C:\dir\con"), as Windows reads such names in any folder.
bool IsDeviceName(std::string_view path, const CodePage& codePage);

}  // namespace bk
