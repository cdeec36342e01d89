// Exceptions inside the dialog procedure under Wine: while the setup dialog and
// the selection dialog are open, every allocation that a user action makes on
// the dialog's thread fails in turn (std::bad_alloc from operator new, replaced
// below), which throws from the procedure itself and from the handlers it
// runs. After each fault the dialog is still open and answers, only error boxes
// were shown, and at the end it closes as the user asks. (The subclassed
// controls' procedure is checked with a throwing filter in Subclass_test.)
// And each window a dialog is built of (the dialog, its controls, a radio
// group's items) is refused in turn: the dialog is never shown, ShowModal
// throws, and none of the dialog's windows is left.
#include "platform/win32/WindowsApi.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <thread>

#include "dialogs/EditForm.h"
#include "dialogs/SelectSigForm.h"
#include "dialogs/win32/FormView.h"
#include "dialogs/win32/Win32FormHost.h"
#include "platform/win32/Win32Platform.h"
#include "settings/Schema.h"
#include "support/DialogUser.h"
#include "support/TempDir.h"

namespace {

std::atomic<DWORD> g_uiThread{0};
std::atomic<long> g_failIn{0};   // > 0: that many allocations on the UI thread, the last fails
std::atomic<long> g_counted{0};  // allocations on the UI thread so far

}  // namespace

// The replacement pair below is malloc and free throughout; GCC can't see that
// through inlined library code and warns at the free.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (GetCurrentThreadId() == g_uiThread.load()) {
        ++g_counted;
        if (g_failIn.load() > 0 && g_failIn.fetch_sub(1) == 1)
            throw std::bad_alloc();
    }
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace bk::test {
namespace {

using U = DialogUser;

// Error boxes are recorded, not shown: the user thread has nothing to answer.
class RecordingPlatform : public Win32Platform {
public:
    void ShowWarning(const std::string& text) override { Record(text); }
    void ShowError(const std::string& text) override { Record(text); }
    std::vector<std::string> Messages() {
        std::lock_guard<std::mutex> lock(mutex_);
        return messages_;
    }

private:
    void Record(const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back(text);
    }
    std::mutex mutex_;
    std::vector<std::string> messages_;
};

struct Action {
    const char* name;
    std::function<void(HWND dialog)> act;  // sends its messages: they are handled on return
};

int EditControl(const char* field) {
    return ControlIdOf(EditFormLayout(), field);
}
int SelectControl(const char* field) {
    return ControlIdOf(SelectSigFormLayout(), field);
}

void Command(HWND dialog, int id, int code) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Each allocation of each action fails in turn; afterwards the dialog is open
// and answers.
void FailEachAllocation(DialogUser& user, HWND dialog, const std::vector<Action>& actions,
                        int& faults) {
    for (const Action& action : actions) {
        g_counted = 0;
        action.act(dialog);
        const long allocations = g_counted.load();
        user.Check(allocations > 0, std::string(action.name) + ": no allocation to fail");
        for (long k = 1; k <= allocations; ++k) {
            g_failIn = k;
            action.act(dialog);
            g_failIn = 0;
            ++faults;
            DWORD_PTR answer = 0;
            user.Check(IsWindow(dialog) && SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_BLOCK,
                                                               5000, &answer) != 0,
                       std::string(action.name) + ": dialog gone after fault " + std::to_string(k));
        }
    }
}

TEST(WindowProcFaults, EveryAllocationOfEveryActionFailsInTurn) {
    TempDir dir;
    dir.Write("$$$00001Alpha.txt", "alpha text");
    dir.Write("$$$00002Beta.txt", "beta text");
    RecordingPlatform platform;
    Win32FormHost forms(GetModuleHandleA(nullptr), platform, platform.Theme());
    TEditForm form(platform, forms);
    form.SetFolderName("(default)");
    form.SetDefaultSetup(true);
    form.SetMode(kModeOneLine);
    form.FortuneMemo.lines = {"one", "two"};
    form.MailboxPath = dir.Join("");

    const std::vector<Action> editActions = {
        {"radio button",
         [](HWND d) { Command(d, EditControl("SignatureRadioButton"), BN_CLICKED); }},
        {"check box", [](HWND d) { Command(d, EditControl("SelSigCheckBox"), BN_CLICKED); }},
        {"timing item",
         [](HWND d) { Command(d, EditControl("TimingRadioGroup") + 1, BN_CLICKED); }},
    };
    const std::vector<Action> selectActions = {
        {"list item",
         [](HWND d) {
             // The list view tells the dialog of the item it makes current.
             HWND list = GetDlgItem(d, SelectControl("SigCheckListBox"));
             LVITEMA item{};
             item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
             SendMessageA(list, LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&item));
             item.state = item.stateMask;
             SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
         }},
    };

    int faults = 0;
    DialogUser user(GetCurrentThreadId());
    std::thread helper([&] {
        try {
            HWND edit = user.WaitForDialog("Setup for the additional message - (default)");
            FailEachAllocation(user, edit, editActions, faults);
            U::ClickLater(GetDlgItem(edit, EditControl("SelSigButton")));
            HWND select = user.WaitForDialog("Select Signature");
            FailEachAllocation(user, select, selectActions, faults);
            U::ClickLater(GetDlgItem(select, SelectControl("OkButton")));
            user.WaitUntilGone(select);
            U::ClickLater(GetDlgItem(edit, EditControl("CancelButton")));
            user.WaitUntilGone(edit);
        } catch (const std::exception& e) {
            user.Check(false, e.what());
            user.CloseEverything();
        }
    });
    g_uiThread = GetCurrentThreadId();
    ModalResult result = ModalResult::Ok;
    EXPECT_NO_THROW(result = forms.ShowModal(form));
    g_uiThread = 0;
    helper.join();
    for (const std::string& failure : user.failures) ADD_FAILURE() << failure;
    EXPECT_EQ(result, ModalResult::Cancel);
    for (const std::string& text : platform.Messages())
        EXPECT_TRUE(text == std::bad_alloc().what() || text == kNoSignatureFileMessage) << text;
    std::printf("%d allocation failures inside the window procedures\n", faults);
}

