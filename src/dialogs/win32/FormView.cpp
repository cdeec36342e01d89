#include "dialogs/win32/FormView.h"

#include <stdexcept>

#include "dialogs/HandlerGuard.h"
#include "dialogs/win32/Dpi.h"

namespace bk {
namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr INT_PTR kEndOk = 1;
constexpr INT_PTR kEndCancel = 2;
constexpr INT_PTR kEndFailed = 3;  // the dialog could not be built
// How long typing must pause before an edit line's change is told to the form:
// short enough that a count shows while the user still looks at it.
constexpr UINT kTypingPause = 150;  // milliseconds

// The memo colours of the forms are system colour indexes (OnCtlColor).
static_assert(kColorWindow == COLOR_WINDOW && kColorBtnFace == COLOR_BTNFACE);

thread_local HWND t_topmost = nullptr;

// A template with no controls and an empty caption: the view creates its
// controls itself, in pixels at the dialog's DPI. The words after the header
// are the menu, the window class and the title, all empty.
std::vector<DWORD> EmptyTemplate(DWORD style) {
    std::vector<DWORD> buffer((sizeof(DLGTEMPLATE) + 3 * sizeof(WORD) + 3) / sizeof(DWORD) + 1, 0);
    reinterpret_cast<DLGTEMPLATE*>(buffer.data())->style = style;
    return buffer;
}

}  // namespace

HWND FormView::Topmost() {
    return t_topmost;
}

ModalResult FormView::ShowModal(HINSTANCE instance, HWND owner) {
    std::vector<DWORD> dialogTemplate = EmptyTemplate(kDialogStyle);
    INT_PTR result = DialogBoxIndirectParamA(
        instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner,
        &FormView::DialogProc, reinterpret_cast<LPARAM>(this));
    // 0 (a bad owner) and -1 (anything else) are failures; EndDialog is never given them.
    if (result == 0 || result == -1)
        throw std::runtime_error("The dialog could not be created.");
    if (result == kEndFailed)
        throw std::runtime_error(failure_);
    return result == kEndOk ? ModalResult::Ok : ModalResult::Cancel;
}

INT_PTR CALLBACK FormView::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<FormView*>(lParam)->window_ = window;
    }
    auto* self = reinterpret_cast<FormView*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!self)
        return FALSE;
    if (message == WM_DESTROY)
        SetWindowLongPtrA(window, DWLP_USER, 0);  // whatever comes later finds no view
    try {
        return self->Dispatch(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR FormView::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_TIMER:
            return OnTimer(wParam);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_DPICHANGED:
            return OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
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

INT_PTR FormView::OnInitDialog() {
    previousTopmost_ = t_topmost;
    t_topmost = window_;
    try {
        KeepDialogScalingToView(window_);
        MakeFonts(DpiForWindow(window_));
        CreateControls();
        Push();
    } catch (const std::exception& e) {
        // A half-built dialog is not shown; ShowModal reports why.
        failure_ = e.what();
        EndDialog(window_, kEndFailed);
        return FALSE;
    }
    PlaceWindow(nullptr);
    // Focus on the first control that takes it; FALSE keeps the dialog
    // manager from choosing another.
    if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE))
        SetFocus(first);
    return FALSE;
}

void FormView::OnDestroy() {
    t_topmost = previousTopmost_;
}

void FormView::MakeFonts(int dpi) {
    // A font that can't be made is null: its controls show the system font.
    dialogFont_ = CreateDialogFont(dpi);
    memoFont_ = CreateMemoFont(dpi);
    listFont_ = CreateListFont(dpi);
    dpi_ = dpi;
}

void FormView::CreateControls() {
    DialogFontSet fonts{dialogFont_.Get(), memoFont_.Get(), listFont_.Get()};
    for (BoundControl& control : controls_) {
        CreateControl(window_, control, fonts, dpi_);
        if (control.row->flags & kDefaultButton)
            SendMessageA(window_, DM_SETDEFID, control.id, 0);
    }
}

void FormView::PlaceWindow(const POINT* at) {
    const int clientWidth = ScaleToDpi(layout_.clientWidth, dpi_);
    const int clientHeight = ScaleToDpi(layout_.clientHeight, dpi_);
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    // The frame around the client area can be of another DPI than the one
    // AdjustWindowRectEx assumes (a per-monitor aware host that scales its
    // frames, or one that does not): what the window really got corrects it.
    for (int pass = 0; pass < 2; ++pass) {
        int x = at ? at->x : (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        int y = at ? at->y : (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client{};
        GetClientRect(window_, &client);
        if (client.right == clientWidth && client.bottom == clientHeight)
            break;
        width += clientWidth - client.right;
        height += clientHeight - client.bottom;
    }
}

INT_PTR FormView::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0 || dpi == dpi_)
        return TRUE;
    // The controls keep the old fonts selected until they are given the new
    // ones, so those are deleted last.
    UniqueFont oldDialogFont = std::move(dialogFont_);
    UniqueFont oldMemoFont = std::move(memoFont_);
    UniqueFont oldListFont = std::move(listFont_);
    MakeFonts(dpi);
    DialogFontSet fonts{dialogFont_.Get(), memoFont_.Get(), listFont_.Get()};
    for (BoundControl& control : controls_) PlaceControl(control, fonts, dpi_);
    POINT at{suggested.left, suggested.top};
    PlaceWindow(&at);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return TRUE;
}

