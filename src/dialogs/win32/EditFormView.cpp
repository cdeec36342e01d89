#include "dialogs/win32/EditFormView.h"

#include "dialogs/win32/FormView.h"

namespace bk {

const std::vector<ControlRow<TEditForm>>& EditFormLayout() {
    using F = TEditForm;
    // The three radio buttons, the restrict check box and its button form one
    // group: arrow keys move among them and selecting a radio button clears
    // the other two. Ok is not a default button: Enter closes nothing.
    // clang-format off
    static const std::vector<ControlRow<F>> rows = {
        {BK_FIELD(F, UseDefaultCheckBox), Kind::CheckBox, "&Use default setup",
         16, 8, 209, 17, &F::UseDefaultCheckBoxClick, 0},
        {BK_FIELD(F, NoActionRadioButton), Kind::RadioButton, "&No addition",
         32, 32, 353, 17, &F::RadioButtonsClick, 0},
        {BK_FIELD(F, SignatureRadioButton), Kind::RadioButton,
         "Add a &signature registered in the Mailbox at random",
         32, 56, 353, 17, &F::RadioButtonsClick, kContinuesGroup},
        {BK_FIELD(F, SelSigCheckBox), Kind::CheckBox, "&Restrict signatures to add",
         56, 80, 217, 17, &F::RadioButtonsClick, kContinuesGroup},
        {BK_FIELD(F, SelSigButton), Kind::PushButton, "S&elect signature...",
         280, 76, 105, 25, &F::SelSigButtonClick, kContinuesGroup},
        {BK_FIELD(F, OnelineRadioButton), Kind::RadioButton,
         "Add one &line at random from the list below",
         32, 104, 353, 17, &F::RadioButtonsClick, kContinuesGroup},
        {BK_FIELD(F, FortuneMemo), Kind::EditMemo, nullptr,
         8, 128, 449, 174, nullptr, 0},
        {BK_FIELD(F, TimingRadioGroup), Kind::RadioGroup, "The signature is added &when",
         8, 312, 449, 33, nullptr, kTwoColumns},
        {BK_FIELD(F, OkButton), Kind::PushButton, "&Ok",
         136, 360, 75, 25, &F::OkButtonClick, kClosesOk},
        {BK_FIELD(F, CancelButton), Kind::PushButton, "&Cancel",
         248, 360, 75, 25, nullptr, kClosesCancel},
    };
    // clang-format on
    return rows;
}

ModalResult ShowEditForm(TEditForm& form, Platform& platform, HINSTANCE instance, HWND owner) {
    FormView view(platform, BindRows(EditFormLayout(), form),
                  {&form.Caption, kEditFormClientWidth, kEditFormClientHeight,
                   [&form](ModalResult result) { return form.FormCloseQuery(result); }});
    return view.ShowModal(instance, owner);
}

}  // namespace bk
