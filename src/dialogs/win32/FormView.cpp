#include "dialogs/win32/FormView.h"

#include <stdexcept>

#include "dialogs/HandlerGuard.h"
#include "dialogs/win32/CheckListBox.h"

namespace bk {
namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr INT_PTR kEndOk = 1;
constexpr INT_PTR kEndCancel = 2;
constexpr INT_PTR kEndFailed = 3;  // the dialog could not be built

thread_local HWND t_topmost = nullptr;

// A template with no controls and an empty caption: the view creates its
// controls itself, in pixels. The words after the header are the menu, the
// window class and the title, all empty.
std::vector<DWORD> EmptyTemplate(DWORD style) {
    std::vector<DWORD> buffer((sizeof(DLGTEMPLATE) + 3 * sizeof(WORD) + 3) / sizeof(DWORD) + 1, 0);
    reinterpret_cast<DLGTEMPLATE*>(buffer.data())->style = style;
    return buffer;
}

}  // namespace

FormView::FormView(Platform& platform, std::vector<BoundControl> controls, DialogFrame frame)
    : platform_(platform), controls_(std::move(controls)), frame_(std::move(frame)) {}

HWND FormView::Topmost() {
    return t_topmost;
}

ModalResult FormView::ShowModal(HINSTANCE instance, HWND owner) {
    dialogFont_ = CreateDialogFont();
    memoFont_ = CreateMemoFont();
    std::vector<DWORD> dialogTemplate = EmptyTemplate(kDialogStyle);
    INT_PTR result = DialogBoxIndirectParamA(
        instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner,
        &FormView::DialogProc, reinterpret_cast<LPARAM>(this));
    // 0 (a bad owner) and -1 (anything else) are failures; End() never gives them.
    if (result == 0 || result == -1)
        throw std::runtime_error("The dialog could not be created.");
    if (result == kEndFailed)
        throw std::runtime_error(failure_);
    return result == kEndOk ? ModalResult::Ok : ModalResult::Cancel;
}

INT_PTR CALLBACK FormView::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FormView* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<FormView*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window_ = window;
    } else {
        self = reinterpret_cast<FormView*>(GetWindowLongPtrA(window, DWLP_USER));
    }
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
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_MEASUREITEM: {
            auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (item.CtlType != ODT_LISTBOX)
                return FALSE;
            checklist::Measure(item);
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlType != ODT_LISTBOX)
                return FALSE;
            checklist::Draw(item);
            return TRUE;
        }
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
    t_topmost = Window();
    try {
        CreateControls();
        Push();
    } catch (const std::exception& e) {
        // A half-built dialog is not shown; ShowModal reports why.
        failure_ = e.what();
        End(kEndFailed);
        return FALSE;
    }
    PlaceWindow();
    // Focus on the first control that takes it; FALSE keeps the dialog
    // manager from choosing another.
    if (HWND first = GetNextDlgTabItem(Window(), nullptr, FALSE))
        SetFocus(first);
    return FALSE;
}

void FormView::OnDestroy() {
    t_topmost = previousTopmost_;
}

void FormView::CreateControls() {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        BoundControl& control = controls_[i];
        CreateControl(Window(), control, ControlId(i), dialogFont_.Get(), memoFont_.Get());
        if (control.flags & kDefaultButton)
            SendMessageA(Window(), DM_SETDEFID, control.id, 0);
    }
}

void FormView::PlaceWindow() {
    RECT outer{0, 0, frame_.clientWidth, frame_.clientHeight};
    auto style = static_cast<DWORD>(GetWindowLongPtrA(Window(), GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(Window(), GWL_EXSTYLE));
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(Window(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormView::Push() {
    if (*frame_.caption != shownCaption_) {
        SetWindowTextA(Window(), frame_.caption->c_str());
        shownCaption_ = *frame_.caption;
    }
    for (BoundControl& control : controls_) PushControl(control);
}

void FormView::Pull() {
    for (BoundControl& control : controls_) PullControl(control);
}

void FormView::Click(BoundControl& control) {
    Pull();
    bool ok = !control.click || RunHandler(platform_, control.click);
    Push();
    if (!ok)
        return;  // a failed handler leaves the dialog open
    if (control.flags & kClosesOk)
        TryClose(ModalResult::Ok);
    if (control.flags & kClosesCancel)
        TryClose(ModalResult::Cancel);
}

void FormView::TryClose(ModalResult result) {
    Pull();
    bool mayClose = true;
    if (frame_.closeQuery && !RunHandler(platform_, [&] { mayClose = frame_.closeQuery(result); }))
        mayClose = false;
    Push();
    if (mayClose)
        End(result == ModalResult::Ok ? kEndOk : kEndCancel);
}

BoundControl* FormView::Find(int id) {
    for (BoundControl& control : controls_) {
        if (control.id == id)
            return &control;
        for (std::size_t k = 0; k < control.items.size(); ++k)
            if (control.id + 1 + static_cast<int>(k) == id)
                return &control;
    }
    return nullptr;
}

BoundControl* FormView::FindByWindow(HWND window) {
    for (BoundControl& control : controls_)
        if (control.window == window)
            return &control;
    return nullptr;
}

INT_PTR FormView::OnCommand(int id, int code, HWND /*control*/) {
    if (id == IDCANCEL) {  // Esc
        TryClose(ModalResult::Cancel);
        return TRUE;
    }
    if (id == IDOK) {  // Enter outside a push button: only a default button acts
        for (BoundControl& control : controls_)
            if ((control.flags & kDefaultButton) && IsWindowEnabled(control.window))
                Click(control);
        return TRUE;
    }
    BoundControl* control = Find(id);
    if (!control)
        return FALSE;
    switch (control->kind) {
        case Kind::CheckBox:
        case Kind::RadioButton:
        case Kind::PushButton:
        case Kind::RadioGroup:
            if (code == BN_CLICKED)
                Click(*control);
            return TRUE;
        case Kind::CheckList:
            if (code == LBN_SELCHANGE)
                Click(*control);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR FormView::OnCtlColor(HDC dc, HWND window) {
    BoundControl* control = FindByWindow(window);
    if (!control || (control->kind != Kind::EditMemo && control->kind != Kind::ViewMemo))
        return FALSE;
    int color = StateOf<Memo>(*control).color;
    SetBkColor(dc, GetSysColor(color));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(color));
}

INT_PTR FormView::OnClose() {  // the close box and Alt+F4
    TryClose(ModalResult::Cancel);
    return TRUE;
}

}  // namespace bk
