#pragma once
// The real control of a form's CheckListBox: an owner-drawn list box
// (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS) with a check box in front of each item,
// whose item data holds the check mark. Items are kCheckListItemHeight high
// with a check box of kCheckListBoxSize (ControlLayout.h), scaled to the DPI
// the list is laid out for. Titles are drawn as Unicode converted from
// the system code page, so they never depend on the character set of the
// font the mapper realises.
//
// Mouse: a click on an item's check box toggles it (and makes the item the
// current one, as any click does). Keyboard: the arrow, page and Home/End keys
// and type-ahead move the current item; Space toggles the current item.
// Toggling notifies nobody; the owner reads the marks when it needs them.

#include "platform/win32/WindowsApi.h"

namespace bk::checklistcontrol {

// The list box style to create it with (plus WS_CHILD, WS_VISIBLE, WS_TABSTOP).
inline constexpr DWORD kStyle =
    LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;

// The item height at `dpi`, for the owner's WM_MEASUREITEM.
int ItemHeight(int dpi);

// Subclasses a new list box so that clicks and Space toggle check marks.
void Attach(HWND list);
// Lays the items out for `dpi` (kBaseDpi until this is called).
void SetDpi(HWND list, int dpi);

bool IsChecked(HWND list, int index);
// Sets an item's mark and repaints it when it changed.
void SetChecked(HWND list, int index, bool checked);

// WM_DRAWITEM of the list's owner.
void Draw(const DRAWITEMSTRUCT& item);

}  // namespace bk::checklistcontrol
