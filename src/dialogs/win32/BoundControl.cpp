#include "dialogs/win32/BoundControl.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include <commctrl.h>

#include "dialogs/win32/DialogFonts.h"
#include "dialogs/win32/TabMemo.h"
#include "settings/TextLines.h"

namespace bk {
namespace {

// What each kind of control is made of, in the order of Kind.
struct KindTraits {
    const char* windowClass;
    DWORD style;  // beyond WS_CHILD | WS_VISIBLE and the group bit
    DWORD exStyle;
    int clickNotification;  // -1: none
};
constexpr KindTraits kKinds[] = {
    /* Text */ {"STATIC", SS_LEFT, 0, -1},
    /* CheckBox */ {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, BN_CLICKED},
    // A radio button is a tab stop while it is selected (PushControl).
    /* RadioButton */ {"BUTTON", BS_AUTORADIOBUTTON, 0, BN_CLICKED},
    /* PushButton */ {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, BN_CLICKED},
    /* EditMemo */
    {"EDIT",
     ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL |
         WS_TABSTOP,
     WS_EX_CLIENTEDGE, -1},
    /* ViewMemo */
    {"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
     WS_EX_CLIENTEDGE, -1},
    // An item's click comes from the item's own button (its identifier
    // follows the group's), which FormView maps to the group.
    /* RadioGroup */ {"BUTTON", BS_GROUPBOX, 0, BN_CLICKED},
    // A list view of one column and no header, its check boxes and full-row
    // selection set when it is made. An item's click is LVN_ITEMCHANGED (IsItemClick).
    /* CheckList */
    {WC_LISTVIEWA, LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
     WS_EX_CLIENTEDGE, -1},
    // A change is told to the form when typing pauses (FormView), not at once.
    /* EditLine */ {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, EN_CHANGE},
    // A path or a reason, as is ("&" too): a read-only edit without a border,
    // which looks like a label, can be selected and copied, and scrolls what
    // does not fit. (Wine's static control, in a dialog that owns another,
    // kept some heap for every one shown: the soak found it.)
    /* StatusLine */ {"EDIT", ES_READONLY | ES_AUTOHSCROLL, 0, -1},
};

static_assert(std::size(kKinds) == static_cast<std::size_t>(Kind::StatusLine) + 1);

const KindTraits& TraitsOf(Kind kind) {
    return kKinds[static_cast<int>(kind)];
}

template <Kind K>
KindState<K>& StateAs(const BoundControl& control) {
    return static_cast<KindState<K>&>(*control.state);
}

void SetStyleBit(HWND window, DWORD bit, bool on) {
    auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    DWORD wanted = on ? (style | bit) : (style & ~bit);
    if (wanted != style)
        SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(wanted));
}

bool GetCheck(HWND button) {
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetCheck(HWND button, bool checked) {
    if (GetCheck(button) != checked)
        SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
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
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    int got = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

// The places of a radio group's items, as a radio group lays them out:
// columns of equal width, rows sharing the height below the group's caption.
std::vector<RECT> RadioItemPlaces(const BoundControl& control, Rect group, int textHeight,
                                  int dpi) {
    const RadioGroup& state = StateAs<Kind::RadioGroup>(control);
    int count = static_cast<int>(state.items.size());
    int columns = (control.row->flags & kTwoColumns) ? 2 : 1;
    int perColumn = count > 0 ? (count + columns - 1) / columns : 1;
    int below = group.height - textHeight - ScaleToDpi(5, dpi);
    int itemHeight = below / perColumn;
    int top = textHeight + ScaleToDpi(1, dpi) + (below % perColumn) / 2;
    int itemWidth = (group.width - ScaleToDpi(10, dpi)) / columns;
    std::vector<RECT> places;
    for (int k = 0; k < count; ++k) {
        int x = group.x + ScaleToDpi(8, dpi) + (k / perColumn) * itemWidth;
        int y = group.y + top + (k % perColumn) * itemHeight;
        places.push_back({x, y, x + itemWidth, y + itemHeight});
    }
    return places;
}

void PushMemo(BoundControl& control) {
    Memo& memo = *static_cast<Memo*>(control.state);
    if (memo.lines != control.shown) {
        SetWindowTextA(control.window, JoinLines(memo.lines).c_str());
        control.shown = memo.lines;
    }
}

void PushRadioGroup(BoundControl& control) {
    RadioGroup& group = StateAs<Kind::RadioGroup>(control);
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

// The list view's window class is comctl32's, which the host need not have
// loaded: the first list loads it, and it stays for the process. The DLL does
// not import it, so attaching loads nothing more. Called inside the dialogs'
// activation context, this is the common controls version that context names.
void RegisterListViewClass() {
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    if (!comctl)
        comctl = LoadLibraryA("comctl32.dll");
    if (!comctl)
        return;  // creating the list fails and says so
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = reinterpret_cast<Init>(
        reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    if (init)
        init(&classes);
}

// Check marks are the list view's state images: 1 unchecked, 2 checked.
bool IsItemChecked(HWND list, int index) {
    auto state = static_cast<UINT>(
        SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
    return state == INDEXTOSTATEIMAGEMASK(2);
}

void SetItemState(HWND list, int index, UINT state, UINT mask) {
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

// The current item is the one both selected and focused (a list view may give
// an item the focus alone, as when it gets the focus itself), -1 for none.
constexpr UINT kCurrentItem = LVIS_SELECTED | LVIS_FOCUSED;

int CurrentItem(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         MAKELPARAM(LVNI_SELECTED | LVNI_FOCUSED, 0)));
}

// A title in the system code page, as Unicode: the list view draws Unicode
// whatever the character set of its font.
std::wstring Widen(const std::string& text) {
    int length = static_cast<int>(text.size());
    int wide = length > 0 ? MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0) : 0;
    std::wstring out(static_cast<std::size_t>(wide > 0 ? wide : 0), L'\0');
    if (wide > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), wide);
    return out;
}

// The one column as wide as the list's client area: no horizontal scroll bar.
void FitColumn(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(client.right, 0));
}

void PushCheckList(BoundControl& control) {
    CheckListBox& list = StateAs<Kind::CheckList>(control);
    HWND view = control.window;
    std::vector<std::string> titles;
    titles.reserve(list.items.size());
    for (const CheckListItem& item : list.items) titles.push_back(item.title);
    if (titles != control.shown) {
        SendMessageW(view, WM_SETREDRAW, FALSE, 0);
        SendMessageW(view, LVM_DELETEALLITEMS, 0, 0);
        SendMessageW(view, LVM_SETITEMCOUNT, titles.size(), 0);
        for (std::size_t i = 0; i < titles.size(); ++i) {
            std::wstring text = Widen(titles[i]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(i);
            item.pszText = text.data();
            SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
        SendMessageW(view, WM_SETREDRAW, TRUE, 0);
        FitColumn(view);  // the vertical scroll bar may have come or gone
        InvalidateRect(view, nullptr, TRUE);
        control.shown = std::move(titles);
    }
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        int index = static_cast<int>(i);
        if (IsItemChecked(view, index) != list.items[i].checked)
            SetItemState(view, index, INDEXTOSTATEIMAGEMASK(list.items[i].checked ? 2 : 1),
                         LVIS_STATEIMAGEMASK);
    }
    int current = CurrentItem(view);
    if (current != list.itemIndex) {
        if (list.itemIndex < 0)
            SetItemState(view, -1, 0, LVIS_SELECTED);  // -1: every item
        else
            SetItemState(view, list.itemIndex, kCurrentItem, kCurrentItem);
    }
}

}  // namespace

int ClickNotification(Kind kind) {
    return TraitsOf(kind).clickNotification;
}

bool IsItemClick(const BoundControl& control, const NMHDR& header) {
    if (control.row->kind != Kind::CheckList || header.code != LVN_ITEMCHANGED)
        return false;
    // The notification that completes both states, whichever comes first.
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    return (change.uChanged & LVIF_STATE) && (change.uNewState & kCurrentItem) == kCurrentItem &&
           (change.uOldState & kCurrentItem) != kCurrentItem;
}

bool IsMemo(Kind kind) {
    return kind == Kind::EditMemo || kind == Kind::ViewMemo;
}

void PushControl(BoundControl& control) {
    SetEnabled(control.window, control.state->enabled);
    SetVisible(control.window, control.state->visible);
    switch (control.row->kind) {
        case Kind::CheckBox:
            SetCheck(control.window, StateAs<Kind::CheckBox>(control).checked);
            break;
        case Kind::RadioButton: {
            bool checked = StateAs<Kind::RadioButton>(control).checked;
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
        case Kind::EditLine:
        case Kind::StatusLine: {
            // Only a real change: setting an edit's text moves its caret.
            const std::string& text = StateAs<Kind::EditLine>(control).text;
            if (WindowText(control.window) != text)
                SetWindowTextA(control.window, text.c_str());
            break;
        }
        case Kind::Text:
        case Kind::PushButton:
            break;
    }
}

void PullControl(BoundControl& control) {
    switch (control.row->kind) {
        case Kind::CheckBox:
            StateAs<Kind::CheckBox>(control).checked = GetCheck(control.window);
            break;
        case Kind::RadioButton:
            StateAs<Kind::RadioButton>(control).checked = GetCheck(control.window);
            break;
        case Kind::EditMemo: {
            std::vector<std::string> lines = SplitLines(WindowText(control.window));
            StateAs<Kind::EditMemo>(control).lines = lines;
            control.shown = std::move(lines);
            break;
        }
        case Kind::RadioGroup: {
            auto checked = std::find_if(control.items.begin(), control.items.end(), GetCheck);
            StateAs<Kind::RadioGroup>(control).itemIndex =
                checked == control.items.end() ? -1
                                               : static_cast<int>(checked - control.items.begin());
            break;
        }
        case Kind::CheckList: {
            CheckListBox& list = StateAs<Kind::CheckList>(control);
            for (std::size_t i = 0; i < list.items.size(); ++i)
                list.items[i].checked = IsItemChecked(control.window, static_cast<int>(i));
            list.itemIndex = CurrentItem(control.window);
            break;
        }
        case Kind::EditLine:
            StateAs<Kind::EditLine>(control).text = WindowText(control.window);
            break;
        case Kind::ViewMemo:  // read-only: nothing to take back
        case Kind::StatusLine:
        case Kind::Text:
        case Kind::PushButton:
            break;
    }
}

void CreateControl(HWND dialog, BoundControl& control, const DialogFontSet& fonts, int dpi) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    auto create = [&](const char* windowClass, const char* caption, DWORD style, DWORD exStyle,
                      int childId) {
        HWND window = CreateWindowExA(
            exStyle, windowClass, caption ? caption : "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
            dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), instance, nullptr);
        if (!window)
            throw std::runtime_error("A dialog control could not be created.");
        return window;
    };

    const ControlRow& row = *control.row;
    const KindTraits& traits = TraitsOf(row.kind);
    if (row.kind == Kind::CheckList)
        RegisterListViewClass();
    DWORD style = traits.style | ((row.flags & kContinuesGroup) ? 0 : WS_GROUP) |
                  ((row.flags & kDefaultButton) ? BS_DEFPUSHBUTTON : 0);
    control.window = create(traits.windowClass, row.caption, style, traits.exStyle, control.id);
    switch (row.kind) {
        case Kind::EditMemo:
            SendMessageA(control.window, EM_SETLIMITTEXT, 0, 0);  // no limit but memory
            tabmemo::Attach(control.window);
            break;
        case Kind::CheckList: {
            constexpr DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
            SendMessageW(control.window, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
            LVCOLUMNW column{};
            column.mask = LVCF_WIDTH;
            SendMessageW(control.window, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
            break;
        }
        case Kind::RadioGroup: {
            // Each item is a radio button of its own, the first starting a group.
            const RadioGroup& state = StateAs<Kind::RadioGroup>(control);
            const KindTraits& item = TraitsOf(Kind::RadioButton);
            for (std::size_t k = 0; k < state.items.size(); ++k)
                control.items.push_back(create(item.windowClass, state.items[k].c_str(),
                                               item.style | (k == 0 ? WS_GROUP : 0), item.exStyle,
                                               control.id + 1 + static_cast<int>(k)));
            break;
        }
        default:
            break;
    }
    PlaceControl(control, fonts, dpi);
}

void PlaceControl(BoundControl& control, const DialogFontSet& fonts, int dpi) {
    HFONT font = IsMemo(control.row->kind) ? fonts.memo
                 : control.row->kind == Kind::CheckList && fonts.list ? fonts.list
                                                                      : fonts.dialog;
    auto place = [font](HWND window, const RECT& r) {
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    Rect group = ScaleToDpi(control.row->place, dpi);
    place(control.window, {group.x, group.y, group.x + group.width, group.y + group.height});
    if (control.row->kind == Kind::CheckList)
        FitColumn(control.window);
    if (!control.items.empty()) {
        TEXTMETRICW metrics{};
        FontMetrics(font, metrics);
        std::vector<RECT> places = RadioItemPlaces(control, group, metrics.tmHeight, dpi);
        for (std::size_t k = 0; k < control.items.size(); ++k) place(control.items[k], places[k]);
    }
}

}  // namespace bk
