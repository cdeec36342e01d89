#pragma once
// The FormHost of the DLL: shows the forms as real modal dialogs. The setup
// dialog is owned by the thread's active window (the host's main window, which
// it disables while shown); a dialog opened from an open dialog is owned by it.
// The DLL creates it in attach, under the loader lock: its constructor only
// records its two arguments. Window classes, controls and fonts come when a form
// is shown, on the host's thread.

#include "dialogs/FormHost.h"
#include "platform/Platform.h"
#include "platform/win32/ThemeContext.h"
#include "platform/win32/WindowsApi.h"

namespace bk {

class Win32FormHost : public FormHost {
public:
    // `instance`: the module whose dialogs these are (the DLL). `platform`
    // shows the error boxes of failing handlers; `theme` is the activation
    // context the dialogs are created and run in. Both must outlive this object.
    Win32FormHost(HINSTANCE instance, Platform& platform, ThemeContext& theme);

    ModalResult ShowModal(TEditForm& form) override;
    ModalResult ShowModal(TSelectSigForm& form) override;
    // GetOpenFileNameA of comdlg32, loaded on first use (the DLL does not
    // import it: attaching loads nothing more). Throws std::runtime_error when
    // the dialog can't be shown.
    std::optional<std::string> ChooseTextFile(const std::string& folder) override;

private:
    HWND Owner() const;

    HINSTANCE instance_;
    Platform& platform_;
    ThemeContext& theme_;
};

}  // namespace bk
