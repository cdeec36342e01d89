#pragma once
// A modal dialog built in memory (no resources) and run by the system's dialog
// manager, which gives it the modal loop, Tab and arrow navigation, access keys,
// Esc and the disabled owner.
//
// The object is stored in the window at WM_INITDIALOG and cleared first when
// the window is destroyed, so that no message reaches an object that is gone.
// Every message function is called inside one catch-all: nothing unwinds
// through the window procedure.

#include "platform/win32/WindowsApi.h"

namespace bk {

class DialogBase {
public:
    DialogBase() = default;
    virtual ~DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Shows the dialog with `style` (a fixed dialog frame by default) owned by
    // `owner`, and returns the value given to End(), which must be neither 0
    // nor -1. Throws std::runtime_error
    // when the dialog can't be created.
    INT_PTR RunModal(HINSTANCE instance, HWND owner, DWORD style);

    HWND Window() const { return window_; }

protected:
    void End(INT_PTR result) { EndDialog(window_, result); }

    // One function per message; each returns what the dialog procedure returns
    // (FALSE: not handled, the dialog manager's default runs).
    virtual INT_PTR OnInitDialog() { return TRUE; }
    virtual INT_PTR OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return FALSE; }
    virtual INT_PTR OnCtlColor(HDC /*dc*/, HWND /*control*/) { return FALSE; }
    virtual INT_PTR OnMeasureItem(MEASUREITEMSTRUCT& /*item*/) { return FALSE; }
    virtual INT_PTR OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return FALSE; }
    virtual INT_PTR OnClose() { return FALSE; }
    virtual void OnDestroy() {}

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

}  // namespace bk
