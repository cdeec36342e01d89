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

#include <commctrl.h>

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
    for (int i = 0; i < U::ItemCount(list); ++i)
        items.push_back({U::ItemText(list, i), U::ItemChecked(list, i)});
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
    return U::ItemChecked(list, index);
}
int Current(HWND list) {
    return U::CurrentItem(list);
}

// A click on an item's title (not its check box), and on its check box.
void ClickTitle(HWND list, int index) {
    RECT r{LVIR_LABEL};
    SendMessageA(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    U::ClickAt(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
void ClickBox(HWND list, int index) {
    RECT r = U::ItemBox(list, index);
    U::ClickAt(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
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
        RECT listClient{};
        GetClientRect(list, &listClient);
        u.Check(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0) == listClient.right &&
                    !(GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL),
                "the column spans the list");
        // The box at the dialog's DPI (its hit area: the image and its margin);
        // the item as high as its text or box needs, no higher.
        RECT row0 = U::ItemRect(list, 0), box = U::ItemBox(list, 0);
        TEXTMETRICA text{};
        HDC dc = GetDC(list);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
        GetTextMetricsA(dc, &text);
        SelectObject(dc, old);
        ReleaseDC(list, dc);
        const int boxSize = box.right - box.left, itemHeight = row0.bottom - row0.top;
        u.Check(boxSize >= ScaleToDpi(13, dpi) && itemHeight >= text.tmHeight &&
                    itemHeight <= std::max<int>(text.tmHeight, boxSize) + ScaleToDpi(2, dpi),
                "check box and item height at the dialog's DPI");
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
        // The box of another item: checked, and previewed only if it became current.
        int other = beta == 0 ? 1 : 0;
        bool otherWas = IsChecked(list, other);
        ClickBox(list, other);
        u.WaitUntil([&] { return IsChecked(list, other) != otherWas; }, "a click on another box");
        std::string otherTitle = Items(list)[static_cast<std::size_t>(other)].title;
        u.Check(U::Text(preview) == kContents.at(Current(list) == other ? otherTitle : "Beta"),
                "the preview follows the current item only");
        const int from = Current(list), to = from > 0 ? from - 1 : from + 1;
        U::PressKey(list, from > 0 ? VK_UP : VK_DOWN);
        u.WaitUntil([&] { return Current(list) == to; }, "an arrow key to move");
        std::string toTitle = Items(list)[static_cast<std::size_t>(to)].title;
        u.WaitUntil([&] { return U::Text(preview) == kContents.at(toTitle); },
                    "the preview to follow the arrow key");
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

// In code page 932, with a font named Arial that the font mapper realises as
// Western and links to no Japanese face: the list holds a Japanese title as its
// Unicode characters and draws it in a font that has them.
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
        wchar_t shown[64] = {};
        LVITEMW item{};
        item.pszText = shown;
        item.cchTextMax = 64;
        SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
        u.Check(shown == wide, "the title held as Unicode");
        // ... and in a font that has its characters (not boxes).
        WORD glyphs[8] = {};
        HDC screen = GetDC(nullptr);
        HGDIOBJ old = SelectObject(screen, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
        GetGlyphIndicesW(screen, wide.c_str(), static_cast<int>(wide.size()), glyphs,
                         GGI_MARK_NONEXISTING_GLYPHS);
        SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
        u.Check(std::find(glyphs, glyphs + wide.size(), 0xFFFF) == glyphs + wide.size(),
                "the list's font has the title's characters");
        PostMessageA(s, WM_COMMAND, IDCANCEL, 0);
        u.WaitUntilGone(s);
        U::Click(EditCtl(d, "CancelButton"));
        u.WaitUntilGone(d);
    });
}

}  // namespace
}  // namespace bk::test