void FormView::Push() {
    if (caption_ != shownCaption_) {
        SetWindowTextA(window_, caption_.c_str());
        shownCaption_ = caption_;
    }
    pushing_ = true;
    try {
        for (BoundControl& control : controls_) PushControl(control);
    } catch (...) {
        pushing_ = false;
        throw;
    }
    pushing_ = false;
}

void FormView::Pull() {
    for (BoundControl& control : controls_) PullControl(control);
}

void FormView::Click(BoundControl& control) {
    Pull();
    auto click = control.row->click;
    bool ok = !click || RunHandler(platform_, [&] { click(form_); });
    Push();
    if (!ok)
        return;  // a failed handler leaves the dialog open
    if (control.row->flags & kClosesOk)
        TryClose(ModalResult::Ok);
    if (control.row->flags & kClosesCancel)
        TryClose(ModalResult::Cancel);
}

void FormView::TryClose(ModalResult result) {
    Pull();
    bool mayClose = true;
    if (closeQuery_ && !RunHandler(platform_, [&] { mayClose = closeQuery_(result); }))
        mayClose = false;
    Push();
    if (mayClose)
        EndDialog(window_, result == ModalResult::Ok ? kEndOk : kEndCancel);
}

BoundControl* FormView::Find(int id) {
    for (BoundControl& control : controls_)
        if (id >= control.id && id <= control.id + static_cast<int>(control.items.size()))
            return &control;
    return nullptr;
}

INT_PTR FormView::OnCommand(int id, int code) {
    if (id == IDCANCEL) {  // Esc
        TryClose(ModalResult::Cancel);
        return TRUE;
    }
    if (id == IDOK) {  // Enter outside a push button: only a default button acts
        for (BoundControl& control : controls_)
            if ((control.row->flags & kDefaultButton) && IsWindowEnabled(control.window))
                Click(control);
        return TRUE;
    }
    BoundControl* control = Find(id);
    if (!control || ClickNotification(control->row->kind) < 0)
        return FALSE;
    if (control->row->kind == Kind::EditLine) {
        if (code == EN_CHANGE && !pushing_)  // what Push() sets is no change of the user's
            Changed(*control);
        else if (code == EN_KILLFOCUS)
            FlushChange(*control);
        return TRUE;
    }
    if (code == ClickNotification(control->row->kind))
        Click(*control);
    return TRUE;
}

void FormView::Changed(BoundControl& control) {
    // Each change starts the pause again (SetTimer replaces a running timer).
    if (SetTimer(window_, static_cast<UINT_PTR>(control.id), kTypingPause, nullptr))
        control.changePending = true;
    else
        Click(control);  // no timer to be had: tell it now
}

void FormView::FlushChange(BoundControl& control) {
    if (!control.changePending)
        return;
    KillTimer(window_, static_cast<UINT_PTR>(control.id));
    control.changePending = false;
    Click(control);
}

INT_PTR FormView::OnTimer(UINT_PTR id) {
    BoundControl* control = Find(static_cast<int>(id));
    if (!control)
        return FALSE;
    FlushChange(*control);
    return TRUE;
}

INT_PTR FormView::OnCtlColor(HDC dc, HWND window) {
    BoundControl* control = Find(GetDlgCtrlID(window));
    if (!control || !IsMemo(control->row->kind))
        return FALSE;
    // The text colour too: the DC comes with black, unreadable on the black
    // window of a high-contrast scheme. (A disabled edit draws its text in
    // COLOR_GRAYTEXT itself.)
    int color = static_cast<const Memo*>(control->state)->color;
    SetTextColor(dc, GetSysColor(color == COLOR_WINDOW ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(color));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(color));
}

INT_PTR FormView::OnNotify(const NMHDR& header) {
    // What Push() changes in a control is no click of the user's.
    BoundControl* control = pushing_ ? nullptr : Find(static_cast<int>(header.idFrom));
    if (control && IsItemClick(*control, header))
        Click(*control);
    return FALSE;
}

INT_PTR FormView::OnClose() {  // the close box and Alt+F4
    TryClose(ModalResult::Cancel);
    return TRUE;
}

}  // namespace bk
