#include "support/DialogUser.h"

#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace bk::test {
namespace {

constexpr auto kPatience = std::chrono::seconds(15);

struct Search {
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    if (search->caption && DialogUser::Text(window) != *search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND DialogUser::FindDialog(const std::string& caption) const {
    Search search{&caption, nullptr};
    EnumThreadWindows(uiThread_, &MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void DialogUser::WaitUntil(const std::function<bool()>& condition, const std::string& what) {
    auto end = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            throw Timeout("timed out waiting for " + what);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

HWND DialogUser::WaitForDialog(const std::string& caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindDialog(caption)) != nullptr; }, "\"" + caption + "\"");
    return found;
}

void DialogUser::WaitUntilGone(HWND window) {
    WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, "a window to close");
}

std::string DialogUser::AnswerMessageBox(const std::string& caption) {
    HWND box = WaitForDialog(caption);
    std::string text = Text(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntilGone(box);
    return text;
}

void DialogUser::CloseEverything() {
    for (int round = 0; round < 200; ++round) {
        Search search{nullptr, nullptr};
        EnumThreadWindows(uiThread_, &MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            return;
        PostMessageA(search.found, WM_CLOSE, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::string DialogUser::Text(HWND window) {
    char buffer[4096] = {};
    int n = GetWindowTextA(window, buffer, sizeof buffer);
    if (n < static_cast<int>(sizeof buffer) - 1)
        return std::string(buffer, n > 0 ? n : 0);
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    n = GetWindowTextA(window, text.data(), length + 1);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

RECT DialogUser::Place(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return RECT{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int DialogUser::CaptionWidth(HWND control) {
    std::string caption = Text(control);
    if (std::size_t amp = caption.find('&'); amp != std::string::npos)
        caption.erase(amp, 1);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

int DialogUser::SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (const char* wanted = std::getenv("BK_LOGPIXELS"))
        Check(dpi == std::atoi(wanted),
              "the system DPI is " + std::to_string(dpi) + ", not BK_LOGPIXELS=" + wanted);
    return dpi;
}

HBRUSH DialogUser::MemoBrush(HWND dialog, HWND memo) {
    HDC dc = CreateCompatibleDC(nullptr);
    UINT message = (Enabled(memo) && !(GetWindowLongA(memo, GWL_STYLE) & ES_READONLY))
                       ? WM_CTLCOLOREDIT
                       : WM_CTLCOLORSTATIC;
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
        dialog, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(memo)));
    DeleteDC(dc);
    return brush;
}

void DialogUser::ClickAt(HWND control, int x, int y) {
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void DialogUser::PressKey(HWND focus, UINT virtualKey) {
    UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(focus, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageA(focus, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

void DialogUser::Type(HWND focus, const std::string& keys) {
    for (char c : keys) {
        if (c == '\t')
            PressKey(focus, VK_TAB);
        else if (c == '\n')
            PressKey(focus, VK_RETURN);
        else
            PressKey(focus, LOBYTE(VkKeyScanA(c)));
    }
}

}  // namespace bk::test

namespace bk::test {

int DialogUser::ItemCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string DialogUser::ItemText(HWND list, int index) {
    char text[512] = {};
    LVITEMA item{};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

bool DialogUser::ItemChecked(HWND list, int index) {
    return static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK)) ==
           INDEXTOSTATEIMAGEMASK(2);
}

int DialogUser::CurrentItem(HWND list) {
    return static_cast<int>(
        SendMessageA(list, LVM_GETNEXTITEM, -1, MAKELPARAM(LVNI_SELECTED | LVNI_FOCUSED, 0)));
}

RECT DialogUser::ItemRect(HWND list, int index) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

RECT DialogUser::ItemBox(HWND list, int index) {
    RECT item = ItemRect(list, index), box{0, item.top, 0, item.bottom};
    for (int x = item.left; x < item.right; ++x) {
        LVHITTESTINFO hit{};
        hit.pt = {x, (item.top + item.bottom) / 2};
        SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        bool onBox = hit.iItem == index && (hit.flags & LVHT_ONITEMSTATEICON) != 0;
        if (onBox && box.right == 0)
            box.left = x;
        if (onBox)
            box.right = x + 1;
        else if (box.right != 0)
            break;
    }
    return box;
}

}  // namespace bk::test
