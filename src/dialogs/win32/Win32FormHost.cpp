#include "dialogs/win32/Win32FormHost.h"

#include "dialogs/EditForm.h"
#include "dialogs/SelectSigForm.h"
#include "dialogs/win32/FormView.h"

namespace bk {

Win32FormHost::Win32FormHost(HINSTANCE instance, Platform& platform, ThemeContext& theme)
    : instance_(instance), platform_(platform), theme_(theme) {}

HWND Win32FormHost::Owner() const {
    HWND open = FormView::Topmost();
    return open ? open : GetActiveWindow();
}

ModalResult Win32FormHost::ShowModal(TEditForm& form) {
    FormView view(platform_, EditFormLayout(), form, form.Caption,
                  [&form](ModalResult result) { return form.FormCloseQuery(result); });
    // Active from the dialog's creation to its end: its controls, and whatever
    // its handlers open, are made inside the modal loop.
    auto themed = theme_.Activate();
    return view.ShowModal(instance_, Owner());
}

ModalResult Win32FormHost::ShowModal(TSelectSigForm& form) {
    FormView view(platform_, SelectSigFormLayout(), form, form.Caption);
    auto themed = theme_.Activate();
    return view.ShowModal(instance_, Owner());
}

}  // namespace bk
