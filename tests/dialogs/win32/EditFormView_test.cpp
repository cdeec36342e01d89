// The setup dialog of the real DLL under Wine: opened by the host's setup
// command (default setup) or the plug-in's menu command (folder setup), played
// by a helper thread, checked in its controls and in the settings it saves.
#include <gtest/gtest.h>
#include <windows.h>

#include <uxtheme.h>  // after <windows.h>, which it needs

#include <string>

#include "support/DialogFixture.h"

namespace bk::test {
namespace {

using U = DialogUser;

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    auto handle = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (handle)
        GetObjectW(handle, sizeof font, &font);
    return font;
}

bool IsFixedPitchFont(HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    DeleteDC(dc);
    return font && (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
}

LONG StyleOf(HWND window) {
    return GetWindowLongA(window, GWL_STYLE);
}

HWND Ctl(HWND dialog, const char* field) {
    return U::Item(dialog, EditId(field));
}
HWND TimingItem(HWND dialog, int k) {
    return U::Item(dialog, EditId("TimingRadioGroup") + 1 + k);
}

// Check marks of UseDefault, NoAction, Signature, SelSig, Oneline, timing 0, timing 1, NoRepeat.
std::string Marks(HWND d) {
    std::string s;
    for (HWND h :
         {Ctl(d, "UseDefaultCheckBox"), Ctl(d, "NoActionRadioButton"),
          Ctl(d, "SignatureRadioButton"), Ctl(d, "SelSigCheckBox"), Ctl(d, "OnelineRadioButton"),
          TimingItem(d, 0), TimingItem(d, 1), Ctl(d, "NoRepeatCheckBox")})
        s += U::Checked(h) ? '1' : '0';
    return s;
}

// Enabled state of NoAction, Signature, SelSig, SelSigButton, Oneline, memo, timing 0, timing 1,
// NoRepeat.
std::string Enabling(HWND d) {
    std::string s;
    for (HWND h :
         {Ctl(d, "NoActionRadioButton"), Ctl(d, "SignatureRadioButton"), Ctl(d, "SelSigCheckBox"),
          Ctl(d, "SelSigButton"), Ctl(d, "OnelineRadioButton"), Ctl(d, "FortuneMemo"),
          TimingItem(d, 0), TimingItem(d, 1), Ctl(d, "NoRepeatCheckBox")})
        s += U::Enabled(h) ? '1' : '0';
    return s;
}

int MemoColor(HWND d) {
    HBRUSH brush = U::MemoBrush(d, Ctl(d, "FortuneMemo"));
    if (brush == GetSysColorBrush(COLOR_WINDOW))
        return COLOR_WINDOW;
    if (brush == GetSysColorBrush(COLOR_BTNFACE))
        return COLOR_BTNFACE;
    return -1;
}

COLORREF Pixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}

void CancelAndWait(U& u, HWND d) {
    U::Click(Ctl(d, "CancelButton"));
    u.WaitUntilGone(d);
}

void OkAndWait(U& u, HWND d) {
    U::Click(Ctl(d, "OkButton"));
    u.WaitUntilGone(d);
}

// Each control where its layout row puts it at `dpi`, made as its kind says,
// in the fonts of that DPI, its caption whole.
void CheckLayout(U& u, HWND d, int dpi) {
    const std::string at = " at " + std::to_string(dpi) + " DPI";
    const Layout& layout = EditFormLayout();
    RECT client;
    GetClientRect(d, &client);
    u.Check(
        client.right == ScaleToDpi(layout.clientWidth, dpi) &&
            client.bottom == ScaleToDpi(layout.clientHeight, dpi),
        "client area " + std::to_string(client.right) + " x " + std::to_string(client.bottom) + at);
    const int glyph = GetSystemMetrics(SM_CXMENUCHECK);
    for (const ControlRow& row : layout.rows) {
        HWND c = Ctl(d, row.field);
        std::string name = row.field;
        if (!c) {
            u.Check(false, name + " exists");
            continue;
        }
        RECT p = U::Place(c);
        Rect want = ScaleToDpi(row.place, dpi);
        u.Check(
            p.left == want.x && p.top == want.y && p.right == want.width && p.bottom == want.height,
            name + " at its place" + at);
        const bool edit = row.kind == Kind::EditMemo || row.kind == Kind::EditLine ||
                          row.kind == Kind::StatusLine;
        const char* windowClass = edit ? "Edit" : "Button";
        u.Check(_stricmp(ClassOf(c).c_str(), windowClass) == 0, name + " class");
        // Drawn in the system's visual style, though this host has no manifest
        // (a borderless status line has nothing of its own to draw so).
        u.Check(row.kind == Kind::EditMemo || row.kind == Kind::StatusLine || GetWindowTheme(c),
                name + " themed");
        if (row.kind != Kind::StatusLine)  // it says what the file holds
            u.Check(U::Text(c) == (row.caption ? row.caption : ""),
                    name + " caption \"" + U::Text(c) + "\"");
        LOGFONTW font = FontOf(c);
        u.Check(font.lfHeight == -ScaleToDpi(12, dpi), name + " font height" + at);
        if (name != "FortuneMemo")
            u.Check(std::wstring(font.lfFaceName) == L"Arial", name + " in Arial");
        int room = row.kind == Kind::PushButton   ? want.width - ScaleToDpi(6, dpi)
                   : row.kind == Kind::RadioGroup ? want.width - ScaleToDpi(16, dpi)
                                                  : want.width - glyph - ScaleToDpi(4, dpi);
        if (row.caption)
            u.Check(U::CaptionWidth(c) <= room, name + " caption fits" + at);
    }
    for (int k : {0, 1}) {
        HWND item = TimingItem(d, k);
        RECT p = U::Place(item);
        u.Check(U::CaptionWidth(item) <= p.right - glyph - ScaleToDpi(4, dpi),
                "timing item " + std::to_string(k) + " fits" + at);
        u.Check(FontOf(item).lfHeight == -ScaleToDpi(12, dpi), "timing item font" + at);
        u.Check(GetWindowTheme(item) != nullptr, "timing item themed");
    }
    RECT i0 = U::Place(TimingItem(d, 0)), i1 = U::Place(TimingItem(d, 1));
    const int timingRow = (ControlIdOf(layout, "TimingRadioGroup") - kFirstControlId) / 16;
    Rect group = ScaleToDpi(layout.rows[timingRow].place, dpi);
    u.Check(i0.top == i1.top && i0.left > group.x && i1.left > i0.left + i0.right - 1 &&
                i0.top > group.y && i0.top + i0.bottom <= group.y + group.height,
            "timing items side by side inside the group" + at);
}

TEST_F(DialogTest, SetupDialogLayoutFontsAndOwner) {
    ASSERT_TRUE(Load());
    int answer = RunDefaultSetup([&](U& u) {
        HWND d = u.WaitForDialog(kDefaultCaption);
        const int dpi = u.SystemDpi();
        CheckLayout(u, d, dpi);
        RECT frame;
        GetWindowRect(d, &frame);
        int dx = (frame.left + frame.right) - GetSystemMetrics(SM_CXSCREEN);
        int dy = (frame.top + frame.bottom) - GetSystemMetrics(SM_CYSCREEN);
        u.Check(dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2, "centred on the screen");
        u.Check(GetWindow(d, GW_OWNER) == mainWindow, "owned by the host's main window");
        u.Check(!U::Enabled(mainWindow), "the main window takes no input");
        u.Check(!(StyleOf(d) & WS_THICKFRAME) && (StyleOf(d) & WS_SYSMENU), "fixed dialog frame");

        HWND memo = Ctl(d, "FortuneMemo");
        LONG memoStyle = StyleOf(memo);
        u.Check((memoStyle & ES_MULTILINE) && (memoStyle & WS_HSCROLL) &&
                    (memoStyle & WS_VSCROLL) && (memoStyle & ES_AUTOHSCROLL) &&
                    (memoStyle & ES_WANTRETURN) && !(memoStyle & ES_READONLY),
                "memo: no wrapping, both scroll bars, Enter starts a line");
        u.Check(IsFixedPitchFont(memo), "memo font is fixed-pitch");
        u.Check((StyleOf(Ctl(d, "OkButton")) & BS_TYPEMASK) == BS_PUSHBUTTON, "Ok is not default");
        u.Check(!U::Visible(Ctl(d, "UseDefaultCheckBox")), "default setup: no UseDefaultCheckBox");
        u.Check(U::Text(TimingItem(d, 0)) == "you start composing a message" &&
                    U::Text(TimingItem(d, 1)) == "a message is going to be delivered",
                "timing items");

        // Window order is the tab order: the table's, each group's items after its box.
        std::vector<int> ids;
        for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            ids.push_back(GetDlgCtrlID(c));
        std::vector<int> expected;
        for (const ControlRow& row : EditFormLayout().rows) {
            expected.push_back(EditId(row.field));
            if (std::string(row.field) == "TimingRadioGroup")
                for (int k : {1, 2}) expected.push_back(EditId(row.field) + k);
        }
        u.Check(ids == expected, "controls in tab order");

        // A per-monitor aware host's dialog moved to a monitor of another DPI
        // is told so, and lays itself out again; and back.
        for (int next : {dpi * 2, dpi}) {
            RECT suggested{10, 20, 30, 40};
            SendMessageA(d, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(next, next),
                         reinterpret_cast<LPARAM>(&suggested));
            CheckLayout(u, d, next);
        }
        CancelAndWait(u, d);
    });
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_EQ(SettingsText(), "<missing>");
}

// Tab goes where the stored setup leaves a choice: to the selected radio
// button of a group, past what is disabled. (Which controls the stored setup
// checks and enables: EditForm_test and RunSetup_test.)
TEST_F(DialogTest, TabPassesOverWhatTheStoredSetupDisables) {
    ASSERT_TRUE(Load());
    struct Case {
        std::string ini;
        std::vector<std::string> tabStops;  // fields, "T0"/"T1" for the timing items
    } cases[] = {
        // A first run: the mode the plug-in uses without a settings file.
        {"",
         {"SignatureRadioButton", "SelSigCheckBox", "T1", "NoRepeatCheckBox", "OkButton",
          "CancelButton"}},
        {"[Options]\r\nMode=3\r\nSigAddTiming=0\r\nNoRepeat=1\r\n",
         {"SignatureRadioButton", "SelSigCheckBox", "SelSigButton", "T0", "NoRepeatCheckBox",
          "OkButton", "CancelButton"}},
        {"[Options]\r\nMode=2\r\n[OptionsOneliner]\r\nsig0=\"x\"\r\nsig1=\" y \"\r\n",
         {"OnelineRadioButton", "FortuneMemo", "T1", "NoRepeatCheckBox", "OkButton",
          "CancelButton"}},
        {"[Options]\r\nMode=4\r\n",
         {"QuoteRadioButton", "QuoteFileEdit", "QuoteBrowseButton", "T1", "NoRepeatCheckBox",
          "OkButton", "CancelButton"}},
        // Checked, but nothing is picked: greyed and passed over.
        {"[Options]\r\nMode=0\r\nNoRepeat=2\r\n",
         {"NoActionRadioButton", "T1", "OkButton", "CancelButton"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        WriteSettings(c.ini);
        RunDefaultSetup([&](U& u) {
            HWND d = u.WaitForDialog(kDefaultCaption);
            std::vector<HWND> stops;
            for (const std::string& f : c.tabStops)
                stops.push_back(f == "T0"   ? TimingItem(d, 0)
                                : f == "T1" ? TimingItem(d, 1)
                                            : Ctl(d, f.c_str()));
            HWND at = GetNextDlgTabItem(d, nullptr, FALSE);
            for (std::size_t i = 0; i <= stops.size(); ++i) {
                u.Check(at == stops[i % stops.size()], "tab stop " + std::to_string(i));
                at = GetNextDlgTabItem(d, at, FALSE);
            }
            CancelAndWait(u, d);
        });
    }
}

TEST_F(DialogTest, ChoosingOneLineModeTypingAndOkSaveTheList) {
    WriteSettings("[Options]\r\nOneLineCount=3\r\n[OptionsOneliner]\r\nsig2=\"old\"\r\n");
    ASSERT_TRUE(Load());
    RunDefaultSetup([&](U& u) {
        HWND d = u.WaitForDialog(kDefaultCaption);
        PostMessageA(d, WM_SYSCHAR, 'l', 1u << 29);  // Alt+L: "Add one &line at random..."
        u.WaitUntil([&] { return Marks(d) == "00001010"; }, "one-line mode selected by Alt+L");
        u.Check(Enabling(d) == "110011111", "memo enabled, signature choices not");
        PostMessageA(d, WM_SYSCHAR, 'd', 1u << 29);  // Alt+D: "&Don't repeat ..."
        u.WaitUntil([&] { return Marks(d) == "00001011"; }, "fair order checked by Alt+D");
        u.Check(MemoColor(d) == COLOR_WINDOW, "memo in the window colour");
        HWND memo = Ctl(d, "FortuneMemo");
        u.Check(U::Text(memo) == "old\r\n", "the stored list in the memo");
        SendMessageA(memo, EM_SETSEL, 0, -1);  // typing replaces it
        U::Type(memo, "first\nsecond\tcol\n");
        u.WaitUntil([&] { return U::Text(memo) == "first\r\nsecond\tcol\r\n"; },
                    "typed text, not \"" + U::Text(memo) + "\"");
        u.Check(IsWindowVisible(d) != FALSE, "Enter in the memo closes nothing");
        U::PressKey(Ctl(d, "SignatureRadioButton"),
                    VK_RETURN);  // Enter elsewhere: no default button
        U::Click(TimingItem(d, 0));
        u.Check(IsWindowVisible(d) != FALSE, "Enter closes nothing");
        OkAndWait(u, d);
    });
    EXPECT_EQ(Profile("Options", "Mode"), "2");
    EXPECT_EQ(Profile("Options", "SigAddTiming"), "0");
    EXPECT_EQ(Profile("Options", "OneLineCount"), "2");
    EXPECT_EQ(Profile("OptionsOneliner", "sig0"), "first");
    EXPECT_EQ(Profile("OptionsOneliner", "sig1"), "second\tcol");
    EXPECT_EQ(Profile("OptionsOneliner", "sig2"), "<none>");
    EXPECT_EQ(Profile("Options", "NoRepeat"), "1");
}

TEST_F(DialogTest, EmptyOneLineListIsRefusedAndEscCancels) {
    ASSERT_TRUE(Load());
    RunDefaultSetup([&](U& u) {
        HWND d = u.WaitForDialog(kDefaultCaption);
        U::Click(Ctl(d, "OnelineRadioButton"));
        HWND memo = Ctl(d, "FortuneMemo");
        SendMessageA(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\r\n\r\n"));
        U::ClickLater(Ctl(d, "OkButton"));
        u.Check(u.AnswerMessageBox("Warning") == "Please set sentense(s) to add.", "refusal");
        u.Check(IsWindowVisible(d) != FALSE, "the dialog stays open");
        u.WaitUntil([&] { return U::Text(memo).empty(); }, "blank lines removed");
        U::PressKey(memo, VK_ESCAPE);
        u.WaitUntilGone(d);
    });
    EXPECT_EQ(SettingsText(), "<missing>");
}

// Quote file mode chosen by its access key: its controls alone enabled, the
// count shown when typing pauses, Browse opening the system's file dialog, Ok
// refused with the reason while the file gives no quote.
TEST_F(DialogTest, QuoteFileModeCountsTheFileAndNeedsAQuoteAtOk) {
    dir.Write("quotes.txt", "one\r\n%\r\ntwo\r\n%\r\nthree\r\n");
    ASSERT_TRUE(Load());
    RunDefaultSetup([&](U& u) {
        HWND d = u.WaitForDialog(kDefaultCaption);
        HWND edit = Ctl(d, "QuoteFileEdit"), label = Ctl(d, "QuoteCountLabel");
        HWND quoteOnly[] = {edit, Ctl(d, "QuoteBrowseButton"), label};
        for (HWND h : quoteOnly) u.Check(!U::Enabled(h), "quote controls disabled in mode 1");
        PostMessageA(d, WM_SYSCHAR, 'q', 1u << 29);  // Alt+Q: "Add a &quote at random ..."
        u.WaitUntil([&] { return U::Checked(Ctl(d, "QuoteRadioButton")); }, "Alt+Q");
        for (HWND h : quoteOnly) u.Check(U::Enabled(h), "quote controls enabled in mode 4");
        u.Check(!U::Enabled(Ctl(d, "FortuneMemo")) && U::Enabled(Ctl(d, "NoRepeatCheckBox")) &&
                    !U::Checked(Ctl(d, "SignatureRadioButton")),
                "memo disabled, fair order enabled, one radio button");
        U::Type(edit, "quotes.txt");
        u.WaitUntil([&] { return U::Text(label) == "3 quotes"; }, "the count, not " + U::Text(label));
        U::ClickLater(Ctl(d, "QuoteBrowseButton"));
        HWND open = u.WaitForDialog("Open");
        PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
        u.WaitUntilGone(open);
        u.Check(U::Text(edit) == "quotes.txt", "a cancelled Browse keeps the path");
        SetWindowTextA(edit, "missing.txt");
        U::ClickLater(Ctl(d, "OkButton"));
        std::string warning = u.AnswerMessageBox("Warning");
        u.Check(!warning.empty() && warning == U::Text(label), "refused with " + warning);
        u.Check(IsWindowVisible(d) != FALSE, "the dialog stays open");
        SetWindowTextA(edit, "quotes.txt");
        OkAndWait(u, d);
    });
    EXPECT_EQ(Profile("Options", "Mode"), "4");
    EXPECT_EQ(Profile("Options", "QuoteFile"), "quotes.txt");
}

TEST_F(DialogTest, CloseBoxCancels) {
    const std::string before = "[Options]\r\nMode=1\r\n";
    WriteSettings(before);
    ASSERT_TRUE(Load());
    RunDefaultSetup([&](U& u) {
        HWND d = u.WaitForDialog(kDefaultCaption);
        U::Click(Ctl(d, "OnelineRadioButton"));
        U::Type(Ctl(d, "FortuneMemo"), "abc");
        PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
        u.WaitUntilGone(d);
    });
    EXPECT_EQ(SettingsText(), before);
}

// High contrast ("High Contrast Black": white on black, set for this session
// and put back at the end): the dialog and the memo, enabled and disabled,
// show the system's colours.
TEST_F(DialogTest, HighContrastColoursReachTheDialogAndTheMemo) {
    int indexes[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    COLORREF contrast[] = {black, white, black, white}, saved[4];
    WriteSettings("[Options]\r\nMode=2\r\n");
    ASSERT_TRUE(Load());
    for (int i = 0; i < 4; ++i) saved[i] = GetSysColor(indexes[i]);
    SetSysColors(4, indexes, contrast);
    EXPECT_TRUE(RunFolderSetup([&](U& u) {
        HWND d = u.WaitForDialog(kFolderCaption), memo = Ctl(d, "FortuneMemo");
        RECT in;
        GetClientRect(memo, &in);
        auto memoBlack = [&] { return Pixel(memo, in.right / 2, in.bottom / 2) == black; };
        u.WaitUntil([&] { return Pixel(d, 3, 3) == black; }, "a black dialog");
        u.WaitUntil(memoBlack, "a black disabled memo");
        U::Click(Ctl(d, "UseDefaultCheckBox"));  // enables the memo
        RedrawWindow(memo, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        u.WaitUntil(memoBlack, "a black enabled memo");
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageA(d, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(memo));
        u.Check(GetTextColor(dc) == white, "the enabled memo's text white");
        DeleteDC(dc);
        CancelAndWait(u, d);
    }));
    SetSysColors(4, indexes, saved);
}

TEST_F(DialogTest, FolderSetupThatFollowsTheDefault) {
    WriteSettings("[Options]\r\nMode=2\r\nSigAddTiming=0\r\n");
    ASSERT_TRUE(Load());
    bool ran = RunFolderSetup([&](U& u) {
        HWND d = u.WaitForDialog(kFolderCaption);
        HWND useDefault = Ctl(d, "UseDefaultCheckBox");
        u.Check(U::Visible(useDefault) && U::Checked(useDefault), "UseDefaultCheckBox checked");
        u.Check(Enabling(d) == "000000000", "every choice disabled: " + Enabling(d));
        u.Check(U::Enabled(Ctl(d, "OkButton")) && U::Enabled(Ctl(d, "CancelButton")),
                "Ok and Cancel enabled");
        u.Check(MemoColor(d) == COLOR_BTNFACE, "memo greyed as a disabled edit box");
        u.Check(Marks(d) == "10100100", "own choices as the controls started, timing 0");

        U::Click(useDefault);  // the folder's own setup: everything enabled at first
        u.Check(Enabling(d) == "111111111", "all enabled: " + Enabling(d));
        u.Check(MemoColor(d) == COLOR_WINDOW, "memo in the window colour");
        U::Click(Ctl(d, "SelSigCheckBox"));  // the finer rules apply again
        u.Check(Enabling(d) == "111110111", "restricted signatures: " + Enabling(d));
        U::Click(Ctl(d, "NoRepeatCheckBox"));  // the folder's own, kept while it follows
        U::Click(useDefault);
        u.Check(Enabling(d) == "000000000", "disabled again");
        OkAndWait(u, d);
    });
    ASSERT_TRUE(ran) << "the plug-in registered no menu command";
    EXPECT_EQ(Profile("mbox\\!!!!Inbox\\", "Mode"), "-1");
    EXPECT_EQ(Profile("mbox\\!!!!Inbox\\", "SigAddTiming"), "0");
    EXPECT_EQ(Profile("mbox\\!!!!Inbox\\", "SelectedSigs"), "");
    EXPECT_EQ(Profile("mbox\\!!!!Inbox\\", "OneLineCount"), "<none>");
    EXPECT_EQ(Profile("mbox\\!!!!Inbox\\", "NoRepeat"), "1");
    EXPECT_EQ(Profile("Options", "Mode"), "2");
}

}  // namespace
}  // namespace bk::test
