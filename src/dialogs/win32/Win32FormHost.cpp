#include "dialogs/win32/Win32FormHost.h"

#include <commdlg.h>

#include <stdexcept>
#include <vector>

#include "dialogs/EditForm.h"
#include "dialogs/SelectSigForm.h"
#include "dialogs/win32/FormView.h"

namespace bk {
namespace {

struct FileDialogFunctions {
    BOOL(WINAPI* getOpenFileName)(OPENFILENAMEA*) = nullptr;
    DWORD(WINAPI* extendedError)() = nullptr;
};

// comdlg32 stays loaded for the process once a file dialog has been shown.
const FileDialogFunctions& FileDialog() {
    static const FileDialogFunctions functions = [] {
        FileDialogFunctions found;
        HMODULE module = GetModuleHandleA("comdlg32.dll");
        if (!module)
            module = LoadLibraryA("comdlg32.dll");
        if (module) {
            found.getOpenFileName = reinterpret_cast<decltype(found.getOpenFileName)>(
                reinterpret_cast<void*>(GetProcAddress(module, "GetOpenFileNameA")));
            found.extendedError = reinterpret_cast<decltype(found.extendedError)>(
                reinterpret_cast<void*>(GetProcAddress(module, "CommDlgExtendedError")));
        }
        return found;
    }();
    return functions;
}

}  // namespace

Win32FormHost::Win32FormHost(HINSTANCE instance, Platform& platform, ThemeContext& theme)
    : instance_(instance), platform_(platform), theme_(theme) {}

HWND Win32FormHost::Owner() const {
    HWND open = FormView::Topmost();
    return open ? open : GetActiveWindow();
}

ModalResult Win32FormHost::ShowModal(TEditForm& form) {
    FormView view(platform_, EditFormLayout(), form, form.Caption,
                  [&form](ModalResult result) { return form.FormCloseQuery(result); });
    // Active from the dialog's creation to its end: its controls, and whatever
    // its handlers open, are made inside the modal loop.
    auto themed = theme_.Activate();
    return view.ShowModal(instance_, Owner());
}

ModalResult Win32FormHost::ShowModal(TSelectSigForm& form) {
    FormView view(platform_, SelectSigFormLayout(), form, form.Caption);
    auto themed = theme_.Activate();
    return view.ShowModal(instance_, Owner());
}

}  // namespace bk

namespace bk {

std::optional<std::string> Win32FormHost::ChooseTextFile(const std::string& folder) {
    const FileDialogFunctions& dialog = FileDialog();
    if (!dialog.getOpenFileName)
        throw std::runtime_error("The file dialog could not be opened.");
    static const char kFilter[] = "Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
    std::vector<char> path(4096, '\0');
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = Owner();
    request.lpstrFilter = kFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = path.data();
    request.nMaxFile = static_cast<DWORD>(path.size());
    request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                    OFN_NOCHANGEDIR;
    auto themed = theme_.Activate();
    if (dialog.getOpenFileName(&request))
        return std::string(path.data());
    if (dialog.extendedError && dialog.extendedError() != 0)
        throw std::runtime_error("The file dialog could not be opened.");
    return std::nullopt;  // cancelled
}

}  // namespace bk
