#include "dialogs/win32/DialogBase.h"

#include <stdexcept>
#include <vector>

namespace bk {
namespace {

// A template with no controls and an empty caption: the dialog creates its
// controls itself, in pixels. The words after the header are the menu, the
// window class and the title, all empty.
std::vector<DWORD> EmptyTemplate(DWORD style) {
    std::vector<DWORD> buffer((sizeof(DLGTEMPLATE) + 3 * sizeof(WORD) + 3) / sizeof(DWORD) + 1, 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(buffer.data());
    header->style = style;
    return buffer;
}

}  // namespace

INT_PTR DialogBase::RunModal(HINSTANCE instance, HWND owner, DWORD style) {
    std::vector<DWORD> dialogTemplate = EmptyTemplate(style);
    INT_PTR result = DialogBoxIndirectParamA(
        instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner,
        &DialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
    // 0 (a bad owner) and -1 (anything else) are failures; End() never gives them.
    if (result == 0 || result == -1)
        throw std::runtime_error("The dialog could not be created.");
    return result;
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogBase* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window_ = window;
    } else {
        self = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self)
        return FALSE;
    if (message == WM_DESTROY) {
        // Forget the object first: whatever arrives from here on finds none.
        SetWindowLongPtrA(window, DWLP_USER, 0);
    }
    try {
        return self->Dispatch(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR DialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_MEASUREITEM:
            return OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        case WM_DRAWITEM:
            return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_CLOSE:
            return OnClose();
        case WM_DESTROY:
            OnDestroy();
            window_ = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace bk
