#pragma once
// The fonts of the two dialogs. The caller owns the returned fonts and keeps
// them until the controls that use them are destroyed.

#include "platform/win32/UniqueHandle.h"

namespace bk {

using UniqueFont = UniqueHandle<HFONT, &::DeleteObject>;

// Arial with a character height of 12 pixels at 96 DPI, scaled to `dpi`: the
// dialogs and their controls.
UniqueFont CreateDialogFont(int dpi);

// The memos' fixed-pitch font: "ＭＳ ゴシック" with a character height of 12
// pixels at 96 DPI, scaled to `dpi`. The face name goes to Windows as UTF-16,
// so it is found whatever the system code page. Where the font mapper gives a
// proportional face instead, any fixed-pitch face of that height is taken.
UniqueFont CreateMemoFont(int dpi);

}  // namespace bk
