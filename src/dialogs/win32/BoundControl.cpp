#include "dialogs/win32/BoundControl.h"

#include <stdexcept>

#include "dialogs/win32/CheckListBox.h"
#include "dialogs/win32/GdiGuards.h"
#include "dialogs/win32/TabMemo.h"
#include "settings/TextLines.h"

namespace bk {
namespace {

Control& CommonState(const BoundControl& control) {
    return *std::visit([](auto* state) -> Control* { return state; }, control.state);
}

struct ClassAndStyle {
    const char* windowClass;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle StyleOf(const BoundControl& control) {
    switch (control.kind) {
        case Kind::Text:
            return {"STATIC", SS_LEFT, 0};
        case Kind::CheckBox:
            return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case Kind::RadioButton:
            return {"BUTTON", BS_AUTORADIOBUTTON, 0};  // tab stop when selected (Push)
        case Kind::PushButton: {
            DWORD type = (control.flags & kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            return {"BUTTON", type | WS_TABSTOP, 0};
        }
        case Kind::EditMemo:
            return {"EDIT",
                    ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL |
                        WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case Kind::ViewMemo:
            return {"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case Kind::RadioGroup:
            return {"BUTTON", BS_GROUPBOX, 0};
        case Kind::CheckList:
            return {"LISTBOX", checklist::kStyle | WS_TABSTOP, WS_EX_CLIENTEDGE};
    }
    throw std::logic_error("unknown control kind");
}

void SetStyleBit(HWND window, DWORD bit, bool on) {
    auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    DWORD wanted = on ? (style | bit) : (style & ~bit);
    if (wanted != style)
        SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(wanted));
}

void SetCheck(HWND button, bool checked) {
    bool now = SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (now != checked)
        SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool GetCheck(HWND button) {
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetEnabled(HWND window, bool enabled) {
    if ((IsWindowEnabled(window) != FALSE) != enabled)
        EnableWindow(window, enabled);
}

void SetVisible(HWND window, bool visible) {
    bool now = (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (now != visible)
        ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

// Text metrics height of `font`, for laying out a radio group's items.
int FontHeight(HWND window, HFONT font) {
    HDC dc = GetDC(window);
    TEXTMETRICA metrics{};
    {
        ScopedSelect selected(dc, font);
        GetTextMetricsA(dc, &metrics);
    }
    ReleaseDC(window, dc);
    return metrics.tmHeight;
}

void PushMemo(BoundControl& control) {
    Memo& memo = StateOf<Memo>(control);
    if (memo.lines != control.shownLines) {
        SetWindowTextA(control.window, JoinLines(memo.lines).c_str());
        control.shownLines = memo.lines;
    }
}

void PushRadioGroup(BoundControl& control) {
    RadioGroup& group = StateOf<RadioGroup>(control);
    for (std::size_t k = 0; k < control.items.size(); ++k) {
        HWND item = control.items[k];
        bool selected = static_cast<int>(k) == group.itemIndex;
        SetCheck(item, selected);
        // One tab stop per group: the selected item, or the first when none is.
        SetStyleBit(item, WS_TABSTOP, selected || (group.itemIndex < 0 && k == 0));
        SetEnabled(item, group.enabled);
        SetVisible(item, group.visible);
    }
}

void PushCheckList(BoundControl& control) {
    CheckListBox& list = StateOf<CheckListBox>(control);
    HWND box = control.window;
    std::vector<std::string> titles;
    titles.reserve(list.items.size());
    for (const CheckListItem& item : list.items) titles.push_back(item.title);
    if (titles != control.shownTitles) {
        SendMessageA(box, WM_SETREDRAW, FALSE, 0);
        SendMessageA(box, LB_RESETCONTENT, 0, 0);
        SendMessageA(box, LB_INITSTORAGE, titles.size(), 0);
        for (const std::string& title : titles)
            SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
        SendMessageA(box, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(box, nullptr, TRUE);
        control.shownTitles = std::move(titles);
    }
    for (std::size_t i = 0; i < list.items.size(); ++i)
        checklist::SetChecked(box, static_cast<int>(i), list.items[i].checked);
    int current = static_cast<int>(SendMessageA(box, LB_GETCURSEL, 0, 0));
    if (current != list.itemIndex)
        SendMessageA(box, LB_SETCURSEL, list.itemIndex, 0);
}

}  // namespace

void PushControl(BoundControl& control) {
    Control& common = CommonState(control);
    SetEnabled(control.window, common.enabled);
    SetVisible(control.window, common.visible);
    switch (control.kind) {
        case Kind::CheckBox:
            SetCheck(control.window, StateOf<CheckBox>(control).checked);
            break;
        case Kind::RadioButton: {
            bool checked = StateOf<RadioButton>(control).checked;
            SetCheck(control.window, checked);
            SetStyleBit(control.window, WS_TABSTOP, checked);
            break;
        }
        case Kind::EditMemo:
        case Kind::ViewMemo:
            PushMemo(control);
            break;
        case Kind::RadioGroup:
            PushRadioGroup(control);
            break;
        case Kind::CheckList:
            PushCheckList(control);
            break;
        case Kind::Text:
        case Kind::PushButton:
            break;
    }
}

void PullControl(BoundControl& control) {
    switch (control.kind) {
        case Kind::CheckBox:
            StateOf<CheckBox>(control).checked = GetCheck(control.window);
            break;
        case Kind::RadioButton:
            StateOf<RadioButton>(control).checked = GetCheck(control.window);
            break;
        case Kind::EditMemo: {
            std::vector<std::string> lines = SplitLines(WindowText(control.window));
            StateOf<Memo>(control).lines = lines;
            control.shownLines = std::move(lines);
            break;
        }
        case Kind::RadioGroup: {
            RadioGroup& group = StateOf<RadioGroup>(control);
            group.itemIndex = -1;
            for (std::size_t k = 0; k < control.items.size(); ++k)
                if (GetCheck(control.items[k])) {
                    group.itemIndex = static_cast<int>(k);
                    break;
                }
            break;
        }
        case Kind::CheckList: {
            CheckListBox& list = StateOf<CheckListBox>(control);
            for (std::size_t i = 0; i < list.items.size(); ++i)
                list.items[i].checked = checklist::IsChecked(control.window, static_cast<int>(i));
            list.itemIndex = static_cast<int>(SendMessageA(control.window, LB_GETCURSEL, 0, 0));
            break;
        }
        case Kind::ViewMemo:  // read-only: nothing to take back
        case Kind::Text:
        case Kind::PushButton:
            break;
    }
}

void CreateControl(HWND dialog, BoundControl& control, int id, HFONT dialogFont, HFONT memoFont) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    auto create = [&](const char* windowClass, const char* caption, DWORD style, DWORD exStyle,
                      int x, int y, int width, int height, int childId, HFONT font) {
        HWND window = CreateWindowExA(exStyle, windowClass, caption ? caption : "",
                                      WS_CHILD | WS_VISIBLE | style, x, y, width, height, dialog,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)),
                                      instance, nullptr);
        if (!window)
            throw std::runtime_error("A dialog control could not be created.");
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return window;
    };

    control.id = id;
    ClassAndStyle s = StyleOf(control);
    DWORD group = (control.flags & kContinuesGroup) ? 0 : WS_GROUP;
    bool memo = control.kind == Kind::EditMemo || control.kind == Kind::ViewMemo;
    HFONT font = memo ? memoFont : dialogFont;
    control.window = create(s.windowClass, control.caption, s.style | group, s.exStyle, control.x,
                            control.y, control.width, control.height, control.id, font);
    switch (control.kind) {
        case Kind::EditMemo:
            SendMessageA(control.window, EM_SETLIMITTEXT, 0, 0);  // no limit but memory
            tabmemo::Attach(control.window);
            break;
        case Kind::CheckList:
            SendMessageA(control.window, LB_SETITEMHEIGHT, 0, checklist::kItemHeight);
            checklist::Attach(control.window);
            break;
        case Kind::RadioGroup: {
            // Laid out as a radio group lays out its items: columns of equal
            // width, rows sharing the height below the group's caption.
            const RadioGroup& state = StateOf<RadioGroup>(control);
            int count = static_cast<int>(state.items.size());
            int columns = (control.flags & kTwoColumns) ? 2 : 1;
            int perColumn = count > 0 ? (count + columns - 1) / columns : 1;
            int textHeight = FontHeight(dialog, dialogFont);
            int below = control.height - textHeight - 5;
            int itemHeight = below / perColumn;
            int top = textHeight + 1 + (below % perColumn) / 2;
            int itemWidth = (control.width - 10) / columns;
            for (int k = 0; k < count; ++k)
                control.items.push_back(
                    create("BUTTON", state.items[static_cast<std::size_t>(k)].c_str(),
                           BS_AUTORADIOBUTTON | (k == 0 ? WS_GROUP : 0), 0,
                           control.x + 8 + (k / perColumn) * itemWidth,
                           control.y + top + (k % perColumn) * itemHeight, itemWidth, itemHeight,
                           control.id + 1 + k, dialogFont));
            break;
        }
        default:
            break;
    }
}

}  // namespace bk
