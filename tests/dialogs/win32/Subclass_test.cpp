// A subclassed control under Wine: what the filter answers stays with it, what
// it passes on or throws reaches the control, and nothing it throws reaches
// user32 (with DWARF unwinding that would end the host process).
#include "dialogs/win32/Subclass.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace bk {
namespace {

// Swallows 'x', throws on 'e' (a C++ exception) and 'i' (anything at all),
// passes on everything else.
std::optional<LRESULT> Filter(HWND, UINT message, WPARAM wParam, LPARAM, WNDPROC) {
    if (message != WM_CHAR)
        return std::nullopt;
    if (wParam == 'x')
        return 0;
    if (wParam == 'e')
        throw std::runtime_error("injected");
    if (wParam == 'i')
        throw 42;
    return std::nullopt;
}

TEST(Subclass, TheControlGetsWhatTheFilterDoesNotAnswer) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    Subclass(edit, &Filter);
    for (char c : std::string("axeib")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
    char text[16] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "aeib");
    EXPECT_TRUE(DestroyWindow(edit));  // the subclass removes itself
}

}  // namespace
}  // namespace bk
