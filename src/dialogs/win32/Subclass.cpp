#include "dialogs/win32/Subclass.h"

namespace bk {
namespace {

struct Hook {
    MessageFilter filter;
    WNDPROC original;
};

LRESULT CALLBACK HookProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* hook = reinterpret_cast<Hook*>(GetWindowLongPtrA(control, GWLP_USERDATA));
    if (!hook)
        return DefWindowProcA(control, message, wParam, lParam);
    WNDPROC original = hook->original;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrA(control, GWLP_USERDATA, 0);
        delete hook;
    } else {
        try {
            if (std::optional<LRESULT> answer =
                    hook->filter(control, message, wParam, lParam, original))
                return *answer;
        } catch (...) {
            // Our part failed; the control still gets its message.
        }
    }
    return CallWindowProcA(original, control, message, wParam, lParam);
}

}  // namespace

void Subclass(HWND control, MessageFilter filter) {
    auto* hook = new Hook{filter, nullptr};
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hook));
    hook->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProc)));
}

}  // namespace bk
