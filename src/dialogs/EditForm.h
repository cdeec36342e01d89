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

#include <cstddef>
#include <functional>
#include <string>

#include "dialogs/ControlLayout.h"
#include "dialogs/Controls.h"
#include "dialogs/FormHost.h"
#include "platform/Platform.h"

namespace bk {

inline constexpr const char* kEditFormCaption = "Setup for the additional message";
inline constexpr const char* kNoSentenceMessage = "Please set sentense(s) to add.";

// What the setup dialog learns of a quote file.
struct QuoteFileSummary {
    std::string path;        // the typed text as a path (a relative one taken from the settings
                             // file's folder); empty for an empty text
    std::size_t quotes = 0;  // how many quotes it holds
    std::string reason;      // why it holds none, when `quotes` is 0
};

// "1 quote", "1,204 quotes": the count as QuoteCountLabel shows it.
std::string QuoteCountText(std::size_t quotes);

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
    RadioButton QuoteRadioButton;
    TextLine QuoteFileEdit;  // "QuoteFile" as the user typed it
    Button QuoteBrowseButton;
    TextLine QuoteCountLabel;
    RadioGroup TimingRadioGroup;  // item index = addition timing
    CheckBox NoRepeatCheckBox;
    Button OkButton;
    Button CancelButton;

    // The mailbox directory whose signature files the selection dialog lists.
    std::string MailboxPath;
    // The restricted list in the full form (see CommaText.h): as loaded, or as
    // the selection dialog last returned it.
    std::string SelectedList;
    // The folder a relative quote file is taken from (the settings file's):
    // where the file dialog opens while no file is named.
    std::string QuoteFolder;
    // Reads the quote file that a typed text names and sums it up; may be
    // slow (the whole file is read), so it runs when typing pauses, on Browse
    // and on Ok. Without one, every file holds no quote.
    std::function<QuoteFileSummary(const std::string& typed)> SummarizeQuoteFile;

    // ---- Handlers ----
    // A click on any of the four radio buttons or on SelSigCheckBox: enables
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
    // The path in QuoteFileEdit changed (typed, chosen or loaded): QuoteCountLabel
    // says how many quotes the file holds, or why none.
    void QuoteFileEditChange();
    // Opens the system's file dialog in the folder of the current path; a
    // chosen file replaces the path and is counted at once.
    void QuoteBrowseButtonClick();
    // Runs before the dialog closes with Ok: removes the memo's empty lines.
    void OkButtonClick();
    // May the dialog close with `result`? Refuses (with a warning) Ok in
    // one-line mode when the memo holds no line, and Ok in quote file mode
    // when the file gives no quote (the warning says why).
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

    // Selects one of the four radio buttons and clears the others, as a
    // click on it does (the handler is not run).
    void SelectRadio(RadioButton& button);

private:
    // The memo's colour and NoRepeatCheckBox follow the choices' state.
    void FollowChoices();
    QuoteFileSummary Summarize() const;
    // Summarize, and show the result in QuoteCountLabel.
    QuoteFileSummary Recount();

    Platform& platform_;
    FormHost& forms_;
};

// The setup dialog's client area and controls, in tab order.
const DialogLayout<TEditForm>& EditFormLayout();

}  // namespace bk
