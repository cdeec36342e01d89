// The signature selection dialog of the real DLL under Wine, opened from the
// setup dialog: the listing, the check marks by mouse and keyboard, the
// preview, and the restricted list that comes back.
#include <gtest/gtest.h>
#include <windows.h>

#include <uxtheme.h>  // after <windows.h>, which it needs

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "support/DialogFixture.h"

namespace bk::test {
namespace {

using U = DialogUser;

HWND EditCtl(HWND dialog, const char* field) {
    return U::Item(dialog, EditId(field));
}
HWND SelCtl(HWND dialog, const char* field) {
    return U::Item(dialog, SelectId(field));
}

struct Item {
    std::string title;
    bool checked;
};

std::vector<Item> Items(HWND list) {
    std::vector<Item> items;
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[512] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back({text, SendMessageA(list, LB_GETITEMDATA, i, 0) != 0});
    }
    return items;
}

int IndexOf(HWND list, const std::string& title) {
    std::vector<Item> items = Items(list);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].title == title)
            return static_cast<int>(i);
    return -1;
}

bool IsChecked(HWND list, int index) {
    return SendMessageA(list, LB_GETITEMDATA, index, 0) != 0;
}
int Current(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
}

// A click on an item's title (not its check box), and on its check box.
RECT ItemRect(HWND list, int index) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}
void ClickTitle(HWND list, int index) {
    RECT r = ItemRect(list, index);
    U::ClickAt(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
void ClickBox(HWND list, int index) {
    RECT r = ItemRect(list, index);
    U::ClickAt(list, r.left + (r.bottom - r.top) / 2, (r.top + r.bottom) / 2);
}

// Opens the selection dialog from the setup dialog `d`.
HWND OpenSelection(U& u, HWND d) {
    U::ClickLater(EditCtl(d, "SelSigButton"));
    return u.WaitForDialog(kSelectCaption);
}

const std::map<std::string, std::string> kContents = {
    {"Alpha", "alpha\r\n"}, {"Beta", "beta line 1\r\nbeta line 2\r\n"}, {"Gamma", "gamma\r\n"}};

class SelectDialogTest : public DialogTest {
protected:
    SelectDialogTest() {
        WriteSignature("$$$00001Alpha.txt", "alpha");
        WriteSignature("$$$0000aBeta.txt", "beta line 1\r\nbeta line 2");
        WriteSignature("$$$00010Gamma.txt", "gamma");
    }
};

TEST_F(SelectDialogTest, ListsChecksPreviewsAndReturnsTheChoice) {
    WriteSettings("[Options]\r\nMode=3\r\nSelectedSigs=\"Gamma\",\"alpha\"\r\n");
    ASSERT_TRUE(Load());
    std::vector<Item> final;  // the marks when Enter was pressed
    RunDefaultSetup([&](U& u) {
        HWND d = u.WaitForDialog(kDefaultCaption);
        HWND s = OpenSelection(u, d);
        u.Check(GetWindow(s, GW_OWNER) == d, "owned by the setup dialog");
        u.Check(!U::Enabled(d), "the setup dialog takes no input");
        const int dpi = u.SystemDpi();
        RECT client;
        GetClientRect(s, &client);
        u.Check(client.right == ScaleToDpi(466, dpi) && client.bottom == ScaleToDpi(239, dpi),
                "client area is 466 x 239 at 96 DPI, scaled");

        struct {
            const char* field;
            const char* caption;
            Rect place;  // at 96 DPI
        } rows[] = {
            {"CheckLabel",
             "The signature to be added is selected from checked items.",
             {16, 16, 321, 15}},
            {"SigCheckListBox", "", {8, 40, 337, 89}},
            {"SigPreviewMemo", "(preview)\r\n", {8, 136, 450, 89}},
            {"OkButton", "&Ok", {376, 16, 75, 25}},
            {"CancelButton", "&Cancel", {376, 56, 75, 25}},
        };
        for (const auto& row : rows) {
            HWND c = SelCtl(s, row.field);
            RECT p = U::Place(c);
            Rect want = ScaleToDpi(row.place, dpi);
            u.Check(c && p.left == want.x && p.top == want.y && p.right == want.width &&
                        p.bottom == want.height,
                    std::string(row.field) + " at its place");
            u.Check(U::Text(c) == row.caption, std::string(row.field) + " caption");
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageA(c, WM_GETFONT, 0, 0)), sizeof font,
                       &font);
            bool memo = std::string(row.field) == "SigPreviewMemo";
            u.Check(font.lfHeight == -ScaleToDpi(12, dpi) &&
                        (memo || std::wstring(font.lfFaceName) == L"Arial") &&
                        (!memo || (font.lfPitchAndFamily & 3) == FIXED_PITCH),
                    std::string(row.field) + " font");
            if (!memo && *row.caption)
                u.Check(U::CaptionWidth(c) <= want.width, std::string(row.field) + " caption fits");
        }
        HWND list = SelCtl(s, "SigCheckListBox");
        HWND preview = SelCtl(s, "SigPreviewMemo");
        u.Check(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0) == ScaleToDpi(15, dpi),
                "item height 15 at 96 DPI, scaled");
        LONG previewStyle = GetWindowLongA(preview, GWL_STYLE);
        u.Check((previewStyle & ES_READONLY) && (previewStyle & WS_VSCROLL) &&
                    !(previewStyle & WS_HSCROLL) && !(previewStyle & ES_AUTOHSCROLL),
                "preview: read-only, wrapping, vertical scroll bar");
        u.Check(U::MemoBrush(s, preview) == GetSysColorBrush(COLOR_WINDOW), "preview colour");
        u.Check(
            (GetWindowLongA(SelCtl(s, "OkButton"), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON,
            "Ok is the default button");
        u.Check(!(GetWindowLongA(SelCtl(s, "CheckLabel"), GWL_STYLE) & WS_TABSTOP),
                "the label takes no focus");

        std::vector<std::string> order;
        for (const Item& item : Items(list)) order.push_back(item.title);
        std::vector<std::string> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        u.Check(sorted == std::vector<std::string>{"Alpha", "Beta", "Gamma"}, "one item per file");
        for (const Item& item : Items(list))
            u.Check(item.checked == (item.title != "Beta"), item.title + " checked as stored");

        int beta = IndexOf(list, "Beta");
        ClickTitle(list, beta);
        u.WaitUntil([&] { return U::Text(preview) == "beta line 1\r\nbeta line 2\r\n"; },
                    "the preview of Beta");
        u.Check(Current(list) == beta && !IsChecked(list, beta),
                "a click on the title only selects");
        ClickBox(list, beta);
        u.WaitUntil([&] { return IsChecked(list, beta); }, "a click on the box to check Beta");
        U::PressKey(list, VK_SPACE);
        u.WaitUntil([&] { return !IsChecked(list, beta); }, "Space to uncheck Beta");
        U::PressKey(list, VK_HOME);
        u.WaitUntil([&] { return Current(list) == 0; }, "Home to reach the first item");
        std::string first = Items(list)[0].title;
        u.WaitUntil([&] { return U::Text(preview) == kContents.at(first); },
                    "the preview to follow the keyboard");
        bool wasChecked = IsChecked(list, 0);
        U::PressKey(list, VK_SPACE);
        u.WaitUntil([&] { return IsChecked(list, 0) != wasChecked; }, "Space on the first item");
        final = Items(list);
        U::PressKey(list, VK_RETURN);  // Enter: the default button
        u.WaitUntilGone(s);
        u.Check(U::Enabled(d), "the setup dialog is back");
        U::Click(EditCtl(d, "OkButton"));
        u.WaitUntilGone(d);
    });
    ASSERT_EQ(final.size(), 3u);
    std::string expected;  // the checked titles in list order, in the full form
    for (const Item& item : final)
        if (item.checked)
            expected += (expected.empty() ? "\"" : ",\"") + item.title + "\"";
    EXPECT_NE(SettingsText().find("SelectedSigs=" + expected + "\r\n"), std::string::npos)
        << SettingsText();
    EXPECT_EQ(Profile("Options", "Mode"), "3");
}

TEST_F(SelectDialogTest, ReopeningChecksTheLastChoiceAndCancelKeepsIt) {
    const std::string before = "[Options]\r\nMode=3\r\nSelectedSigs=\"Alpha\"\r\n";
    WriteSettings(before);
    ASSERT_TRUE(Load());
    RunDefaultSetup([&](U& u) {
        HWND d = u.WaitForDialog(kDefaultCaption);
        HWND s = OpenSelection(u, d);
        HWND list = SelCtl(s, "SigCheckListBox");
        int alpha = IndexOf(list, "Alpha"), beta = IndexOf(list, "Beta");
        ClickBox(list, beta);
        ClickBox(list, alpha);
        u.WaitUntil([&] { return IsChecked(list, beta) && !IsChecked(list, alpha); },
                    "Beta checked, Alpha unchecked");
        U::Click(SelCtl(s, "OkButton"));
        u.WaitUntilGone(s);

        auto checkedTitles = [&](HWND l) {
            std::string t;
            for (const Item& item : Items(l))
                if (item.checked)
                    t += item.title + ";";
            return t;
        };
        s = OpenSelection(u, d);
        list = SelCtl(s, "SigCheckListBox");
        u.Check(checkedTitles(list) == "Beta;", "reopened with the last choice");
        ClickBox(list, IndexOf(list, "Gamma"));
        u.WaitUntil(
            [&] {
                return checkedTitles(list) == "Beta;Gamma;" || checkedTitles(list) == "Gamma;Beta;";
            },
            "Gamma checked");
        U::Click(SelCtl(s, "CancelButton"));
        u.WaitUntilGone(s);

        s = OpenSelection(u, d);
        list = SelCtl(s, "SigCheckListBox");
        u.Check(checkedTitles(list) == "Beta;", "Cancel kept the last Ok's choice");
        U::PressKey(list, VK_ESCAPE);
        u.WaitUntilGone(s);
        U::Click(EditCtl(d, "CancelButton"));
        u.WaitUntilGone(d);
    });
    EXPECT_EQ(SettingsText(), before);
}

// The warning is a real message box, before the dialog opens, and Ok there
// drops the stored choice. (What the warning says, and that the list is
// empty: SelectSigForm_test.) Both are themed in this host without a manifest.
TEST_F(DialogTest, NoSignatureFileWarnsFirstAndOkDropsTheChoice) {
    WriteSettings("[Options]\r\nMode=3\r\nSelectedSigs=\"Alpha\"\r\n");
    ASSERT_TRUE(Load());
    RunDefaultSetup([&](U& u) {
        HWND d = u.WaitForDialog(kDefaultCaption);
        U::ClickLater(EditCtl(d, "SelSigButton"));
        u.Check(GetWindowTheme(GetDlgItem(u.WaitForDialog("Warning"), IDOK)) != nullptr,
                "the warning's Ok themed");
        u.AnswerMessageBox("Warning");
        HWND s = u.WaitForDialog(kSelectCaption);
        u.Check(GetWindowTheme(SelCtl(s, "OkButton")) && GetWindowTheme(SelCtl(s, "CancelButton")),
                "the dialog's buttons themed");
        U::Click(SelCtl(s, "OkButton"));
        u.WaitUntilGone(s);
        U::Click(EditCtl(d, "OkButton"));
        u.WaitUntilGone(d);
    });
    EXPECT_NE(SettingsText().find("SelectedSigs=\r\n"), std::string::npos) << SettingsText();
}

// A bitmap of `width` x `height` in the window colour, to draw into; its pixels.
struct Canvas {
    Canvas(int w, int h) : width(w), height(h) {
        bitmap = CreateCompatibleBitmap(screen, width, height);
        old = SelectObject(dc, bitmap);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    }
    ~Canvas() {
        DeleteObject(SelectObject(dc, old));
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
        return pixels;
    }
    int width, height;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap;
    HGDIOBJ old;
};

// Text drawn alone in `font`, as an item's text is drawn: `draw` gets the DC and its rectangle.
template <typename Draw>
std::vector<COLORREF> DrawnAlone(HFONT font, int width, int height, Draw draw) {
    Canvas canvas(width, height);
    SelectObject(canvas.dc, font);
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT r{0, 0, width, height};
    draw(canvas.dc, r);
    return canvas.Pixels();
}

// Whether `part` (partWidth wide, as high as `row`) stands somewhere in `row`,
// leaving out the top and bottom lines (where a focus frame may run).
bool Contains(const std::vector<COLORREF>& row, int rowWidth, const std::vector<COLORREF>& part,
              int partWidth, int height) {
    for (int at = 0; at + partWidth <= rowWidth; ++at) {
        bool same = true;
        for (int y = 1; same && y < height - 1; ++y)
            for (int x = 0; same && x < partWidth; ++x)
                same = row[y * rowWidth + at + x] == part[y * partWidth + x];
        if (same)
            return true;
    }
    return false;
}

// In code page 932, with a font named Arial that the font mapper realises as
// Western: the list shows a Japanese title as the title drawn as Unicode.
TEST_F(DialogTest, JapaneseTitlesInTheListJapaneseLocale) {
    ASSERT_EQ(GetACP(), 932u) << "Wine was not started in a Japanese locale";
    const std::string title = "\x83\x72\x83\x57\x83\x6c\x83\x58\x97\x70";  // U+30D3 ...
    const std::wstring wide = L"\x30D3\x30B8\x30CD\x30B9\x7528";
    // Through the "A" function: the test's file helpers do not take code page 932.
    HANDLE file = CreateFileA(dir.Join("data\\mbox\\$$$00001" + title + ".txt").c_str(),
                              GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    WriteSettings("[Options]\r\nMode=3\r\n");
    ASSERT_TRUE(Load());
    RunDefaultSetup([&](U& u) {
        HWND d = u.WaitForDialog(kDefaultCaption);
        HWND s = OpenSelection(u, d);
        HWND list = SelCtl(s, "SigCheckListBox");
        u.Check(Items(list).size() == 1 && Items(list)[0].title == title, "the title listed");
        auto font = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
        RECT item = ItemRect(list, 0);
        int width = item.right - item.left, height = item.bottom - item.top;
        Canvas shown(width, height);
        SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc), PRF_CLIENT);
        SIZE extent{};
        SelectObject(shown.dc, font);
        GetTextExtentPoint32W(shown.dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
        auto unicode = DrawnAlone(font, extent.cx, height, [&](HDC c, RECT& r) {
            DrawTextW(c, wide.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        });
        auto bytes = DrawnAlone(font, extent.cx, height, [&](HDC c, RECT& r) {
            DrawTextA(c, title.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        });
        u.Check(unicode != bytes, "the font turns bytes into other characters (what is guarded)");
        u.Check(Contains(shown.Pixels(), width, unicode, extent.cx, height),
                "the item shows the title");
        PostMessageA(s, WM_COMMAND, IDCANCEL, 0);
        u.WaitUntilGone(s);
        U::Click(EditCtl(d, "CancelButton"));
        u.WaitUntilGone(d);
    });
}

}  // namespace
}  // namespace bk::test
