#include "dialogs/win32/TabMemo.h"

namespace bk::tabmemo {
namespace {

bool ControlDown() {
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_USERDATA));
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
        case WM_NCDESTROY:
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            break;
        default:
            break;
    }
    return CallWindowProcA(original, edit, message, wParam, lParam);
}

}  // namespace

void Attach(HWND edit) {
    LONG_PTR original =
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc));
    SetWindowLongPtrA(edit, GWLP_USERDATA, original);
}

}  // namespace bk::tabmemo
