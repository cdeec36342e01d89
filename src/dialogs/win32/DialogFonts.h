#pragma once
// The fonts of the two dialogs, both of a character height of
// kFontCharacterHeight (ControlLayout.h) scaled to the DPI asked for. The
// caller owns the returned fonts and keeps them until the controls that use
// them are destroyed.

#include "platform/win32/UniqueHandle.h"

namespace bk {

using UniqueFont = UniqueHandle<HFONT, &::DeleteObject>;

// Arial: the dialogs and their controls.
UniqueFont CreateDialogFont(int dpi);

// The signature list's font, for a system code page of double-byte characters
// (932, 936, 949, 950, 1361): Arial asked for in that code page's character set, so
// that the font mapper gives a face that has the titles' characters (a Western
// Arial would show them as boxes where nothing links it to such a face). Null
// for any other code page: the list then takes the dialog font.
UniqueFont CreateListFont(int dpi);

// The memos' fixed-pitch font: "ＭＳ ゴシック". The face name goes to Windows
// as UTF-16, so it is found whatever the system code page. Where the font
// mapper gives a proportional face instead, any fixed-pitch face of that
// height is taken.
UniqueFont CreateMemoFont(int dpi);

// The text metrics of `font` as the screen realises it; false when they can't be had.
bool FontMetrics(HFONT font, TEXTMETRICW& metrics);

}  // namespace bk
