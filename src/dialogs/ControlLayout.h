#pragma once
// A dialog's layout as a table: one row per control, in tab order. The rows
// are the whole description of a dialog's controls; the Win32 view makes real
// controls of them.
//
// Every length in a table is in client pixels at 96 DPI. A dialog shown at
// another DPI multiplies each one by DPI / 96 and rounds it to the nearest
// pixel (ScaleToDpi), so that it grows with the text and the glyphs that
// Windows draws at that DPI.

#include <cstddef>
#include <string_view>
#include <type_traits>
#include <vector>

#include "dialogs/Controls.h"

namespace bk {

// ---- Lengths at a DPI ----

inline constexpr int kBaseDpi = 96;  // the DPI of the tables' pixels

// `pixels` at 96 DPI, as pixels at `dpi`: rounded to the nearest, halves away
// from zero (as MulDiv does).
constexpr int ScaleToDpi(int pixels, int dpi) {
    long long product = static_cast<long long>(pixels) * dpi;
    long long half = kBaseDpi / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / kBaseDpi);
}

struct Rect {
    int x, y, width, height;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Each of the four numbers scaled on its own (not the right and bottom edges),
// so that every control has the same size wherever it stands.
constexpr Rect ScaleToDpi(Rect r, int dpi) {
    return {ScaleToDpi(r.x, dpi), ScaleToDpi(r.y, dpi), ScaleToDpi(r.width, dpi),
            ScaleToDpi(r.height, dpi)};
}

// The dialogs' text: Arial, and the memos' fixed-pitch face, both with a
// character height of 12 pixels at 96 DPI.
inline constexpr int kFontCharacterHeight = 12;

// ---- The table ----

// The captions of the push buttons that close a dialog.
inline constexpr const char* kOkCaption = "&Ok";
inline constexpr const char* kCancelCaption = "&Cancel";

enum class Kind {
    Text,         // a label: static text, no tab stop
    CheckBox,     // CheckBox
    RadioButton,  // RadioButton; radio buttons of one group clear each other
    PushButton,   // Button
    EditMemo,     // Memo: no wrapping, both scroll bars, Tab types a tab, Enter a new line
    ViewMemo,     // Memo: read-only, lines wrap, vertical scroll bar
    RadioGroup,   // RadioGroup: a group box holding one radio button per item
    CheckList,    // CheckListBox: a list view of one column with a check box per item
    EditLine,     // TextLine: a one-line edit box; its click runs when typing pauses
    StatusLine,   // TextLine: a line of text that the form sets, shown as is ("&" too)
};

// The type of the form's field that holds a control of each kind.
// clang-format off
template <Kind K>
using KindState =
    std::conditional_t<K == Kind::CheckBox, CheckBox,
    std::conditional_t<K == Kind::RadioButton, RadioButton,
    std::conditional_t<K == Kind::EditMemo || K == Kind::ViewMemo, Memo,
    std::conditional_t<K == Kind::RadioGroup, RadioGroup,
    std::conditional_t<K == Kind::CheckList, CheckListBox,
    std::conditional_t<K == Kind::EditLine || K == Kind::StatusLine, TextLine,
                       Control>>>>>>;  // Text, PushButton
// clang-format on

enum RowFlag : unsigned {
    kContinuesGroup = 1u << 0,  // same group as the row before (arrow keys, radio buttons)
    kDefaultButton = 1u << 1,   // Enter presses it
    kClosesOk = 1u << 2,        // after its handler, the dialog closes with Ok
    kClosesCancel = 1u << 3,    // the dialog closes with Cancel; Esc and the close box too
    kTwoColumns = 1u << 4,      // radio group: items in two columns
};

// One row. The form is passed as void* so that one view serves every form;
// the BK_CONTROL and BK_CLICK macros write the two functions that turn it
// back, and DialogLayout<Form> ties a table to its form's type.
struct ControlRow {
    const char* field;              // the form's member, by name
    Kind kind;                      // checked against the member's type at compile time
    Control& (*state)(void* form);  // that member
    const char* caption;            // "&" marks the access key; null for none
    Rect place;                     // client pixels at 96 DPI
    void (*click)(void* form);      // run on a click (an edit line: a change), after the user's
                                    // input is pulled; may be null
    unsigned flags;
};

// The first three fields of a row: the member's name, its kind and an accessor
// that only compiles when the member is of that kind's state type.
// clang-format off
#define BK_CONTROL(Form, member, kind)                                               \
    #member, ::bk::Kind::kind, [](void* form) -> ::bk::Control& {                    \
        auto& state = static_cast<Form*>(form)->member;                              \
        static_assert(std::is_same_v<std::remove_reference_t<decltype(state)>,       \
                                     ::bk::KindState<::bk::Kind::kind>>,             \
                      #member " does not hold a " #kind);                            \
        return state;                                                                \
    }
// clang-format on
// A row's click handler: the form's method `handler`.
#define BK_CLICK(Form, handler) [](void* form) { static_cast<Form*>(form)->handler(); }

// A dialog: its client area at 96 DPI and its controls in tab order.
struct Layout {
    int clientWidth, clientHeight;
    std::vector<ControlRow> rows;
};
// A layout whose rows take a `Form`.
template <typename Form>
struct DialogLayout : Layout {};

// Control identifiers: row i gets kFirstControlId + 16 * i; item k of a radio
// group gets its row's identifier + 1 + k. None collides with IDOK or IDCANCEL.
inline constexpr int kFirstControlId = 1000;
inline constexpr int ControlId(std::size_t row) {
    return kFirstControlId + 16 * static_cast<int>(row);
}

// The identifier of the row for `field`; 0 when no row names it.
inline int ControlIdOf(const Layout& layout, std::string_view field) {
    for (std::size_t i = 0; i < layout.rows.size(); ++i)
        if (field == layout.rows[i].field)
            return ControlId(i);
    return 0;
}

}  // namespace bk
