#include "dialogs/win32/CheckListControl.h"

#include <string>

#include "dialogs/ControlLayout.h"
#include "dialogs/win32/Subclass.h"

namespace bk::checklistcontrol {
namespace {

// The DPI a list is laid out for, kept with the list.
constexpr char kDpiProperty[] = "bkQuorvel.CheckListDpi";

int DpiOf(HWND list) {
    auto dpi = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(list, kDpiProperty)));
    return dpi > 0 ? dpi : kBaseDpi;
}

// The check box and its margins, from the item's left edge, at 96 DPI.
constexpr int kBoxMargin = 2;
constexpr int kBoxArea = kCheckListBoxSize + 2 * kBoxMargin;

void Toggle(HWND list, int index) {
    if (index < 0 || index >= static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)))
        return;
    SetChecked(list, index, !IsChecked(list, index));
}

// The item under a point in client coordinates whose check box holds the point, or -1.
int BoxAt(HWND list, LPARAM point) {
    int x = static_cast<short>(LOWORD(point));
    LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, point);
    if (HIWORD(hit) != 0 || x < 0 || x >= ScaleToDpi(kBoxArea, DpiOf(list)))
        return -1;
    return LOWORD(hit);
}

std::optional<LRESULT> ListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                   WNDPROC /*original*/) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // the second of two quick clicks toggles too
            Toggle(list, BoxAt(list, lParam));
            break;
        case WM_CHAR:
            if (wParam == ' ') {
                Toggle(list, static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
                return 0;  // not a type-ahead search for an item starting with a blank
            }
            break;
        case WM_DESTROY:
            RemovePropA(list, kDpiProperty);
            break;
        default:
            break;
    }
    return std::nullopt;  // the list box handles it too (a click also selects)
}

// An item's title as Unicode: the list box keeps it in the system code page.
std::wstring TitleOf(HWND list, UINT index) {
    auto length = static_cast<int>(SendMessageA(list, LB_GETTEXTLEN, index, 0));
    if (length <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(length) + 1, '\0');
    length = static_cast<int>(
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(bytes.data())));
    if (length <= 0)
        return {};
    int wide = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring title(static_cast<std::size_t>(wide > 0 ? wide : 0), L'\0');
    if (wide > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, title.data(), wide);
    return title;
}

}  // namespace

int ItemHeight(int dpi) {
    return ScaleToDpi(kCheckListItemHeight, dpi);
}

void Attach(HWND list) {
    Subclass(list, &ListMessage);
}

void SetDpi(HWND list, int dpi) {
    SetPropA(list, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
    SendMessageA(list, LB_SETITEMHEIGHT, 0, ItemHeight(dpi));
}

bool IsChecked(HWND list, int index) {
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data != LB_ERR && data != 0;
}

void SetChecked(HWND list, int index, bool checked) {
    if (IsChecked(list, index) == checked)
        return;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), checked ? 1 : 0);
    RECT item;
    if (SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item)) != LB_ERR)
        InvalidateRect(list, &item, FALSE);
}

void Draw(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1))
        return;  // an empty list being focused
    HDC dc = item.hDC;
    const int dpi = DpiOf(item.hwndItem);
    const int boxSize = ScaleToDpi(kCheckListBoxSize, dpi);
    RECT all = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    bool disabled = (item.itemState & ODS_DISABLED) != 0;

    RECT boxArea{all.left, all.top, all.left + ScaleToDpi(kBoxArea, dpi), all.bottom};
    FillRect(dc, &boxArea, GetSysColorBrush(COLOR_WINDOW));
    const int boxLeft = all.left + ScaleToDpi(kBoxMargin, dpi);
    const int boxTop = all.top + (all.bottom - all.top - boxSize) / 2;
    RECT box{boxLeft, boxTop, boxLeft + boxSize, boxTop + boxSize};
    UINT boxState =
        DFCS_BUTTONCHECK | (item.itemData ? DFCS_CHECKED : 0) | (disabled ? DFCS_INACTIVE : 0);
    DrawFrameControl(dc, &box, DFC_BUTTON, boxState);

    RECT text{boxArea.right, all.top, all.right, all.bottom};
    FillRect(dc, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    std::wstring title = TitleOf(item.hwndItem, item.itemID);
    if (!title.empty()) {
        int oldMode = SetBkMode(dc, TRANSPARENT);
        COLORREF oldColor = SetTextColor(dc, GetSysColor(disabled   ? COLOR_GRAYTEXT
                                                         : selected ? COLOR_HIGHLIGHTTEXT
                                                                    : COLOR_WINDOWTEXT));
        RECT inner{text.left + ScaleToDpi(kBoxMargin, dpi), text.top, text.right, text.bottom};
        DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &inner,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
    }
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &text);
}

}  // namespace bk::checklistcontrol
