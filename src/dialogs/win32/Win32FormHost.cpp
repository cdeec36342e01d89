#include "dialogs/win32/Win32FormHost.h"

#include "dialogs/win32/EditFormView.h"
#include "dialogs/win32/FormView.h"
#include "dialogs/win32/SelectSigFormView.h"

namespace bk {

Win32FormHost::Win32FormHost(HINSTANCE instance, Platform& platform)
    : instance_(instance), platform_(platform) {}

HWND Win32FormHost::Owner() const {
    if (HWND open = FormView::Topmost())
        return open;
    return GetActiveWindow();
}

ModalResult Win32FormHost::ShowModal(TEditForm& form) {
    return ShowEditForm(form, platform_, instance_, Owner());
}

ModalResult Win32FormHost::ShowModal(TSelectSigForm& form) {
    return ShowSelectSigForm(form, platform_, instance_, Owner());
}

}  // namespace bk