// A CBT hook of the UI thread that counts the windows of a dialog being built
// (the dialog, then each window whose parent it is) and refuses one of them.
struct Refusal {
    int refuse = 0;  // which window to refuse, from 1 (the dialog)
    int asked = 0;   // the dialog's windows asked for so far
    bool shown = false;
    std::vector<HWND> windows;  // each of them, the dialog first
};
Refusal g_refusal;

bool IsDialog(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, "#32770") == 0;
}

LRESULT CALLBACK RefuseOneWindow(int code, WPARAM wParam, LPARAM lParam) {
    auto window = reinterpret_cast<HWND>(wParam);
    Refusal& r = g_refusal;
    if (code == HCBT_CREATEWND) {
        HWND parent = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->hwndParent;
        if (IsDialog(window) || (!r.windows.empty() && parent == r.windows.front())) {
            r.windows.push_back(window);
            if (++r.asked == r.refuse)
                return 1;  // CreateWindowEx fails
        }
    } else if (code == HCBT_ACTIVATE && IsDialog(window)) {
        r.shown = true;  // a failure: close it rather than wait for a user
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(WindowProcFaults, ADialogThatCantBeBuiltIsNotShownAndLeavesNoWindow) {
    RecordingPlatform platform;
    Win32FormHost forms(GetModuleHandleA(nullptr), platform, platform.Theme());
    TEditForm edit(platform, forms);
    TSelectSigForm select(platform);
    struct Case {
        const char* dialog;
        std::function<void()> show;
        std::size_t windows;
    } cases[] = {
        {"setup", [&] { forms.ShowModal(edit); },
         1 + EditFormLayout().rows.size() + edit.TimingRadioGroup.items.size()},
        {"selection", [&] { forms.ShowModal(select); }, 1 + SelectSigFormLayout().rows.size()},
    };
    HHOOK hook = SetWindowsHookExA(WH_CBT, &RefuseOneWindow, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    for (const Case& c : cases) {
        for (int k = 1; k <= static_cast<int>(c.windows); ++k) {
            SCOPED_TRACE(std::string(c.dialog) + " dialog, window " + std::to_string(k));
            g_refusal = Refusal{k};
            std::string error = "(no exception)";
            try {
                c.show();
            } catch (const std::runtime_error& e) {
                error = e.what();
            }
            EXPECT_EQ(error, k == 1 ? "The dialog could not be created."
                                    : "A dialog control could not be created.");
            EXPECT_EQ(g_refusal.asked, k) << "windows asked for after the refused one";
            EXPECT_FALSE(g_refusal.shown);
            EXPECT_TRUE(std::none_of(g_refusal.windows.begin(), g_refusal.windows.end(),
                                     [](HWND w) { return IsWindow(w) != FALSE; }));
            EXPECT_EQ(FormView::Topmost(), nullptr);  // the next dialog's owner is not a dead one
        }
    }
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(platform.Messages().empty()) << "the caller tells the user, not the view";
}

}  // namespace
}  // namespace bk::test
