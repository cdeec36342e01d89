#include "dialogs/win32/SelectSigFormView.h"

#include "dialogs/win32/FormView.h"

namespace bk {

const std::vector<ControlRow<TSelectSigForm>>& SelectSigFormLayout() {
    using F = TSelectSigForm;
    // No close check: any choice of items, none included, is accepted.
    // clang-format off
    static const std::vector<ControlRow<F>> rows = {
        {BK_FIELD(F, CheckLabel), Kind::Text,
         "The signature to be added is selected from checked items.",
         16, 16, 321, 15, nullptr, 0},
        {BK_FIELD(F, SigCheckListBox), Kind::CheckList, nullptr,
         8, 40, 337, 89, &F::SigCheckListBoxClick, 0},
        {BK_FIELD(F, SigPreviewMemo), Kind::ViewMemo, nullptr,
         8, 136, 450, 89, nullptr, 0},
        {BK_FIELD(F, OkButton), Kind::PushButton, "&Ok",
         376, 16, 75, 25, nullptr, kClosesOk | kDefaultButton},
        {BK_FIELD(F, CancelButton), Kind::PushButton, "&Cancel",
         376, 56, 75, 25, nullptr, kClosesCancel},
    };
    // clang-format on
    return rows;
}

ModalResult ShowSelectSigForm(TSelectSigForm& form, Platform& platform, HINSTANCE instance,
                              HWND owner) {
    FormView view(platform, BindRows(SelectSigFormLayout(), form),
                  {&form.Caption, kSelectSigClientWidth, kSelectSigClientHeight, nullptr});
    return view.ShowModal(instance, owner);
}

}  // namespace bk
