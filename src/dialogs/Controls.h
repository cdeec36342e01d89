#pragma once
// The state of a dialog's controls as the forms keep it: plain values that a
// view copies to real controls and back. Captions and positions are not state;
// they belong to the form's layout table (ControlLayout.h).

#include <string>
#include <vector>

namespace bk {

// Memo backgrounds, as system colour indexes (GetSysColor): the window colour
// while the memo takes input, and the colour Windows gives a disabled edit box
// while it does not (readable in every standard colour scheme).
inline constexpr int kColorWindow = 5;    // COLOR_WINDOW
inline constexpr int kColorBtnFace = 15;  // COLOR_BTNFACE

struct Control {
    bool enabled = true;
    bool visible = true;
};

// Push buttons and labels have nothing beyond the common state.
using Button = Control;
using Label = Control;

// A one-line text: what the user typed in an edit box, or what the form shows
// in a line of its own (a status line).
struct TextLine : Control {
    std::string text;
};

struct CheckBox : Control {
    bool checked = false;
};

struct RadioButton : Control {
    bool checked = false;
};

// A multi-line text: one entry per line, without line ends.
struct Memo : Control {
    std::vector<std::string> lines;
    int color = kColorWindow;
};

// A group box of radio buttons; `itemIndex` is the selected item, -1 for none.
struct RadioGroup : Control {
    std::vector<std::string> items;
    int itemIndex = -1;

    // Selects an item the way a radio group takes an index: anything below -1
    // selects none, anything past the last item selects the last.
    void Select(int index) {
        int last = static_cast<int>(items.size()) - 1;
        itemIndex = index < -1 ? -1 : (index > last ? last : index);
    }
};

struct CheckListItem {
    std::string title;  // shown
    int number = 0;     // kept with the item, not shown
    bool checked = false;
};

// A list with one check box per item; `itemIndex` is the current item, -1 for none.
struct CheckListBox : Control {
    std::vector<CheckListItem> items;
    int itemIndex = -1;
};

}  // namespace bk
