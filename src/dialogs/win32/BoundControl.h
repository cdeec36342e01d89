#pragma once
// The controls of a form's view: one row of the layout table bound to the
// form's field, the real control made for it, and the copying of state
// between the two.

#include "platform/win32/WindowsApi.h"

#include <string>
#include <vector>

#include "dialogs/ControlLayout.h"

namespace bk {

// The fonts a dialog's controls are given.
struct DialogFontSet {
    HFONT dialog;  // Arial: everything but the memos
    HFONT memo;    // the memos' fixed-pitch face
    HFONT list;    // the check list's (CreateListFont), null for the dialog font
};

// One row of a layout table, bound to a form object.
struct BoundControl {
    const ControlRow* row;
    Control* state;  // the form's field; of type KindState<row->kind>
    int id = 0;

    // Filled when the control exists.
    HWND window = nullptr;
    std::vector<HWND> items;  // a radio group's buttons
    // A memo's lines or a check list's titles, as the control holds them.
    std::vector<std::string> shown;
    // An edit line's change not yet told to the form (its timer runs).
    bool changePending = false;
};

// The rows of `layout` bound to `form`.
template <typename Form>
std::vector<BoundControl> BindRows(const DialogLayout<Form>& layout, Form& form) {
    std::vector<BoundControl> bound;
    bound.reserve(layout.rows.size());
    for (std::size_t i = 0; i < layout.rows.size(); ++i)
        bound.push_back({&layout.rows[i], &layout.rows[i].state(&form), ControlId(i)});
    return bound;
}

// Makes the real control (and a radio group's items) of `control` in `dialog`,
// placed for `dpi`. Throws std::runtime_error when it can't.
void CreateControl(HWND dialog, BoundControl& control, const DialogFontSet& fonts, int dpi);
// Places the control (and a radio group's items) for `dpi`, in `fonts` made
// for that DPI: when it is made, and again when the dialog's DPI changes.
void PlaceControl(BoundControl& control, const DialogFontSet& fonts, int dpi);

// Copies the form's state to the control, touching only what differs.
void PushControl(BoundControl& control);
// Copies what the user can change in the control back to the form's state.
void PullControl(BoundControl& control);

// The notification code of a control's own window that is a click on it (the
// form's handler runs), or -1 for a kind that has none.
int ClickNotification(Kind kind);
// Whether a WM_NOTIFY from a control's window is a click on it: a check list's
// item newly made the current one, by the mouse or the keyboard.
bool IsItemClick(const BoundControl& control, const NMHDR& header);
bool IsMemo(Kind kind);

}  // namespace bk
