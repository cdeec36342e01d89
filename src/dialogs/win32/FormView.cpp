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

}  // namespace

FormView::FormView(Platform& platform, std::vector<BoundControl> controls, DialogFrame frame)
    : platform_(platform), controls_(std::move(controls)), frame_(std::move(frame)) {}

HWND FormView::Topmost() {
    return t_topmost;
}

ModalResult FormView::ShowModal(HINSTANCE instance, HWND owner) {
    dialogFont_ = CreateDialogFont();
    memoFont_ = CreateMemoFont();
    INT_PTR result = RunModal(instance, owner, kDialogStyle);
    if (result == kEndFailed)
        throw std::runtime_error(failure_);
    return result == kEndOk ? ModalResult::Ok : ModalResult::Cancel;
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
    const ControlFonts fonts{dialogFont_.Get(), memoFont_.Get()};
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        BoundControl& control = controls_[i];
        CreateControl(Window(), control, ControlId(i), fonts);
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

INT_PTR FormView::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_LISTBOX)
        return FALSE;
    checklist::Measure(item);
    return TRUE;
}

INT_PTR FormView::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_LISTBOX)
        return FALSE;
    checklist::Draw(item);
    return TRUE;
}

INT_PTR FormView::OnClose() {  // the close box and Alt+F4
    TryClose(ModalResult::Cancel);
    return TRUE;
}

}  // namespace bk
