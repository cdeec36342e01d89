#include "dialogs/EditForm.h"

#include <initializer_list>
#include <optional>

#include "dialogs/SelectSigForm.h"
#include "settings/QuoteFile.h"
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
    // The four radio buttons, the restrict check box and its button, the
    // memo and the quote file's controls form one group: arrow keys move among
    // them and selecting a radio button clears the others (the memo is in the
    // group so that the quote button, which follows it in the tab order, is
    // in the same group as the other three). Ok is not a default button: Enter
    // closes nothing. The fair order box stands below the timing group, its
    // glyph in line with the timing items' and UseDefaultCheckBox's.
    // clang-format off
    static const DialogLayout<F> layout{{465, 497, {
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
         {8, 128, 449, 174}, nullptr, kContinuesGroup},
        {BK_CONTROL(F, QuoteRadioButton, RadioButton), "Add a &quote at random from a file",
         {32, 312, 353, 17}, BK_CLICK(F, RadioButtonsClick), kContinuesGroup},
        {BK_CONTROL(F, QuoteFileEdit, EditLine), nullptr,
         {56, 338, 318, 21}, BK_CLICK(F, QuoteFileEditChange), kContinuesGroup},
        {BK_CONTROL(F, QuoteBrowseButton, PushButton), "&Browse...",
         {382, 336, 75, 25}, BK_CLICK(F, QuoteBrowseButtonClick), kContinuesGroup},
        {BK_CONTROL(F, QuoteCountLabel, StatusLine), nullptr,
         {56, 366, 401, 16}, nullptr, kContinuesGroup},
        {BK_CONTROL(F, TimingRadioGroup, RadioGroup), "The signature is added &when",
         {8, 392, 449, 33}, nullptr, kTwoColumns},
        {BK_CONTROL(F, NoRepeatCheckBox, CheckBox), "&Don't repeat until all have been added",
         {16, 432, 265, 17}, nullptr, 0},
        {BK_CONTROL(F, OkButton, PushButton), kOkCaption,
         {136, 464, 75, 25}, BK_CLICK(F, OkButtonClick), kClosesOk},
        {BK_CONTROL(F, CancelButton, PushButton), kCancelCaption,
         {248, 464, 75, 25}, nullptr, kClosesCancel},
    }}};
    // clang-format on
    return layout;
}

void TEditForm::RadioButtonsClick() {
    bool signature = SignatureRadioButton.checked;
    SelSigCheckBox.enabled = signature;
    SelSigButton.enabled = signature && SelSigCheckBox.checked;
    FortuneMemo.enabled = OnelineRadioButton.checked;
    bool quote = QuoteRadioButton.checked;
    QuoteFileEdit.enabled = QuoteBrowseButton.enabled = QuoteCountLabel.enabled = quote;
    FollowChoices();
}

void TEditForm::UseDefaultCheckBoxClick() {
    // Unchecking enables all eleven, whatever the selected mode would allow,
    // until the next click on a radio button or on SelSigCheckBox.
    bool own = !UseDefaultCheckBox.checked;
    std::initializer_list<Control*> choices = {
        &NoActionRadioButton, &SignatureRadioButton, &OnelineRadioButton, &SelSigCheckBox,
        &SelSigButton,        &FortuneMemo,          &QuoteRadioButton,   &QuoteFileEdit,
        &QuoteBrowseButton,   &QuoteCountLabel,      &TimingRadioGroup};
    for (Control* c : choices) c->enabled = own;
    FollowChoices();
}

void TEditForm::FollowChoices() {
    FortuneMemo.color = FortuneMemo.enabled ? kColorWindow : kColorBtnFace;
    NoRepeatCheckBox.enabled =
        !UseDefaultCheckBox.checked &&
        (SignatureRadioButton.checked || OnelineRadioButton.checked || QuoteRadioButton.checked);
}

void TEditForm::SelSigButtonClick() {
    TSelectSigForm select(platform_);
    select.LoadSignatureList(MailboxPath);
    select.SetSelectedSigs(SelectedList);
    if (forms_.ShowModal(select) == ModalResult::Ok)
        SelectedList = select.GetSelectedSigs();
}

QuoteFileSummary TEditForm::Summarize() const {
    if (SummarizeQuoteFile)
        return SummarizeQuoteFile(QuoteFileEdit.text);
    return {QuoteFileEdit.text, 0, kQuoteFileNotSet};
}

QuoteFileSummary TEditForm::Recount() {
    QuoteFileSummary summary = Summarize();
    QuoteCountLabel.text = summary.quotes ? QuoteCountText(summary.quotes) : summary.reason;
    return summary;
}

void TEditForm::QuoteFileEditChange() {
    Recount();
}

void TEditForm::QuoteBrowseButtonClick() {
    std::string folder = QuoteFolder;
    if (!QuoteFileEdit.text.empty()) {
        // The path alone, not what the file holds: Browse reads no file.
        const CodePage& codePage = platform_.AnsiCodePage();
        const std::string settingsFolder = QuoteFolder.empty() ? "" : QuoteFolder + "\\";
        std::string path = QuoteFilePath(QuoteFileEdit.text, settingsFolder, codePage);
        std::size_t separator = codePage.FindLastSeparator(path);
        if (separator != std::string::npos)
            folder = path.substr(0, separator);
    }
    if (std::optional<std::string> chosen = forms_.ChooseTextFile(folder)) {
        QuoteFileEdit.text = *chosen;
        QuoteFileEditChange();
    }
}

std::string QuoteCountText(std::size_t quotes) {
    std::string digits = std::to_string(quotes), text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text + (quotes == 1 ? " quote" : " quotes");
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
    // The file is read again: it may have changed since it was counted.
    if (result == ModalResult::Ok && GetMode() == kModeQuoteFile) {
        QuoteFileSummary summary = Recount();
        if (!summary.quotes) {
            platform_.ShowWarning(summary.reason);
            return false;
        }
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
    if (QuoteRadioButton.checked)
        return kModeQuoteFile;
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
        case kModeQuoteFile:
            SelectRadio(QuoteRadioButton);
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
    for (RadioButton* b :
         {&NoActionRadioButton, &SignatureRadioButton, &OnelineRadioButton, &QuoteRadioButton})
        b->checked = b == &button;
}

}  // namespace bk
