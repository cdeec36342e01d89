#pragma once
// The controls of a form's view: one row of the layout table bound to the
// form's field, the real control made for it, and the copying of state
// between the two.

#include "platform/win32/WindowsApi.h"

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "dialogs/win32/ControlLayout.h"

namespace bk {

// One row of a layout table, bound to a form object.
struct BoundControl {
    const char* field;
    Kind kind;
    const char* caption;
    int x, y, width, height;
    unsigned flags;
    ControlRef state;
    std::function<void()> click;  // the form's handler, or empty

    // Filled when the control exists.
    int id = 0;
    HWND window = nullptr;
    std::vector<HWND> items;               // a radio group's buttons
    std::vector<std::string> shownLines;   // a memo's lines as the control holds them
    std::vector<std::string> shownTitles;  // a check list's titles as the control holds them
};

template <typename Form>
std::vector<BoundControl> BindRows(const std::vector<ControlRow<Form>>& rows, Form& form) {
    std::vector<BoundControl> bound;
    bound.reserve(rows.size());
    for (const ControlRow<Form>& row : rows) {
        std::function<void()> click;
        if (row.click)
            click = [&form, handler = row.click] { (form.*handler)(); };
        bound.push_back({row.field, row.kind, row.caption, row.x, row.y, row.width, row.height,
                         row.flags, row.state(form), std::move(click)});
    }
    return bound;
}

// The form's state behind a control, by its type.
template <typename T>
T& StateOf(const BoundControl& control) {
    return *std::get<T*>(control.state);
}

// Makes the real control (and a radio group's items) of `control` in `dialog`
// with identifier `id`, in `memoFont` for a memo and `dialogFont` for the
// rest. Throws std::runtime_error when it can't.
void CreateControl(HWND dialog, BoundControl& control, int id, HFONT dialogFont, HFONT memoFont);

// Copies the form's state to the control, touching only what differs.
void PushControl(BoundControl& control);
// Copies what the user can change in the control back to the form's state.
void PullControl(BoundControl& control);

}  // namespace bk
