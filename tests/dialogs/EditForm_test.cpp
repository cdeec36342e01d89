// TEditForm without windows: the mapping between the mode and the controls,
// the enabling rules, the close check and the nested selection dialog.
#include "dialogs/EditForm.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/portable/PortablePlatform.h"
#include "support/ScriptedForms.h"
#include "support/TempDir.h"

namespace bk::test {
namespace {

// Which radio button is selected: 'N', 'S', 'L', 'Q', or '-' for none, '?' for several.
char Radio(const TEditForm& f) {
    int n = f.NoActionRadioButton.checked + f.SignatureRadioButton.checked +
            f.OnelineRadioButton.checked + f.QuoteRadioButton.checked;
    if (n != 1)
        return n == 0 ? '-' : '?';
    return f.NoActionRadioButton.checked    ? 'N'
           : f.SignatureRadioButton.checked ? 'S'
           : f.OnelineRadioButton.checked   ? 'L'
                                            : 'Q';
}

// Enabled state of the eleven choices in tab order, "1" enabled, "0" disabled:
// NoAction, Signature, SelSigCheckBox, SelSigButton, Oneline, FortuneMemo,
// QuoteRadio, QuoteFileEdit, QuoteBrowseButton, QuoteCountLabel, Timing.
std::string Enabled(const TEditForm& f) {
    std::string s;
    for (const Control* c : std::initializer_list<const Control*>{
             &f.NoActionRadioButton, &f.SignatureRadioButton, &f.SelSigCheckBox, &f.SelSigButton,
             &f.OnelineRadioButton, &f.FortuneMemo, &f.QuoteRadioButton, &f.QuoteFileEdit,
             &f.QuoteBrowseButton, &f.QuoteCountLabel, &f.TimingRadioGroup})
        s += c->enabled ? '1' : '0';
    return s;
}

class EditFormTest : public ::testing::Test {
protected:
    PortablePlatform platform;
    ScriptedForms forms;
    TEditForm form{platform, forms};
};

TEST_F(EditFormTest, SetModeSetsTheControlsAndTheEnablingFollows) {
    struct {
        bool defaultSetup;
        int mode;
        bool useDefault;
        char radio;
        bool restrict;
        const char* enabled;  // as Enabled() gives it
        int color;
        int modeBack;
    } cases[] = {
        {true, -1, false, 'N', false, "11001010001", 15, 0},
        {true, 0, false, 'N', false, "11001010001", 15, 0},
        {true, 1, false, 'S', false, "11101010001", 15, 1},
        {true, 2, false, 'L', false, "11001110001", 5, 2},
        {true, 3, false, 'S', true, "11111010001", 15, 3},
        {true, 4, false, 'Q', false, "11001011111", 15, 4},
        {true, 7, false, 'S', false, "11101010001", 15, 1},  // unknown: initial state, mode 1
        {true, -5, false, 'S', false, "11101010001", 15, 1},
        {false, -1, true, 'S', false, "00000000000", 15, -1},
        {false, 0, false, 'N', false, "11001010001", 15, 0},
        {false, 2, false, 'L', false, "11001110001", 5, 2},
        {false, 3, false, 'S', true, "11111010001", 15, 3},
        {false, 4, false, 'Q', false, "11001011111", 15, 4},
        {false, 9, false, 'S', false, "11101010001", 15, 1},
    };
    for (const auto& c : cases) {
        TEditForm f(platform, forms);
        f.SetDefaultSetup(c.defaultSetup);
        f.SetMode(c.mode);
        SCOPED_TRACE(testing::Message() << "default " << c.defaultSetup << " mode " << c.mode);
        EXPECT_EQ(f.UseDefaultCheckBox.checked, c.useDefault);
        EXPECT_EQ(f.UseDefaultCheckBox.visible, !c.defaultSetup);
        EXPECT_EQ(Radio(f), c.radio);
        EXPECT_EQ(f.SelSigCheckBox.checked, c.restrict);
        EXPECT_EQ(Enabled(f), c.enabled);
        EXPECT_EQ(f.FortuneMemo.color, c.color);
        EXPECT_EQ(f.GetMode(), c.modeBack);
    }
}

// Every state a user can reach: one radio button selected, the restrict box
// either way, UseDefaultCheckBox either way (it wins over the rest).
TEST_F(EditFormTest, GetModeReadsWhatTheUserCanSelect) {
    struct {
        RadioButton TEditForm::*radio;
        bool restrict;
        int mode;
    } cases[] = {
        {&TEditForm::NoActionRadioButton, false, 0},  {&TEditForm::NoActionRadioButton, true, 0},
        {&TEditForm::SignatureRadioButton, false, 1}, {&TEditForm::SignatureRadioButton, true, 3},
        {&TEditForm::OnelineRadioButton, false, 2},   {&TEditForm::OnelineRadioButton, true, 2},
        {&TEditForm::QuoteRadioButton, true, 4},
    };
    for (const auto& c : cases) {
        form.SelectRadio(form.*c.radio);
        form.SelSigCheckBox.checked = c.restrict;
        form.UseDefaultCheckBox.checked = false;
        EXPECT_EQ(form.GetMode(), c.mode) << Radio(form) << c.restrict;
        form.UseDefaultCheckBox.checked = true;
        EXPECT_EQ(form.GetMode(), -1) << Radio(form) << c.restrict;
    }
}

TEST_F(EditFormTest, UncheckingUseDefaultEnablesEverythingUntilTheNextRadioClick) {
    form.SetDefaultSetup(false);
    form.SetMode(1);
    form.SetMode(-1);  // a folder that follows the default setup: all disabled
    form.UseDefaultCheckBox.checked = false;
    form.UseDefaultCheckBoxClick();
    EXPECT_EQ(Enabled(form), "11111111111");
    EXPECT_EQ(form.FortuneMemo.color, 5);
    EXPECT_EQ(form.GetMode(), 1);

    form.RadioButtonsClick();
    EXPECT_EQ(Enabled(form), "11101010001");
    EXPECT_EQ(form.FortuneMemo.color, 15);
}

// The fair order box after either handler, started the other way round: on
// exactly when the section's own mode picks.
TEST_F(EditFormTest, NoRepeatIsEnabledExactlyWhenTheSectionsOwnModePicks) {
    struct {
        RadioButton TEditForm::*radio;
        bool restrict;
        bool useDefault;
        bool enabled;
    } cases[] = {
        {&TEditForm::NoActionRadioButton, false, false, false},
        {&TEditForm::SignatureRadioButton, false, false, true},
        {&TEditForm::SignatureRadioButton, true, false, true},
        {&TEditForm::OnelineRadioButton, false, false, true},
        {&TEditForm::QuoteRadioButton, false, false, true},
        {&TEditForm::NoActionRadioButton, false, true, false},
        {&TEditForm::SignatureRadioButton, true, true, false},
        {&TEditForm::OnelineRadioButton, false, true, false},
        {&TEditForm::QuoteRadioButton, false, true, false},
    };
    for (const auto& c : cases) {
        for (void (TEditForm::*handler)() :
             {&TEditForm::RadioButtonsClick, &TEditForm::UseDefaultCheckBoxClick}) {
            TEditForm f(platform, forms);
            f.SetDefaultSetup(false);
            f.SelectRadio(f.*c.radio);
            f.SelSigCheckBox.checked = c.restrict;
            f.UseDefaultCheckBox.checked = c.useDefault;
            f.NoRepeatCheckBox.enabled = !c.enabled;
            (f.*handler)();
            EXPECT_EQ(f.NoRepeatCheckBox.enabled, c.enabled)
                << "mode " << Radio(f) << c.restrict << " use default " << c.useDefault
                << (handler == &TEditForm::RadioButtonsClick ? " radio click"
                                                             : " use default click");
        }
    }
}

TEST_F(EditFormTest, RestrictCheckBoxEnablesTheSelectButton) {
    form.SetDefaultSetup(true);
    form.SetMode(1);
    EXPECT_FALSE(form.SelSigButton.enabled);
    form.SelSigCheckBox.checked = true;
    form.RadioButtonsClick();
    EXPECT_TRUE(form.SelSigButton.enabled);
    EXPECT_EQ(form.GetMode(), 3);
    form.SelectRadio(form.OnelineRadioButton);
    form.RadioButtonsClick();
    EXPECT_FALSE(form.SelSigCheckBox.enabled);
    EXPECT_FALSE(form.SelSigButton.enabled);
    EXPECT_TRUE(form.SelSigCheckBox.checked);  // kept, only ignored
    EXPECT_EQ(form.GetMode(), 2);
}

TEST_F(EditFormTest, DefaultSetupHidesAndClearsUseDefault) {
    form.UseDefaultCheckBox.checked = true;
    form.UseDefaultCheckBoxClick();
    form.SetDefaultSetup(true);
    EXPECT_TRUE(form.IsDefaultSetup());
    EXPECT_FALSE(form.UseDefaultCheckBox.visible);
    EXPECT_FALSE(form.UseDefaultCheckBox.checked);
    EXPECT_EQ(Enabled(form), "11111111111");
    form.SetDefaultSetup(false);
    EXPECT_FALSE(form.IsDefaultSetup());
}

TEST_F(EditFormTest, FolderNameIsAppendedToTheCaption) {
    form.SetFolderName("(default)");
    EXPECT_EQ(form.Caption, "Setup for the additional message - (default)");
}

TEST_F(EditFormTest, OkRemovesEmptyLinesAndRefusesAnEmptyOneLineList) {
    struct {
        std::vector<std::string> lines;
        int mode;
        bool closes;
        std::vector<std::string> after;
    } cases[] = {
        {{"a", "", "b", ""}, 2, true, {"a", "b"}},
        {{" ", "\t"}, 2, true, {" ", "\t"}},  // blanks are text
        {{"", "", ""}, 2, false, {}},
        {{}, 2, false, {}},
        {{}, 1, true, {}},
        {{}, 0, true, {}},
        {{"", "x"}, 3, true, {"x"}},
    };
    for (const auto& c : cases) {
        platform.messages.clear();
        form.SetDefaultSetup(true);
        form.SetMode(c.mode);
        form.FortuneMemo.lines = c.lines;
        EXPECT_EQ(PressOk(form), c.closes);
        EXPECT_EQ(form.FortuneMemo.lines, c.after);
        if (c.closes) {
            EXPECT_TRUE(platform.messages.empty());
        } else {
            ASSERT_EQ(platform.messages.size(), 1u);
            EXPECT_TRUE(platform.messages[0].warning);
            EXPECT_EQ(platform.messages[0].text, "Please set sentense(s) to add.");
        }
    }
}

TEST_F(EditFormTest, CancelIsNeverRefused) {
    form.SetDefaultSetup(true);
    form.SetMode(2);
    EXPECT_TRUE(form.FormCloseQuery(ModalResult::Cancel));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditFormTest, UsingTheDefaultSetupWithTheOneLineChoiceAndNoLineIsRefused) {
    // Kept as users know it: the check looks at the radio button, not the mode.
    form.SetDefaultSetup(false);
    form.SetMode(2);
    form.SetMode(-1);
    EXPECT_EQ(form.GetMode(), -1);
    EXPECT_FALSE(PressOk(form));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Please set sentense(s) to add.");
}

// The count line, the Ok check and Browse of quote file mode, over a stand-in
// for the reader that knows two files.
TEST_F(EditFormTest, QuoteFileIsCountedAndOkNeedsAQuote) {
    std::vector<std::string> asked;
    form.SummarizeQuoteFile = [&](const std::string& typed) {
        asked.push_back(typed);
        if (typed == "big.txt")
            return QuoteFileSummary{"C:\\plug\\big.txt", 1234567, ""};
        if (typed == "one.txt")
            return QuoteFileSummary{"C:\\plug\\one.txt", 1, ""};
        return QuoteFileSummary{typed, 0, typed.empty() ? "No quote file is set" : "why " + typed};
    };
    struct {
        int mode;
        const char* typed;
        const char* label;
        bool closes;
    } cases[] = {
        {4, "big.txt", "1,234,567 quotes", true},
        {4, "one.txt", "1 quote", true},
        {4, "", "No quote file is set", false},
        {4, "gone.txt", "why gone.txt", false},
        {2, "gone.txt", "", true},  // another mode: the file is kept, not checked
    };
    for (const auto& c : cases) {
        platform.messages.clear();
        form.SetDefaultSetup(true);
        form.SetMode(c.mode);
        form.FortuneMemo.lines = {"x"};
        form.QuoteFileEdit.text = c.typed;
        form.QuoteCountLabel.text.clear();
        EXPECT_EQ(PressOk(form), c.closes) << c.typed;
        EXPECT_EQ(form.QuoteCountLabel.text, c.label);
        EXPECT_EQ(platform.messages.size(), c.closes ? 0u : 1u);
        if (!c.closes) {
            EXPECT_EQ(platform.messages[0].text, c.label);
        }
    }

    // Browse opens in the current file's folder (the plug-in's folder while
    // none is named); a chosen file is counted at once, a cancel keeps all.
    form.QuoteFolder = "C:\\plug";
    std::vector<std::string> folders;
    std::optional<std::string> choice = "big.txt";
    forms.onChooseFile = [&](const std::string& folder) {
        folders.push_back(folder);
        return choice;
    };
    form.QuoteFileEdit.text = "";
    form.QuoteBrowseButtonClick();
    EXPECT_EQ(form.QuoteFileEdit.text, "big.txt");
    EXPECT_EQ(form.QuoteCountLabel.text, "1,234,567 quotes");
    form.QuoteFileEdit.text = "one.txt";
    choice.reset();
    form.QuoteBrowseButtonClick();
    EXPECT_EQ(form.QuoteFileEdit.text, "one.txt");
    EXPECT_EQ(folders, (std::vector<std::string>{"C:\\plug", "C:\\plug"}));
}

class SelectButtonTest : public EditFormTest {
protected:
    SelectButtonTest() {
        dir.Write("$$$00001Alpha.txt", "a");
        dir.Write("$$$00002Beta.txt", "b");
        dir.Write("$$$00003Gamma.txt", "c");
        form.MailboxPath = dir.Path() + PathSeparator();
    }
    TempDir dir;
};

// The titles checked in the selection dialog, sorted.
std::vector<std::string> Checked(const TSelectSigForm& select) {
    std::vector<std::string> titles;
    for (const auto& item : select.SigCheckListBox.items)
        if (item.checked)
            titles.push_back(item.title);
    std::sort(titles.begin(), titles.end());
    return titles;
}

TEST_F(SelectButtonTest, OkOfTheSelectionReplacesTheListAndTheNextOpeningChecksIt) {
    form.SelectedList = "\"Gamma\",\"alpha\"";
    std::vector<std::vector<std::string>> seen;
    forms.onSelect = [&](TSelectSigForm& select) {
        seen.push_back(Checked(select));
        for (auto& item : select.SigCheckListBox.items) item.checked = item.title == "Beta";
        return ModalResult::Ok;
    };
    form.SelSigButtonClick();
    EXPECT_EQ(form.SelectedList, "\"Beta\"");
    forms.onSelect = [&](TSelectSigForm& select) {
        seen.push_back(Checked(select));
        for (auto& item : select.SigCheckListBox.items) item.checked = true;
        return ModalResult::Cancel;
    };
    form.SelSigButtonClick();
    EXPECT_EQ(form.SelectedList, "\"Beta\"");  // Cancel keeps it
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(seen[1], std::vector<std::string>{"Beta"});
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace bk::test
