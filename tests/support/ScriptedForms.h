#pragma once
// A FormHost that plays the user: each ShowModal runs the script given for
// that dialog, which reads and changes the form's controls and runs its
// handlers as a click would, then says how the dialog closed. Without a script
// a dialog is closed with Cancel at once.

#include <functional>

#include "dialogs/EditForm.h"
#include "dialogs/FormHost.h"
#include "dialogs/HandlerGuard.h"
#include "dialogs/SelectSigForm.h"

namespace bk::test {

class ScriptedForms : public FormHost {
public:
    std::function<ModalResult(TEditForm&)> onEdit;
    std::function<ModalResult(TSelectSigForm&)> onSelect;
    // The file dialog: given the folder it opens in; without a script, cancelled.
    std::function<std::optional<std::string>(const std::string&)> onChooseFile;
    int editShown = 0;
    int selectShown = 0;

    ModalResult ShowModal(TEditForm& form) override {
        ++editShown;
        return onEdit ? onEdit(form) : ModalResult::Cancel;
    }
    ModalResult ShowModal(TSelectSigForm& form) override {
        ++selectShown;
        return onSelect ? onSelect(form) : ModalResult::Cancel;
    }
    std::optional<std::string> ChooseTextFile(const std::string& folder) override {
        return onChooseFile ? onChooseFile(folder) : std::nullopt;
    }
};

// What a press of the setup dialog's Ok does: OkButtonClick, then the close
// check. True when the dialog may close.
inline bool PressOk(TEditForm& form) {
    form.OkButtonClick();
    return form.FormCloseQuery(ModalResult::Ok);
}

}  // namespace bk::test
