#include "dialogs/win32/TabMemo.h"

#include "dialogs/win32/Subclass.h"

namespace bk::tabmemo {
namespace {

bool ControlDown() {
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

std::optional<LRESULT> EditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                   WNDPROC original) {
    switch (message) {
        case WM_GETDLGCODE: {
            // The dialog manager asks before it handles a key itself: keep Tab
            // and Enter here, leave Esc to the dialog.
            LRESULT code = CallWindowProcA(original, edit, message, wParam, lParam);
            code |= DLGC_WANTTAB | DLGC_WANTALLKEYS;
            auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
                code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
            return code;
        }
        case WM_KEYDOWN:
            // A plain Tab only types (its WM_CHAR follows); the edit control
            // itself would move the focus on.
            if (wParam == VK_TAB && !ControlDown())
                return 0;
            break;
        case WM_CHAR:
            if (wParam == '\t' && !ControlDown()) {
                SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\t"));
                return 0;
            }
            break;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace

void Attach(HWND edit) {
    Subclass(edit, &EditMessage);
}

}  // namespace bk::tabmemo
