#pragma once
// TSelectSigForm: the signature selection dialog's logic, apart from any
// window. It lists the signature files of one mailbox directory as checkable
// items titled by their signatures' titles, previews the file of the item last
// made current, and turns the checked items into a restricted list text.
//
// The setup dialog uses it in this order: LoadSignatureList, SetSelectedSigs,
// show it modally, and after Ok only, GetSelectedSigs. It has no close check:
// any choice of items, none included, is accepted.

#include <string>

#include "dialogs/ControlLayout.h"
#include "dialogs/Controls.h"
#include "platform/Platform.h"
#include "settings/SignatureFiles.h"

namespace bk {

inline constexpr const char* kSelectSigCaption = "Select Signature";
// What this dialog shows when a mailbox has no signature file, and the first
// line of the picker's warning then (core/Picker.h).
inline constexpr const char* kNoSignatureFileMessage = "No signature file found.";
inline constexpr const char* kPreviewPlaceholder = "(preview)";

class TSelectSigForm {
public:
    // `platform` lists and reads the files and shows the warning; it must
    // outlive the form.
    explicit TSelectSigForm(Platform& platform);
    TSelectSigForm(const TSelectSigForm&) = delete;
    TSelectSigForm& operator=(const TSelectSigForm&) = delete;

    std::string Caption = kSelectSigCaption;

    // Controls, in tab order.
    Label CheckLabel;
    CheckListBox SigCheckListBox;  // items in the order the search found the files
    Memo SigPreviewMemo;
    Button OkButton;
    Button CancelButton;

    // The directory given to LoadSignatureList; file names are appended to it
    // directly (no separator added).
    std::string MailboxPath;

    // ---- Handlers ----
    // The current item changed (by mouse or keyboard): preview its file. A file
    // that can't be read throws FileError and the preview stays as it was.
    void SigCheckListBoxClick();

    // ---- Operations ----
    // Lists the signature files of `path` (SignatureSearchPattern) as unchecked
    // items. Warns kNoSignatureFileMessage when there is none. Throws
    // SignatureNumberError at the first name whose number is not hexadecimal
    // (the listing is of no use then).
    void LoadSignatureList(const std::string& path);
    // Checks the first item of each title that `text` names (letter case
    // ignored); `text` is a restricted list in the full form.
    void SetSelectedSigs(const std::string& text);
    // The checked items' titles in list order, as a restricted list in the full
    // form; empty when none is checked.
    std::string GetSelectedSigs() const;

private:
    Platform& platform_;
};

// The selection dialog's client area and controls, in tab order.
const DialogLayout<TSelectSigForm>& SelectSigFormLayout();

}  // namespace bk
