// The setup flow over the portable platform, a fake host and a scripted user:
// what is loaded into the dialog, and what Ok, Cancel and a failed save leave
// in the settings file.
#include "core/RunSetup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <optional>

#include "settings/CommaText.h"
#include "settings/IniEncoding.h"
#include "settings/IniFile.h"
#include "settings/QuoteFile.h"
#include "support/FakeHost.h"
#include "support/ScriptedForms.h"

namespace bk::test {
namespace {

using Lines = std::vector<std::string>;

class RunSetupTest : public ::testing::Test, public PluginFixture {
protected:
    RunSetupTest() { host.displayNames["mbox\\!!!!Inbox\\"] = "Inbox"; }
    std::string Ini() const { return dir.Join("bkQuorvel.ini"); }
    std::string File() const { return TempDir::Read(Ini()); }
    std::string Get(const char* section, const char* key) const {
        return IniFile(const_cast<FaultyPlatform&>(platform), plugin.Settings().Path())
            .ReadString(section, key, "<none>");
    }
    // Runs the flow; `user` plays the setup dialog (it sees the form as loaded).
    void Run(SetupOf setup, std::function<ModalResult(TEditForm&)> user) {
        forms.onEdit = std::move(user);
        RunSetup(plugin, setup);
    }
    static ModalResult Ok(TEditForm& form) {
        return PressOk(form) ? ModalResult::Ok : ModalResult::Cancel;
    }
};

TEST_F(RunSetupTest, DefaultSetupWithoutModeShowsTheRunningModeAndOkKeepsIt) {
    SetDefaultMode(3);  // the cached default mode (1 on a first run)
    SetDefaultTiming(1);
    Run(SetupOf::Default, [&](TEditForm& form) {
        EXPECT_EQ(form.Caption, "Setup for the additional message - (default)");
        EXPECT_TRUE(form.IsDefaultSetup());
        EXPECT_EQ(form.GetMode(), 3);
        EXPECT_EQ(form.TimingRadioGroup.itemIndex, 1);
        EXPECT_EQ(form.SelectedList, "");
        EXPECT_TRUE(form.FortuneMemo.lines.empty());
        EXPECT_EQ(form.MailboxPath, host.dataFolder + host.currentMailbox);
        return Ok(form);
    });
    EXPECT_EQ(File(), "[Options]\r\nMode=3\r\nSigAddTiming=1\r\nSelectedSigs=\r\nNoRepeat=0\r\n");
    EXPECT_EQ(plugin.Defaults().mode, 3);
    EXPECT_EQ(plugin.Defaults().timing, 1);
    EXPECT_EQ(host.calls, (Lines{"BKA_GetCurrentMailBox", "BKA_GetDataFolder"}));
}

TEST_F(RunSetupTest, FolderWithoutModeFollowsTheDefaultAndOkWritesItsOwnKeys) {
    SetDefaultTiming(0);
    WriteSettings("[Options]\r\nMode=2\r\nSigAddTiming=1\r\nNoRepeat=1\r\n");
    Run(SetupOf::CurrentFolder, [&](TEditForm& form) {
        EXPECT_EQ(form.Caption, "Setup for the additional message - Inbox");
        EXPECT_FALSE(form.IsDefaultSetup());
        EXPECT_TRUE(form.UseDefaultCheckBox.checked);
        EXPECT_FALSE(form.SignatureRadioButton.enabled);
        EXPECT_FALSE(form.TimingRadioGroup.enabled);
        EXPECT_EQ(form.TimingRadioGroup.itemIndex, 0);  // the cached default timing
        EXPECT_FALSE(form.NoRepeatCheckBox.checked);    // the folder's own, not the default's
        return Ok(form);
    });
    EXPECT_EQ(File(),
              "[Options]\r\nMode=2\r\nSigAddTiming=1\r\nNoRepeat=1\r\n"
              "[mbox\\!!!!Inbox\\]\r\nMode=-1\r\nSigAddTiming=0\r\nSelectedSigs=\r\n"
              "NoRepeat=0\r\n");
    EXPECT_EQ(plugin.Defaults().mode, 1);  // a folder's save leaves the defaults alone
    EXPECT_EQ(plugin.Defaults().timing, 0);
    EXPECT_EQ(host.calls, (Lines{"BKA_GetCurrentFolder", "BKA_GetFolderDisplayName",
                                 "BKA_GetCurrentMailBox", "BKA_GetDataFolder"}));
}

TEST_F(RunSetupTest, StoredValuesLoadAndOkWritesWhatTheControlsShow) {
    // The fair order's switch: missing or empty reads 0, anything but 0 is on.
    // Saved off, it drops the picker's round, in the file and in memory.
    struct {
        const char* mode;
        const char* timing;
        const char* noRepeat;  // null: no such line
        int modeShown;
        int itemShown;
        bool noRepeatShown;
        const char* modeSaved;
        const char* timingSaved;
    } cases[] = {
        {"7", "5", "1", 1, 1, true, "1", "1"},         {"3", "-3", "0", 3, -1, false, "3", "-1"},
        {"0", "-1", nullptr, 0, -1, false, "0", "-1"}, {"1", "0", "2", 1, 0, true, "1", "0"},
        {"-1", "1", "-1", 0, 1, true, "0", "1"},  // -1 in the default setup: no addition
        {"x", "", "", 0, 1, false, "0", "1"},     // not a number reads 0; empty gives the default
    };
    for (const auto& c : cases) {
        WriteSettings(std::string("[Options]\r\nMode=") + c.mode + "\r\nSigAddTiming=" + c.timing +
                      "\r\nSelectedSigs=\"A\",\"B\"\r\n" +
                      (c.noRepeat ? std::string("NoRepeat=") + c.noRepeat + "\r\n" : "") +
                      "NoRepeatRound=r\r\n");
        plugin.Rounds().Keep("Options", Round());  // picks made since the rounds were stored
        Run(SetupOf::Default, [&](TEditForm& form) {
            EXPECT_EQ(form.GetMode(), c.modeShown) << c.mode;
            EXPECT_EQ(form.TimingRadioGroup.itemIndex, c.itemShown) << c.timing;
            EXPECT_EQ(form.SelectedList, "\"A\",\"B\"");
            EXPECT_EQ(form.NoRepeatCheckBox.checked, c.noRepeatShown) << c.mode;
            return Ok(form);
        });
        EXPECT_EQ(Get("Options", "Mode"), c.modeSaved) << c.mode;
        EXPECT_EQ(Get("Options", "SigAddTiming"), c.timingSaved) << c.timing;
        EXPECT_EQ(Get("Options", "NoRepeat"), c.noRepeatShown ? "1" : "0") << c.mode;
        EXPECT_EQ(Get("Options", "NoRepeatRound"), c.noRepeatShown ? "r" : "<none>") << c.mode;
        EXPECT_EQ(plugin.Rounds().Find("options") != nullptr, c.noRepeatShown) << c.mode;
        // The running plug-in follows the saved default setup at once.
        EXPECT_EQ(plugin.Defaults().mode, std::stoi(c.modeSaved)) << c.mode;
        EXPECT_EQ(plugin.Defaults().timing, std::stoi(c.timingSaved)) << c.timing;
        // Written back as it was stored.
        EXPECT_NE(File().find("SelectedSigs=\"A\",\"B\"\r\n"), std::string::npos);
    }
}

TEST_F(RunSetupTest, StoredListKeepsItsTitlesWholeThroughAnOk) {
    // Titles with outer blanks and apostrophes, stored in either form, read
    // back as the same titles after an Ok that did not touch them.
    const std::string stored[] = {"\" first\",\"last \"",
                                  "' first\",\"last '",
                                  "\"'a\",\"b'\"",
                                  "'a\",\"b'",
                                  "A,B",
                                  "\"\",\"\""};
    for (const std::string& value : stored) {
        WriteSettings("[Options]\r\nMode=3\r\nSelectedSigs=" + value + "\r\n");
        const IniFile ini(platform, plugin.Settings().Path());
        auto titles = [&] {
            return SplitCommaText('"' + ini.ReadString("Options", "SelectedSigs", "") + '"',
                                  platform.AnsiCodePage());
        };
        const auto before = titles();
        Run(SetupOf::Default, [&](TEditForm& form) {
            EXPECT_EQ(SplitCommaText(form.SelectedList, platform.AnsiCodePage()), before) << value;
            return Ok(form);
        });
        EXPECT_EQ(titles(), before) << value;
    }
}

// The dialog speaks the system code page; what it shows of a Unicode file and
// gets back unchanged is stored as the file had it ("->" does not become "?"),
// known by where it was read: a line that moved keeps its text, lines that
// show alike pair in their order, a real "?" stays one. Lines the user typed
// are converted.
TEST_F(RunSetupTest, UnicodeFileLosesNothingTheUserDidNotEdit) {
    const std::string arrow = "\xe2\x86\x92", back = "\xe2\x86\x90";
    const std::string list =
        "OneLineCount=2\r\nSigAddTiming=1\r\nSelectedSigs=\r\nNoRepeat=0\r\n"
        "[OptionsOneliner]\r\n";
    struct {
        std::string before;
        std::optional<Lines> typed;  // the memo's lines at Ok; none: as loaded
        std::string after;
    } cases[] = {
        {"Mode=2\r\nSelectedSigs=" + arrow +
             " a,b\r\nOneLineCount=3\r\n[OptionsOneliner]\r\n"
             "sig0=\"1" +
             arrow + "\"\r\nsig1=\"2" + back + "\"\r\nsig2=\"" + back + "\"\r\n",
         Lines{"2?", "?", "new \xe9", "?"},
         "Mode=2\r\nSelectedSigs=" + arrow +
             " a,b\r\nOneLineCount=4\r\nSigAddTiming=1\r\n"
             "NoRepeat=0\r\n[OptionsOneliner]\r\nsig0=\"2" +
             back + "\"\r\nsig1=\"" + back + "\"\r\nsig2=\"new \xc3\xa9\"\r\nsig3=\"?\"\r\n"},
        {"Mode=2\r\nOneLineCount=2\r\n[OptionsOneliner]\r\nsig0=\"?\"\r\nsig1=\"" + arrow +
             "\"\r\n",
         std::nullopt, "Mode=2\r\n" + list + "sig0=\"?\"\r\nsig1=\"" + arrow + "\"\r\n"},
        {"Mode=2\r\nOneLineCount=2\r\n[OptionsOneliner]\r\nsig0=" + arrow + "\r\nsig0=x\r\n",
         std::nullopt,
         "Mode=2\r\n" + list + "sig0=" + arrow + "\r\nsig0=x\r\nsig1=\"" + arrow + "\"\r\n"},
        {"Mode=2\r\nOneLineCount=2\r\n[OptionsOneliner]\r\nsig0=" + arrow + "\r\nsig0=" + back +
             "\r\n",
         std::nullopt,
         "Mode=2\r\n" + list + "sig0=" + arrow + "\r\nsig0=" + back + "\r\nsig1=\"" + arrow +
             "\"\r\n"},
        {"Mode=1\r\nSelectedSigs=" + arrow + "a\", \"b\r\n", std::nullopt,
         "Mode=1\r\nSelectedSigs=" + arrow + "a\", \"b\r\nSigAddTiming=1\r\nNoRepeat=0\r\n"},
    };
    for (const auto& c : cases) {
        for (IniEncoding encoding : {IniEncoding::Utf8, IniEncoding::Utf16Le}) {
            WriteSettings(EncodeIniFile(encoding, "[Options]\r\n" + c.before, ""));
            Run(SetupOf::Default, [&](TEditForm& form) {
                if (c.typed)
                    form.FortuneMemo.lines = *c.typed;
                return Ok(form);
            });
            IniFileText file = DecodeIniFile(File());
            EXPECT_EQ(file.encoding, encoding);
            EXPECT_EQ(file.text, "[Options]\r\n" + c.after) << c.before;
        }
    }
}

// What the file already held never makes a save fail: here a byte that is not
// UTF-8 in a file with a UTF-8 mark, through a mere mode change.
TEST_F(RunSetupTest, AModeChangeSavesWhateverTheFileHeld) {
    WriteSettings(
        "\xef\xbb\xbf[Options]\r\nMode=3\r\nSelectedSigs=\xe9"
        "A\r\n");
    Run(SetupOf::Default, [&](TEditForm& form) {
        form.SelectRadio(form.NoActionRadioButton);
        form.RadioButtonsClick();
        return Ok(form);
    });
    EXPECT_EQ(File(),
              "\xef\xbb\xbf[Options]\r\nMode=0\r\nSelectedSigs=\xe9"
              "A\r\nSigAddTiming=1\r\nNoRepeat=0\r\n");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RunSetupTest, OneLineModeWritesTheLinesAndRemovesTheOldSurplus) {
    WriteSettings(
        "[Options]\r\nMode=2\r\nOneLineCount=4\r\n"
        "[OptionsOneliner]\r\nsig0=\"w\"\r\nsig1=\"x\"\r\nSIG2=\"y\"\r\nsig3=\"z\"\r\nsig4="
        "\"kept\"\r\n");
    Run(SetupOf::Default, [&](TEditForm& form) {
        EXPECT_EQ(form.FortuneMemo.lines, (Lines{"w", "x", "y", "z", "kept"}));
        form.FortuneMemo.lines = {"a", "", " b ", "say \"hi\""};
        return Ok(form);
    });
    EXPECT_EQ(File(),
              "[Options]\r\nMode=2\r\nOneLineCount=3\r\nSigAddTiming=1\r\nSelectedSigs=\r\n"
              "NoRepeat=0\r\n"
              "[OptionsOneliner]\r\nsig0=\"a\"\r\nsig1=\" b \"\r\nSIG2=\"say \"hi\"\"\r\n"
              "sig4=\"kept\"\r\n");
    EXPECT_EQ(Get("OptionsOneliner", "sig1"), " b ");
    EXPECT_EQ(Get("Options", "OnelineCount"), "3");
}

TEST_F(RunSetupTest, OtherModesLeaveTheListAlone) {
    const std::string before =
        "[x\\f\\]\r\nMode=2\r\nOneLineCount=1\r\n[x\\f\\Oneliner]\r\nsig0=\"old\"\r\n";
    WriteSettings(before);
    host.currentFolder = "x\\f\\";
    Run(SetupOf::CurrentFolder, [&](TEditForm& form) {
        form.FortuneMemo.lines = {"new", "lines"};
        form.SelectRadio(form.SignatureRadioButton);
        form.RadioButtonsClick();
        return Ok(form);
    });
    EXPECT_EQ(Get("x\\f\\", "Mode"), "1");
    EXPECT_EQ(Get("x\\f\\", "OneLineCount"), "1");
    EXPECT_EQ(Get("x\\f\\Oneliner", "sig0"), "old");
    EXPECT_EQ(Get("x\\f\\Oneliner", "sig1"), "<none>");
}

// "QuoteFile" shows as stored, counted from the settings file's folder, and
// is saved as typed in every mode; missing and left empty, it stays missing.
TEST_F(RunSetupTest, QuoteFileLoadsWithItsCountAndSavesAsTyped) {
    dir.Write("quotes.txt", "one\r\n%\r\ntwo\r\n");
    struct {
        const char* stored;  // null: no such key
        const char* typed;   // null: left as loaded
        int mode;
        const char* label;
        const char* saved;
    } cases[] = {
        {"quotes.txt", nullptr, 4, "2 quotes", "quotes.txt"},
        {"quotes.txt", "other.txt", 1, "2 quotes", "other.txt"},
        {"quotes.txt", "", 0, "2 quotes", ""},
        {nullptr, "quotes.txt", 3, kQuoteFileNotSet, "quotes.txt"},
        {nullptr, nullptr, 1, kQuoteFileNotSet, "<none>"},
    };
    for (const auto& c : cases) {
        WriteSettings(c.stored ? std::string("[Options]\r\nQuoteFile=") + c.stored + "\r\n" : "");
        Run(SetupOf::Default, [&](TEditForm& form) {
            EXPECT_EQ(form.QuoteFileEdit.text, c.stored ? c.stored : "");
            EXPECT_EQ(form.QuoteCountLabel.text, c.label);
            if (c.typed)
                form.QuoteFileEdit.text = c.typed;
            form.SetMode(c.mode);
            return Ok(form);
        });
        EXPECT_EQ(Get("Options", "QuoteFile"), c.saved) << c.stored;
        EXPECT_EQ(Get("Options", "Mode"), std::to_string(c.mode));
    }
}

TEST_F(RunSetupTest, ForeignAndRepeatedKeysShowAsLinesAndSaveAsSigKeys) {
    WriteSettings(
        "[Options]\r\nMode=2\r\nOneLineCount=2\r\n[OptionsOneliner]\r\n"
        "; a comment\r\nsig0=\"first\"\r\nfoo=bar\r\nno value line\r\nSIG0=\"again\"\r\n"
        "empty=\r\n");
    Run(SetupOf::Default, [&](TEditForm& form) {
        EXPECT_EQ(form.FortuneMemo.lines, (Lines{"first", "bar", "first", ""}));
        return Ok(form);
    });
    EXPECT_EQ(Get("OptionsOneliner", "sig0"), "first");
    EXPECT_EQ(Get("OptionsOneliner", "sig1"), "bar");
    EXPECT_EQ(Get("OptionsOneliner", "sig2"), "first");
    EXPECT_EQ(Get("OptionsOneliner", "sig3"), "<none>");  // the empty line went at Ok
    EXPECT_EQ(Get("OptionsOneliner", "foo"), "bar");      // foreign keys stay
    EXPECT_EQ(Get("Options", "OneLineCount"), "3");
}

TEST_F(RunSetupTest, LongListsAndLongValuesLoadAndSaveWhole) {
    const int n = 3000;  // key names alone take more than 16 KiB
    const std::string longLine(5000, 'L');
    std::string ini =
        "[Options]\r\nMode=2\r\nSigAddTiming=1\r\nNoRepeat=0\r\nOneLineCount=3000\r\nSelectedSigs="
        "\"" +
        std::string(3000, 'S') + "\"\r\n[OptionsOneliner]\r\n";
    for (int i = 0; i < n; ++i)
        ini += "sig" + std::to_string(i) + "=\"" + (i == n - 1 ? longLine : std::to_string(i)) +
               "\"\r\n";
    WriteSettings(ini);
    Run(SetupOf::Default, [&](TEditForm& form) {
        EXPECT_EQ(form.FortuneMemo.lines.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(form.FortuneMemo.lines.back(), longLine);
        EXPECT_EQ(form.SelectedList.size(), 3002u);  // the full form, in quotes
        return Ok(form);
    });
    EXPECT_TRUE(File() == ini);  // byte for byte (too long to print)
}

TEST_F(RunSetupTest, CancelWritesNothing) {
    const std::string before = "[Options]\r\nMode=3\r\n";
    WriteSettings(before);
    Run(SetupOf::Default, [&](TEditForm& form) {
        form.SelectRadio(form.OnelineRadioButton);
        form.FortuneMemo.lines = {"x"};
        form.SelectedList = "\"changed\"";
        form.NoRepeatCheckBox.checked = true;
        return ModalResult::Cancel;
    });
    EXPECT_EQ(File(), before);
    EXPECT_EQ(plugin.Defaults().mode, 1);
    EXPECT_EQ(forms.editShown, 1);
}

TEST_F(RunSetupTest, AFailedSaveChangesNothingAndTellsTheUser) {
    const std::string before = "[Options]\r\nMode=1\r\nSigAddTiming=1\r\n";
    WriteSettings(before);
    ASSERT_EQ(chmod(Ini().c_str(), 0444), 0);
    Run(SetupOf::Default, [&](TEditForm& form) {
        form.SelectRadio(form.OnelineRadioButton);
        form.FortuneMemo.lines = {"a", "b"};
        form.TimingRadioGroup.itemIndex = 0;
        return Ok(form);
    });
    chmod(Ini().c_str(), 0644);
    EXPECT_EQ(File(), before);
    EXPECT_EQ(plugin.Defaults().mode, 1);
    EXPECT_EQ(plugin.Defaults().timing, 1);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_FALSE(platform.messages[0].warning);
    EXPECT_EQ(platform.messages[0].text.rfind("The settings could not be saved", 0), 0u);
}

// Shown as defaults, the setup would be stored over the user's at Ok.
TEST_F(RunSetupTest, AFileThatCannotBeReadIsReportedAndNotShown) {
    const std::string before = "[Options]\r\nMode=3\r\n";
    WriteSettings(before);
    platform.fault = [](std::string_view op) {
        if (op == "ReadFile")
            throw FileError("bkQuorvel.ini", "locked");
    };
    Run(SetupOf::Default, Ok);
    EXPECT_EQ(forms.editShown, 0);
    EXPECT_EQ(File(), before);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "The settings could not be read.\r\nlocked: bkQuorvel.ini");
}

// Which keys a save of a shorter list deletes as surplus entries: "sig" and
// the index as the list writes it; any other spelling is a foreign key and stays.
TEST(OneLineKeyIndex, NamesOnlyTheKeysTheListWrites) {
    const CodePage cp = CodePage::Western();
    const std::pair<const char*, long long> cases[] = {
        {"sig0", 0},   {"SIG12", 12}, {"Sig9999999999", 9999999999}, {"sig01", -1}, {"sig", -1},
        {"sig1x", -1}, {"sig-1", -1}, {"sig12345678901", -1},        {"xsig1", -1}, {" sig1", -1},
    };
    for (const auto& [key, index] : cases) EXPECT_EQ(OneLineKeyIndex(key, cp), index) << key;
}

}  // namespace
}  // namespace bk::test
