#pragma once
// A dialog's layout as a table: one row per control, in tab order, naming the
// form's field that holds the control's state, the kind of control, its
// caption, its place in client pixels, its click handler and a few flags.
// The rows are the whole description of a dialog's controls; FormView makes
// real controls of them.

#include <cstddef>
#include <string_view>
#include <variant>
#include <vector>

#include "dialogs/Controls.h"

namespace bk {

enum class Kind {
    Text,         // a label: static text, no tab stop
    CheckBox,     // CheckBox
    RadioButton,  // RadioButton; radio buttons of one group clear each other
    PushButton,   // Button
    EditMemo,     // Memo: no wrapping, both scroll bars, Tab types a tab, Enter a new line
    ViewMemo,     // Memo: read-only, lines wrap, vertical scroll bar
    RadioGroup,   // RadioGroup: a group box holding one radio button per item
    CheckList,    // CheckListBox: an owner-drawn list box with a check box per item
};

// The field behind a row, typed by what it holds.
using ControlRef =
    std::variant<Control*, CheckBox*, RadioButton*, Memo*, RadioGroup*, CheckListBox*>;

enum RowFlag : unsigned {
    kContinuesGroup = 1u << 0,  // same group as the row before (arrow keys, radio buttons)
    kDefaultButton = 1u << 1,   // Enter presses it
    kClosesOk = 1u << 2,        // after its handler, the dialog closes with Ok
    kClosesCancel = 1u << 3,    // the dialog closes with Cancel; Esc and the close box too
    kTwoColumns = 1u << 4,      // radio group: items in two columns
};

template <typename Form>
struct ControlRow {
    const char* field;           // the form's member, by name
    ControlRef (*state)(Form&);  // that member
    Kind kind;
    const char* caption;      // "&" marks the access key; null for none
    int x, y, width, height;  // client pixels
    void (Form::*click)();    // run on a click, after the user's input is pulled; may be null
    unsigned flags;
};

// The first two fields of a row: the member's name and an accessor for it.
#define BK_FIELD(Form, member) #member, [](Form & f) -> ControlRef { return &f.member; }

// Control identifiers: row i gets kFirstControlId + 16 * i; item k of a radio
// group gets its row's identifier + 1 + k. None collides with IDOK or IDCANCEL.
inline constexpr int kFirstControlId = 1000;
inline constexpr int ControlId(std::size_t row) {
    return kFirstControlId + 16 * static_cast<int>(row);
}

// The identifier of the row for `field`; 0 when no row names it.
template <typename Form>
int ControlIdOf(const std::vector<ControlRow<Form>>& rows, std::string_view field) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (field == rows[i].field)
            return ControlId(i);
    return 0;
}

}  // namespace bk
