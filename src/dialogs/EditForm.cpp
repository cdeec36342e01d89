#include "dialogs/EditForm.h"

#include <algorithm>
#include <initializer_list>

#include "dialogs/SelectSigForm.h"
#include "settings/Schema.h"

namespace bk {

TEditForm::TEditForm(Platform& platform, FormHost& forms) : platform_(platform), forms_(forms) {
    SignatureRadioButton.checked = true;
    TimingRadioGroup.items = {"you start composing a message",
                              "a message is going to be delivered"};
    TimingRadioGroup.itemIndex = kTimingDelivery;
    FormCreate();
}

void TEditForm::FormCreate() {}

void TEditForm::RadioButtonsClick() {
    bool signature = SignatureRadioButton.checked;
    SelSigCheckBox.enabled = signature;
    SelSigButton.enabled = signature && SelSigCheckBox.checked;
    FortuneMemo.enabled = OnelineRadioButton.checked;
    FortuneMemo.color = FortuneMemo.enabled ? kColorWindow : kColorInactiveCaptionText;
}

void TEditForm::UseDefaultCheckBoxClick() {
    // Unchecking enables all seven, whatever the selected mode would allow,
    // until the next click on a radio button or on SelSigCheckBox.
    bool own = !UseDefaultCheckBox.checked;
    std::initializer_list<Control*> choices = {
        &NoActionRadioButton, &SignatureRadioButton, &OnelineRadioButton, &SelSigCheckBox,
        &SelSigButton,        &FortuneMemo,          &TimingRadioGroup};
    for (Control* c : choices) c->enabled = own;
    FortuneMemo.color = own ? kColorWindow : kColorInactiveCaptionText;
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
