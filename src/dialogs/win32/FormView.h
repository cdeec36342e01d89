#pragma once
// The Win32 view of a form: makes real controls from the form's layout table,
// copies the form's state to them after every handler and the user's input back
// before one, and turns clicks into calls of the form's handlers. It holds no
// state of its own beyond what the controls show.
//
// A handler that throws is reported in an error box and the dialog stays open.

#include <functional>
#include <string>
#include <vector>

#include "dialogs/FormHost.h"
#include "dialogs/win32/BoundControl.h"
#include "dialogs/win32/DialogBase.h"
#include "dialogs/win32/DialogFonts.h"
#include "platform/Platform.h"

namespace bk {

// What a view needs of its form beyond the controls.
struct DialogFrame {
    std::string* caption;  // the form's caption, shown in the title bar
    int clientWidth, clientHeight;
    // The form's close check, or empty for a dialog that always closes.
    std::function<bool(ModalResult)> closeQuery;
};

class FormView : private DialogBase {
public:
    FormView(Platform& platform, std::vector<BoundControl> controls, DialogFrame frame);

    // Shows the dialog owned by `owner` until it closes. Throws
    // std::runtime_error when it can't be created or its controls can't.
    ModalResult ShowModal(HINSTANCE instance, HWND owner);

    // The dialog of this thread that was opened last and is still open, or null.
    static HWND Topmost();

private:
    INT_PTR OnInitDialog() override;
    INT_PTR OnCommand(int id, int code, HWND control) override;
    INT_PTR OnCtlColor(HDC dc, HWND control) override;
    INT_PTR OnMeasureItem(MEASUREITEMSTRUCT& item) override;
    INT_PTR OnDrawItem(const DRAWITEMSTRUCT& item) override;
    INT_PTR OnClose() override;
    void OnDestroy() override;

    void CreateControls();
    void Push();
    void Pull();
    void Click(BoundControl& control);
    void TryClose(ModalResult result);
    void PlaceWindow();
    BoundControl* Find(int id);
    BoundControl* FindByWindow(HWND window);

    Platform& platform_;
    std::vector<BoundControl> controls_;
    DialogFrame frame_;
    std::string shownCaption_;
    std::string failure_;  // why the dialog could not be built
    UniqueFont dialogFont_;
    UniqueFont memoFont_;
    HWND previousTopmost_ = nullptr;
};

}  // namespace bk
