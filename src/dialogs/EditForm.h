#pragma once
// TEditForm: the setup dialog's logic, apart from any window. It edits one
// settings section: the addition mode (three radio buttons, the restrict check
// box and, in a folder setup, UseDefaultCheckBox), the timing
// (TimingRadioGroup), the restricted list (SelectedList, chosen in the
// selection dialog), the one-line list (FortuneMemo, one entry per line) and
// the fair order (NoRepeatCheckBox: nothing comes again until all have been
// added).
//
// RunSetup fills the form, shows it through a FormHost and saves what it holds
// after Ok.

#include <string>

#include "dialogs/ControlLayout.h"
#include "dialogs/Controls.h"
#include "dialogs/FormHost.h"
#include "platform/Platform.h"

namespace bk {

inline constexpr const char* kEditFormCaption = "Setup for the additional message";
inline constexpr const char* kNoSentenceMessage = "Please set sentense(s) to add.";

class TEditForm {
public:
    // `platform` shows the refusal and lists signature files; `forms` shows the
    // selection dialog. Both must outlive the form.
    TEditForm(Platform& platform, FormHost& forms);
    TEditForm(const TEditForm&) = delete;
    TEditForm& operator=(const TEditForm&) = delete;

    std::string Caption = kEditFormCaption;

    // Controls, in tab order.
    CheckBox UseDefaultCheckBox;
    RadioButton NoActionRadioButton;
    RadioButton SignatureRadioButton;
    CheckBox SelSigCheckBox;
    Button SelSigButton;
    RadioButton OnelineRadioButton;
    Memo FortuneMemo;
    RadioGroup TimingRadioGroup;  // item index = addition timing
    CheckBox NoRepeatCheckBox;
    Button OkButton;
    Button CancelButton;

    // The mailbox directory whose signature files the selection dialog lists.
    std::string MailboxPath;
    // The restricted list in the full form (see CommaText.h): as loaded, or as
    // the selection dialog last returned it.
    std::string SelectedList;

    // ---- Handlers ----
    // A click on any of the three radio buttons or on SelSigCheckBox: enables
    // what the selected mode uses.
    void RadioButtonsClick();
    // A click on UseDefaultCheckBox: all choices are disabled while it is checked.
    void UseDefaultCheckBoxClick();
    // Both leave NoRepeatCheckBox enabled exactly when the section's own mode
    // picks a signature or a line (UseDefaultCheckBox unchecked): a folder that
    // follows the default setup shares its order.
    // Opens the selection dialog on MailboxPath with SelectedList checked; its
    // Ok replaces SelectedList. A listing failure throws (the dialog is not shown).
    void SelSigButtonClick();
    // Runs before the dialog closes with Ok: removes the memo's empty lines.
    void OkButtonClick();
    // May the dialog close with `result`? Refuses (with a warning) Ok in
    // one-line mode when the memo holds no line.
    bool FormCloseQuery(ModalResult result);

    // ---- Operations ----
    // The mode the controls express, one of the kMode values of Schema.h.
    int GetMode() const;
    // Sets the controls from a stored mode; an unknown mode changes nothing.
    void SetMode(int mode);
    // Appends " - " and `name` to the caption.
    void SetFolderName(const std::string& name);
    // True when UseDefaultCheckBox is hidden (editing the default setup).
    bool IsDefaultSetup() const;
    void SetDefaultSetup(bool isDefault);

    // Selects one of the three radio buttons and clears the other two, as a
    // click on it does (the handler is not run).
    void SelectRadio(RadioButton& button);

private:
    // The memo's colour and NoRepeatCheckBox follow the choices' state.
    void FollowChoices();

    Platform& platform_;
    FormHost& forms_;
};

// The setup dialog's client area and controls, in tab order.
const DialogLayout<TEditForm>& EditFormLayout();

}  // namespace bk
