#pragma once
// Plays the user of the real dialogs from a helper thread while the test's
// main thread (the host's user-interface thread) sits in the plug-in's modal
// dialog: finds windows by caption, reads control states, clicks and types.
//
// GoogleTest assertions are not made on the helper thread: Check() records a
// failure and the test reports them after the helper is done. Every wait has a
// time limit and throws DialogUser::Timeout when it runs out.

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace bk::test {

class DialogUser {
public:
    struct Timeout : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    explicit DialogUser(DWORD uiThread) : uiThread_(uiThread) {}

    // ---- Windows ----
    // The dialog or message box ("#32770") of the UI thread with exactly this caption.
    HWND WaitForDialog(const std::string& caption);
    void WaitUntilGone(HWND window);
    // Waits for a message box with this caption, presses its OK button and
    // returns its text.
    std::string AnswerMessageBox(const std::string& caption);
    // Waits until `condition` holds.
    void WaitUntil(const std::function<bool()>& condition, const std::string& what);
    // Closes every dialog and message box the UI thread still shows (after a failure).
    void CloseEverything();

    // ---- Controls ----
    static HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
    static std::string Text(HWND window);
    static bool Checked(HWND button) {
        return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
    static bool Visible(HWND window) {
        return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    // A control's place in its dialog's client area: x, y, width, height.
    static RECT Place(HWND control);
    // The width of a control's caption (its "&" left out) in the control's font.
    static int CaptionWidth(HWND control);
    // The system DPI this process sees. Where the test runs with BK_LOGPIXELS
    // set (wine-run sets Wine's system DPI from it), a process that sees
    // another DPI is a failed set-up, which this reports through `Check`.
    int SystemDpi();
    // The background brush the dialog gives a memo when it paints.
    static HBRUSH MemoBrush(HWND dialog, HWND memo);

    // A list view with check boxes (the selection dialog's list). Titles are
    // read in the system code page; the current item is the one both selected
    // and focused, -1 for none.
    static int ItemCount(HWND list);
    static std::string ItemText(HWND list, int index);
    static bool ItemChecked(HWND list, int index);
    static int CurrentItem(HWND list);
    // An item's rectangle in the list's client area, and the part of it that
    // is its check box (found by hit tests, as the mouse would find it).
    static RECT ItemRect(HWND list, int index);
    static RECT ItemBox(HWND list, int index);

    // A click that returns once the dialog has handled it. Not for a click that
    // opens a dialog or a message box: use ClickLater and wait for the window.
    static void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
    static void ClickLater(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }
    // A mouse click at a point of a control's client area, posted as the
    // mouse would send it.
    static void ClickAt(HWND control, int x, int y);
    // Key presses, posted to the focused control as the keyboard would post
    // them, so that they pass the dialog manager. Characters: lower-case
    // letters, digits, blanks, '\t' (Tab), '\n' (Enter).
    static void PressKey(HWND focus, UINT virtualKey);
    static void Type(HWND focus, const std::string& keys);

    // ---- Results ----
    void Check(bool ok, const std::string& what) {
        if (!ok)
            failures.push_back(what);
    }
    std::vector<std::string> failures;

private:
    HWND FindDialog(const std::string& caption) const;

    DWORD uiThread_;
};

}  // namespace bk::test
