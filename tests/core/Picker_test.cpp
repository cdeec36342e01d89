// The signature picker over the portable platform and a fake host, as the
// hooks run it: the setup resolved from one read of the file, the choice acted on.
#include "core/Picker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "core/Hooks.h"
#include "core/Random.h"
#include "settings/CommaText.h"
#include "settings/IniEncoding.h"
#include "settings/IniFile.h"
#include "settings/QuoteFile.h"
#include "settings/Schema.h"
#include "settings/SignatureFiles.h"
#include "support/FakeHost.h"

namespace bk::test {
namespace {

using namespace std::string_literals;

const std::string kNoSignature = "No signature file found.\r\nThe mail is going to be sent as is.";

void AddTo(Plugin& plugin, WindowHandle w, const std::string& folder, HideWindow hide) {
    const IniSnapshot settings(plugin.Settings());
    AddSignature(plugin, w, settings, ResolveSetup(settings, folder, plugin.Defaults()), hide);
}

class PickerTest : public ::testing::Test, public PluginFixture {
protected:
    std::vector<std::string> Pick(const std::string& section, HideWindow hide = HideWindow::No) {
        WindowHandle w = NewWindow();
        AddTo(plugin, w, section, hide);
        return Texts(w);
    }
};

TEST_F(PickerTest, FolderWithoutModeFollowsTheDefaultSetupAndItsMailbox) {
    WriteSettings("[Options]\r\nMode=1\r\n[other\\in\\]\r\nSigAddTiming=0\r\n");
    WriteSignature("$$$00001Default.txt", "from the current mailbox");
    dir.Write("data/other/$$$00001Other.txt", "from the folder's mailbox");
    SetDefaultMode(1);
    for (const char* section : {"other\\in\\", "", "missing\\x\\"})
        EXPECT_EQ(Pick(section), std::vector<std::string>{"from the current mailbox"}) << section;
    WriteSettings("[other\\in\\]\r\nMode=-1\r\n");
    EXPECT_EQ(Pick("other\\in\\"), std::vector<std::string>{"from the current mailbox"});
    EXPECT_EQ(CallCount("BKA_GetCurrentMailBox"), 4);
}

TEST_F(PickerTest, FolderModeUsesTheFoldersOwnMailbox) {
    WriteSettings("[other\\in\\]\r\nMode=1\r\n");
    WriteSignature("$$$00001Default.txt", "current");
    dir.Write("data/other/$$$00001Other.txt", "folder");
    EXPECT_EQ(Pick("other\\in\\"), std::vector<std::string>{"folder"});
    EXPECT_EQ(CallCount("BKA_GetCurrentMailBox"), 0);
}

TEST_F(PickerTest, ModeZeroAndUnknownModesAddNothing) {
    WriteSignature("$$$00001A.txt", "a");
    for (const char* mode : {"0", "5", "7", "-2"}) {
        WriteSettings(std::string("[f\\in\\]\r\nMode=") + mode + "\r\n");
        EXPECT_TRUE(Pick("f\\in\\").empty()) << mode;
    }
    SetDefaultMode(0);
    EXPECT_TRUE(Pick("").empty());
    EXPECT_TRUE(platform.messages.empty());
}

// A file with a byte-order mark goes in converted to the system code page,
// without the mark; one without goes in whole, byte for byte.
TEST_F(PickerTest, SignatureFilesWithAByteOrderMarkAreConverted) {
    const struct {
        const char* name;
        CodePage codePage;
        std::string bytes, text;
    } cases[] = {
        {"no mark", CodePage::Western(), "1\r\n2\n\xc3\xbc \xfc\r\n", "1\r\n2\n\xc3\xbc \xfc\r\n"},
        {"UTF-8", CodePage::Western(),
         "\xef\xbb\xbfGr\xc3\xbc\xc3\x9f"
         "e \xe2\x86\x92\r\n",
         "Gr\xfc\xdf"
         "e ?\r\n"},
        {"UTF-16LE", CodePage::Western(), "\xff\xfeG\0r\0\xfc\0\r\0\n\0"s, "Gr\xfc\r\n"},
        {"UTF-16BE", CodePage::Western(), "\xfe\xff\0G\0\xfc"s, "G\xfc"},
        {"mark only", CodePage::Western(), "\xef\xbb\xbf", ""},
        {"empty", CodePage::Western(), "", ""},  // still reaches the host
        {"UTF-8 in code page 932", CodePage::Japanese(), "\xef\xbb\xbf\xe3\x82\xbd\xe6\x97\xa5",
         "\x83\x5c\x93\xfa"},
    };
    for (const auto& c : cases) {
        platform.SetCodePage(c.codePage);
        std::string path = WriteSignature("$$$00001Sig.txt", c.bytes);
        EXPECT_EQ(Pick(""), std::vector<std::string>{c.text}) << c.name;
        std::remove(path.c_str());
    }
}

// Settings files in any encoding; names in code page 932: a mailbox whose
// name's second byte is "\", sections that differ in a double-byte
// character's trail byte only (which must not fold), a Shift JIS title.
TEST_F(PickerTest, SettingsInEveryEncodingReachTheHostInTheSystemCodePage) {
    platform.SetCodePage(CodePage::Japanese());
    const std::string mailbox = "\x83\x5c\x83\x61", title = "\x93\xfa\x96\x7b";
    dir.Write("data/" + mailbox + "/$$$00001" + title + ".txt", "nihon");
    const std::string ansi = "[\x83\x5c\x83\x41\\in\\]\r\nMode=0\r\n[" + mailbox +
                             "\\in\\]\r\nMode=3\r\nSelectedSigs=" + title +
                             "\r\n[Options]\r\nOneLineCount=1\r\n[OptionsOneliner]\r\nsig0=\"" +
                             title + "\"\r\n";
    for (IniEncoding encoding : {IniEncoding::Ansi, IniEncoding::Utf8, IniEncoding::Utf16Le}) {
        WriteSettings(EncodeIniFile(
            encoding, encoding == IniEncoding::Ansi ? ansi : platform.Utf8FromAnsi(ansi), ""));
        EXPECT_EQ(Pick(mailbox + "\\in\\"), std::vector<std::string>{"nihon"});
        SetDefaultMode(2);
        EXPECT_EQ(Pick(""), std::vector<std::string>{title + "\r\n"});
    }
}

TEST_F(PickerTest, ChoosesAmongFilesWithOneDrawInSearchOrder) {
    for (const char* name : {"$$$00001A.txt", "$$$00002B.txt", "$$$00003C.txt"})
        WriteSignature(name, name);
    auto order = platform.FindFiles(MailboxDir() + "/$$$*.txt");
    ASSERT_EQ(order.size(), 3u);
    for (std::uint32_t seed : {0u, 1u, 2u, 12345u, 99999u}) {
        Reseed(seed);
        Random expected(seed);
        EXPECT_EQ(Pick(""), std::vector<std::string>{order[expected.Below(3)].name});
        EXPECT_EQ(plugin.Generator().Seed(), expected.Seed());  // exactly one draw
    }
}

TEST_F(PickerTest, NoSignatureFileShowsTheMessageAndAddsNothing) {
    SetDefaultMode(1);
    EXPECT_TRUE(Pick("", HideWindow::First).empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].warning);
    EXPECT_EQ(platform.messages[0].text, kNoSignature);
    EXPECT_TRUE(platform.hiddenWindows.empty());  // no text, so the window stays
}

TEST_F(PickerTest, UnreadableChoiceAddsNothingAndSaysWhy) {
    dir.Write("data/mbox/$$$00001Dir.txt/inside", "x");  // a directory that matches
    EXPECT_TRUE(Pick("", HideWindow::First).empty());
    EXPECT_EQ(CallCount("BKA_CompSetText"), 0);
    EXPECT_TRUE(platform.hiddenWindows.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("$$$00001Dir.txt"), std::string::npos);
}

// A file that changes between the search and the read: shortened, deleted or
// locked just before it is read.
TEST_F(PickerTest, AChosenFileThatChangedAddsNothingAndNothingReachesTheHost) {
    const std::string path = WriteSignature("$$$00001A.txt", "abc");
    const std::function<void()> changes[] = {
        [&] { dir.Write("data/mbox/$$$00001A.txt", "a"); },
        [&] { std::remove(path.c_str()); },
        [&] { throw FileError(path, "The file is in use"); },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        WriteSignature("$$$00001A.txt", "abc");
        platform.messages.clear();
        platform.fault = [&](std::string_view op) {
            if (op == "ReadFileExactly")
                changes[i]();
        };
        EXPECT_TRUE(Pick("", HideWindow::First).empty()) << i;
        EXPECT_EQ(CallCount("BKA_CompSetText"), 0) << i;
        EXPECT_TRUE(platform.hiddenWindows.empty()) << i;
        EXPECT_EQ(platform.messages.size(), 1u) << i;
    }
}

TEST_F(PickerTest, OneLineModeAddsTheDrawnLineWithCrLf) {
    std::string longLine(5000, 'x');
    WriteSettings(
        "[f\\in\\]\r\nMode=2\r\nOneLineCount=3\r\n[f\\in\\Oneliner]\r\nsig0=\" a \"\r\n"
        "sig2=\"" +
        longLine + "\"\r\n");
    for (std::uint32_t seed : {0u, 1u, 2u, 3u, 4u, 5u}) {
        Reseed(seed);
        std::uint32_t i = Random(seed).Below(3);
        std::string expected = i == 0 ? " a \r\n" : i == 1 ? "\r\n" : longLine + "\r\n";
        EXPECT_EQ(Pick("f\\in\\"), std::vector<std::string>{expected}) << seed;
    }
    EXPECT_EQ(CallCount("BKA_GetCurrentMailBox"), 0);
}

TEST_F(PickerTest, OneLineModeWithoutEntriesIsSilent) {
    for (const char* count : {"", "OneLineCount=0\r\n", "OneLineCount=-4\r\n"}) {
        WriteSettings(std::string("[Options]\r\nMode=2\r\n") + count);
        SetDefaultMode(2);
        EXPECT_TRUE(Pick("").empty());
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PickerTest, RestrictedModeDropsTitlesWithoutFiles) {
    WriteSettings("[f\\in\\]\r\nMode=3\r\nSelectedSigs=\"A\",\"B\"\r\n");
    dir.Write("data/f/$$$00002B.txt", "b");
    for (std::uint32_t seed = 0; seed < 8; ++seed) {
        Reseed(seed);
        EXPECT_EQ(Pick("f\\in\\"), std::vector<std::string>{"b"});
        // One draw, plus one more when A was tried first and dropped.
        Random r(seed);
        if (r.Below(2) == 0)
            r.Below(1);
        EXPECT_EQ(plugin.Generator().Seed(), r.Seed());
    }
}

// Which file a stored list finds: any five characters before the title, the
// file without a title for an empty list, a title past the 255th character.
TEST_F(PickerTest, RestrictedModeFindsTheFileOfATitle) {
    std::string longList;
    for (int i = 0; i < 40; ++i) longList += "\"title number " + std::to_string(i) + "\",";
    const struct {
        std::string stored, file;
    } cases[] = {
        {"\"My, \"\"quoted\"\" one\"", "$$$0001fMy, \"quoted\" one.txt"},
        {"", "$$$12345.txt"},
        {longList + "\"Last\"", "$$$00009Last.txt"},
    };
    SetDefaultMode(3);
    for (const auto& c : cases) {
        WriteSettings("[Options]\r\nSelectedSigs=" + c.stored + "\r\n");
        const std::string path = WriteSignature(c.file, c.file);
        EXPECT_EQ(Pick(""), std::vector<std::string>{c.file});
        std::remove(path.c_str());
    }
}

TEST_F(PickerTest, RestrictedModeWithNoFileAtAllShowsTheMessage) {
    WriteSettings("[Options]\r\nSelectedSigs=\"A\",\"B\",\"C\"\r\n");
    SetDefaultMode(3);
    Reseed(7);
    EXPECT_TRUE(Pick("").empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, kNoSignature);
    Random r(7);
    r.Below(3), r.Below(2), r.Below(1);  // a draw for each of the three tries
    EXPECT_EQ(plugin.Generator().Seed(), r.Seed());
}

TEST_F(PickerTest, HeaderValueLeadingOutOfTheDataFolderFindsNothing) {
    dir.Write("$$$00001Secret.txt", "secret");  // beside the data folder
    WriteSettings("[..\\x\\]\r\nMode=1\r\n");
    EXPECT_TRUE(Pick("..\\x\\").empty());
    EXPECT_EQ(platform.messages.size(), 1u);
}

// Mode 4: one draw over the quotes of the file (a relative path is taken from
// the settings file's folder); a file that gives none says why, adds nothing.
TEST_F(PickerTest, QuoteFileModeAddsADrawnQuoteOrSaysWhy) {
    dir.Write("q.txt", "one\n%\ntwo,\r\n  lines\n%\nthree");
    const std::vector<std::string> quotes = {"one\r\n", "two,\r\n  lines\r\n", "three\r\n"};
    WriteSettings("[f\\in\\]\r\nMode=4\r\nQuoteFile=q.txt\r\n");
    for (std::uint32_t seed : {0u, 1u, 2u, 3u}) {
        Reseed(seed);
        EXPECT_EQ(Pick("f\\in\\"), std::vector<std::string>{quotes[Random(seed).Below(3)]});
    }
    dir.Write("empty.txt", "%\n  \n%\n");
    WriteSettings("[f\\in\\]\r\nMode=4\r\nQuoteFile=empty.txt\r\n");
    EXPECT_TRUE(Pick("f\\in\\").empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].warning);
    EXPECT_EQ(platform.messages[0].text, kQuoteFileEmpty + ": "s + dir.Join("empty.txt") +
                                             "\r\nThe mail is going to be sent as is.");
}

// ---- The fair order ("NoRepeat"=1) ----

// One setup of the default section in `mode` whose entries are named by
// letters: mode 1 signature files, mode 2 lines, mode 3 titles (with one more
// title that has no file, so never an entry), mode 4 quotes of a file in the
// fortune form, named by a path relative to the settings file.
class FairOrder : public PluginFixture {
public:
    explicit FairOrder(int mode) : mode_(mode) {
        WriteSettings("[Options]\r\nMode=" + std::to_string(mode) +
                      "\r\nNoRepeat=1\r\nQuoteFile=quotes.txt\r\n[f\\in\\]\r\nMode=-1\r\n");
        SetDefaultMode(mode);
    }

