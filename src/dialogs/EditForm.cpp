#include "dialogs/EditForm.h"

#include <initializer_list>

#include "dialogs/SelectSigForm.h"
#include "settings/Schema.h"

namespace bk {

TEditForm::TEditForm(Platform& platform, FormHost& forms) : platform_(platform), forms_(forms) {
    SignatureRadioButton.checked = true;
    TimingRadioGroup.items = {"you start composing a message",
                              "a message is going to be delivered"};
    TimingRadioGroup.itemIndex = kTimingDelivery;
}

const DialogLayout<TEditForm>& EditFormLayout() {
    using F = TEditForm;
    // The three radio buttons, the restrict check box and its button form one
    // group: arrow keys move among them and selecting a radio button clears
    // the other two. Ok is not a default button: Enter closes nothing. The
    // fair order box stands below the timing group, its glyph in line with the
    // timing items' and UseDefaultCheckBox's.
    // clang-format off
    static const DialogLayout<F> layout{{465, 417, {
        {BK_CONTROL(F, UseDefaultCheckBox, CheckBox), "&Use default setup",
         {16, 8, 209, 17}, BK_CLICK(F, UseDefaultCheckBoxClick), 0},
        {BK_CONTROL(F, NoActionRadioButton, RadioButton), "&No addition",
         {32, 32, 353, 17}, BK_CLICK(F, RadioButtonsClick), 0},
        {BK_CONTROL(F, SignatureRadioButton, RadioButton),
         "Add a &signature registered in the Mailbox at random",
         {32, 56, 353, 17}, BK_CLICK(F, RadioButtonsClick), kContinuesGroup},
        {BK_CONTROL(F, SelSigCheckBox, CheckBox), "&Restrict signatures to add",
         {56, 80, 217, 17}, BK_CLICK(F, RadioButtonsClick), kContinuesGroup},
        {BK_CONTROL(F, SelSigButton, PushButton), "S&elect signature...",
         {280, 76, 105, 25}, BK_CLICK(F, SelSigButtonClick), kContinuesGroup},
        {BK_CONTROL(F, OnelineRadioButton, RadioButton),
         "Add one &line at random from the list below",
         {32, 104, 353, 17}, BK_CLICK(F, RadioButtonsClick), kContinuesGroup},
        {BK_CONTROL(F, FortuneMemo, EditMemo), nullptr,
         {8, 128, 449, 174}, nullptr, 0},
        {BK_CONTROL(F, TimingRadioGroup, RadioGroup), "The signature is added &when",
         {8, 312, 449, 33}, nullptr, kTwoColumns},
        {BK_CONTROL(F, NoRepeatCheckBox, CheckBox), "&Don't repeat until all have been added",
         {16, 352, 265, 17}, nullptr, 0},
        {BK_CONTROL(F, OkButton, PushButton), kOkCaption,
         {136, 384, 75, 25}, BK_CLICK(F, OkButtonClick), kClosesOk},
        {BK_CONTROL(F, CancelButton, PushButton), kCancelCaption,
         {248, 384, 75, 25}, nullptr, kClosesCancel},
    }}};
    // clang-format on
    return layout;
}

void TEditForm::RadioButtonsClick() {
    bool signature = SignatureRadioButton.checked;
    SelSigCheckBox.enabled = signature;
    SelSigButton.enabled = signature && SelSigCheckBox.checked;
    FortuneMemo.enabled = OnelineRadioButton.checked;
    FollowChoices();
}

void TEditForm::UseDefaultCheckBoxClick() {
    // Unchecking enables all seven, whatever the selected mode would allow,
    // until the next click on a radio button or on SelSigCheckBox.
    bool own = !UseDefaultCheckBox.checked;
    std::initializer_list<Control*> choices = {
        &NoActionRadioButton, &SignatureRadioButton, &OnelineRadioButton, &SelSigCheckBox,
        &SelSigButton,        &FortuneMemo,          &TimingRadioGroup};
    for (Control* c : choices) c->enabled = own;
    FollowChoices();
}

void TEditForm::FollowChoices() {
    FortuneMemo.color = FortuneMemo.enabled ? kColorWindow : kColorBtnFace;
    NoRepeatCheckBox.enabled =
        !UseDefaultCheckBox.checked && (SignatureRadioButton.checked || OnelineRadioButton.checked);
}

void TEditForm::SelSigButtonClick() {
    TSelectSigForm select(platform_);
    select.LoadSignatureList(MailboxPath);
    select.SetSelectedSigs(SelectedList);
    if (forms_.ShowModal(select) == ModalResult::Ok)
        SelectedList = select.GetSelectedSigs();
}

void TEditForm::OkButtonClick() {
    // A line of blanks is a line; only lines of length 0 go.
    std::erase_if(FortuneMemo.lines, [](const std::string& line) { return line.empty(); });
}

bool TEditForm::FormCloseQuery(ModalResult result) {
    if (result == ModalResult::Ok && OnelineRadioButton.checked && FortuneMemo.lines.empty()) {
        platform_.ShowWarning(kNoSentenceMessage);
        return false;
    }
    return true;
}

int TEditForm::GetMode() const {
    if (UseDefaultCheckBox.checked)
        return kModeUseDefault;
    if (NoActionRadioButton.checked)
        return kModeNone;
    if (SignatureRadioButton.checked)
        return SelSigCheckBox.checked ? kModeRestricted : kModeSignatureFile;
    return kModeOneLine;
}

void TEditForm::SetMode(int mode) {
    if (mode == kModeUseDefault && !IsDefaultSetup()) {
        UseDefaultCheckBox.checked = true;
        UseDefaultCheckBoxClick();
        return;
    }
    switch (mode) {
        case kModeUseDefault:  // the default setup can't follow itself
        case kModeNone:
            SelectRadio(NoActionRadioButton);
            break;
        case kModeSignatureFile:
        case kModeRestricted:
            SelectRadio(SignatureRadioButton);
            SelSigCheckBox.checked = mode == kModeRestricted;
            break;
        case kModeOneLine:
            SelectRadio(OnelineRadioButton);
            break;
        default:
            break;  // the controls keep their state
    }
    RadioButtonsClick();
}

void TEditForm::SetFolderName(const std::string& name) {
    Caption += " - " + name;
}

bool TEditForm::IsDefaultSetup() const {
    return !UseDefaultCheckBox.visible;
}

void TEditForm::SetDefaultSetup(bool isDefault) {
    UseDefaultCheckBox.visible = !isDefault;
    if (isDefault) {
        UseDefaultCheckBox.checked = false;
        UseDefaultCheckBoxClick();
    }
}

void TEditForm::SelectRadio(RadioButton& button) {
    for (RadioButton* b : {&NoActionRadioButton, &SignatureRadioButton, &OnelineRadioButton})
        b->checked = b == &button;
}

}  // namespace bk
