#pragma once
// Shows the plug-in's two dialogs modally. The Win32 implementation creates
// the real windows and runs their message loop until the dialog closes; native
// tests script the user instead. The forms themselves know nothing of windows.
//
// A host runs a form's handlers through RunHandler (HandlerGuard.h). ShowModal
// returns once the dialog has closed; the form then holds what the user left in
// its controls.

#include <optional>
#include <string>

namespace bk {

class TEditForm;
class TSelectSigForm;

enum class ModalResult { Ok, Cancel };

class FormHost {
public:
    virtual ~FormHost() = default;
    virtual ModalResult ShowModal(TEditForm& form) = 0;
    virtual ModalResult ShowModal(TSelectSigForm& form) = 0;
    // The system's dialog for opening a file, offering text files and all
    // files, opened in `folder` (empty: wherever the system chooses). The
    // chosen file's full path, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseTextFile(const std::string& folder) = 0;
};

}  // namespace bk