    void SetEntries(const std::vector<std::string>& names) {
        for (const std::string& old : files_) std::remove(old.c_str());
        files_.clear();
        const IniFile settings = plugin.Settings();
        IniBatch batch(settings);
        if (mode_ == kModeQuoteFile) {
            std::string quotes;
            for (const std::string& name : names) quotes += name + "\n%\n";
            dir.Write("quotes.txt", quotes);
        } else if (mode_ == kModeOneLine) {
            WriteOneLineList(batch, "Options", names, SurplusEntries::Remove,
                             platform.AnsiCodePage());
        } else {
            for (const std::string& name : names)
                files_.push_back(WriteSignature(SignatureFileName(name[0], name), name));
            std::vector<std::string> titles = names;
            titles.push_back("Missing");
            batch.WriteString("Options", kSelectedSigsKey,
                              JoinCommaText(titles, platform.AnsiCodePage()));
        }
        batch.Commit();
    }

    // `count` picks by `by`, from the default setup and from a folder that
    // follows it in turn; each must add one text with one draw (two or more
    // in mode 3, which draws again after the title without a file). The
    // rounds are stored after every other pick, as a minute goes by.
    std::vector<std::string> Picks(std::size_t count, Plugin& by) {
        std::vector<std::string> picks;
        for (std::size_t i = 0; i < count; ++i) {
            Random expected(by.Generator().Seed());
            expected.Below(1);
            WindowHandle w = NewWindow();
            AddTo(by, w, i % 2 ? "f\\in\\" : "", HideWindow::No);
            std::vector<std::string> texts = Texts(w);
            EXPECT_EQ(texts.size(), 1u);
            if (mode_ != kModeRestricted) {
                EXPECT_EQ(by.Generator().Seed(), expected.Seed()) << "one draw per pick";
            }
            std::string text = texts.empty() ? "<none>" : texts.front();
            const bool line = mode_ == kModeOneLine || mode_ == kModeQuoteFile;
            picks.push_back(line ? text.substr(0, text.size() - 2) : text);
            if (i % 2)
                by.Rounds().Store(by.Settings());
        }
        return picks;
    }
    std::vector<std::string> Picks(std::size_t count) { return Picks(count, plugin); }

private:
    int mode_;
    std::vector<std::string> files_;
};

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<std::string> Without(std::vector<std::string> v, const std::vector<std::string>& gone) {
    std::erase_if(v, [&](const std::string& s) { return std::count(gone.begin(), gone.end(), s); });
    return v;
}

TEST(FairOrderTest, RoundsHoldEveryEntryOnceAcrossRestartsChangesAndFailedWrites) {
    const std::vector<std::string> letters = {"A", "B", "C", "D", "E"};
    for (int mode : {kModeSignatureFile, kModeOneLine, kModeRestricted, kModeQuoteFile}) {
        for (std::size_t n : {1u, 2u, 5u}) {
            SCOPED_TRACE("mode " + std::to_string(mode) + ", " + std::to_string(n) + " entries");
            FairOrder f(mode);
            std::vector<std::string> names(letters.begin(), letters.begin() + n);
            f.SetEntries(names);

            // Whole rounds; none starts with the pick that ended the one before.
            std::string previous;
            for (int round = 0; round < 3; ++round) {
                std::vector<std::string> picks = f.Picks(n);
                EXPECT_EQ(Sorted(picks), names);
                if (n >= 2) {
                    EXPECT_NE(picks.front(), previous);
                }
                previous = picks.back();
            }

            // Restarted mid-round (the rounds are stored at exit), the client
            // goes on with what was not picked.
            std::vector<std::string> before = f.Picks(n / 2);
            f.plugin.Rounds().Store(f.plugin.Settings());
            {
                Plugin restarted{f.platform, f.forms};
                ASSERT_TRUE(restarted.Attach());
                restarted.SetDefaults(f.plugin.Defaults());
                std::vector<std::string> after = f.Picks(n - n / 2, restarted);
                after.insert(after.end(), before.begin(), before.end());
                EXPECT_EQ(Sorted(after), names);
                restarted.Rounds().Store(restarted.Settings());
            }

            // An entry not yet picked is replaced by a new one (in modes 2 and 4
            // an edited line or quote, the others keeping their places): the round ends
            // with the rest and the new one.
            std::vector<std::string> picked = f.Picks(std::min<std::size_t>(2, n - 1));
            std::vector<std::string> rest = Without(names, picked);
            std::replace(names.begin(), names.end(), rest.front(), std::string("F"));
            f.SetEntries(names);
            rest = Without(names, picked);
            EXPECT_EQ(Sorted(f.Picks(rest.size())), Sorted(rest));

            // A settings file that can't be written: every delivery still gets
            // its text, silently, and the rounds go on in memory.
            f.plugin.Rounds().Store(f.plugin.Settings());
            const std::string file = TempDir::Read(f.dir.Join("bkQuorvel.ini"));
            f.platform.fault = [](std::string_view op) {
                if (op == "ReplaceFile")
                    throw FileError("bkQuorvel.ini", "access denied");
            };
            for (int round = 0; round < 2; ++round) EXPECT_EQ(Sorted(f.Picks(n)), Sorted(names));
            EXPECT_TRUE(f.platform.messages.empty());
            EXPECT_EQ(TempDir::Read(f.dir.Join("bkQuorvel.ini")), file);
        }
    }
}

}  // namespace
}  // namespace bk::test
