#pragma once
// The Win32 view of a form: a modal dialog built in memory (no resources) and
// run by the system's dialog manager, which gives it the modal loop, Tab and
// arrow navigation, access keys, Esc and the disabled owner. It makes real
// controls from the form's layout table, scaled to the DPI the dialog opens at
// (Dpi.h) and laid out again when Windows reports a new one, copies the form's
// state to them after every handler and the user's input back before one, and
// turns clicks into calls of the form's handlers. An edit line's change is
// told to the form once typing has paused for kTypingPause or the edit loses
// the focus: its handler may take a while (it may read a file), and running it
// on every keystroke would stall typing.
//
// A handler that throws is reported in an error box and the dialog stays open.
// The view is stored in the window at WM_INITDIALOG and forgotten first at
// WM_DESTROY, so no message reaches a view that is gone, and every message is
// handled inside one catch-all: nothing unwinds through the dialog procedure.

#include <functional>
#include <string>
#include <vector>

#include "dialogs/FormHost.h"
#include "dialogs/win32/BoundControl.h"
#include "dialogs/win32/DialogFonts.h"
#include "platform/Platform.h"
#include "platform/win32/WindowsApi.h"

namespace bk {

class FormView {
public:
    // `caption` is the form's caption, shown in the title bar; `closeQuery`
    // the form's close check, or empty for a dialog that always closes. The
    // form, its caption and `layout` must outlive the view.
    template <typename Form>
    FormView(Platform& platform, const DialogLayout<Form>& layout, Form& form,
             const std::string& caption, std::function<bool(ModalResult)> closeQuery = {})
        : platform_(platform),
          layout_(layout),
          controls_(BindRows(layout, form)),
          form_(&form),
          caption_(caption),
          closeQuery_(std::move(closeQuery)) {}

    // Shows the dialog owned by `owner` until it closes. Throws
    // std::runtime_error when it can't be created or its controls can't.
    ModalResult ShowModal(HINSTANCE instance, HWND owner);

    // The dialog of this thread that was opened last and is still open, or null.
    static HWND Topmost();

    FormView(const FormView&) = delete;
    FormView& operator=(const FormView&) = delete;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // One function per message; each returns what the dialog procedure returns
    // (FALSE: not handled, the dialog manager's default runs).
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog();
    INT_PTR OnCommand(int id, int code);
    INT_PTR OnTimer(UINT_PTR id);
    INT_PTR OnCtlColor(HDC dc, HWND control);
    INT_PTR OnNotify(const NMHDR& header);
    INT_PTR OnDpiChanged(int dpi, const RECT& suggested);
    INT_PTR OnClose();
    void OnDestroy();

    // Makes the fonts for `dpi` and takes it as the dialog's DPI.
    void MakeFonts(int dpi);
    void CreateControls();
    void Push();
    void Pull();
    void Click(BoundControl& control);
    void TryClose(ModalResult result);
    // An edit line's change: told to the form after a pause in typing.
    void Changed(BoundControl& control);
    void FlushChange(BoundControl& control);
    // Sizes the window for its client area at the current DPI, its top left
    // corner at `at` or, without it, centred on the screen.
    void PlaceWindow(const POINT* at);
    // The control of identifier `id`, or of a radio group's item of that one.
    BoundControl* Find(int id);

    Platform& platform_;
    const Layout& layout_;
    std::vector<BoundControl> controls_;
    void* form_;
    const std::string& caption_;
    std::function<bool(ModalResult)> closeQuery_;
    std::string shownCaption_;
    std::string failure_;  // why the dialog could not be built
    int dpi_ = kBaseDpi;
    bool pushing_ = false;  // inside Push()
    UniqueFont dialogFont_;
    UniqueFont memoFont_;
    UniqueFont listFont_;
    HWND previousTopmost_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace bk
