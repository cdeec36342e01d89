#pragma once
// <windows.h> for code that also uses the platform seam. Include this instead
// of <windows.h>: the SDK maps DeleteFile and ReplaceFile to their ANSI
// functions by macro, which would rename the seam's methods of those names in
// any file that sees both. Call the Windows functions by their full names
// (DeleteFileA, ReplaceFileA).

#include <windows.h>

#undef DeleteFile
#undef ReplaceFile
