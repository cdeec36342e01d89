// The signature picker over the portable platform and a fake host.
#include "core/Picker.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "settings/IniEncoding.h"
#include "support/FakeHost.h"

namespace bk::test {
namespace {

using namespace std::string_literals;

const std::string kNoSignature = "No signature file found.\r\nThe mail is going to be sent as is.";

class PickerTest : public ::testing::Test, public PluginFixture {
protected:
    std::vector<std::string> Pick(const std::string& section, HideWindow hide = HideWindow::No) {
        WindowHandle w = NewWindow();
        AddSignature(plugin, w, section, hide);
        last = w;
        return Texts(w);
    }
    WindowHandle last = nullptr;
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
    for (const char* mode : {"0", "4", "7", "-2"}) {
        WriteSettings(std::string("[f\\in\\]\r\nMode=") + mode + "\r\n");
        EXPECT_TRUE(Pick("f\\in\\").empty()) << mode;
    }
    SetDefaultMode(0);
    EXPECT_TRUE(Pick("").empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PickerTest, FolderWithoutBackslashSearchesTheDataFolderItself) {
    WriteSettings("[plain]\r\nMode=1\r\n");
    dir.Write("data/$$$00001Top.txt", "top");
    EXPECT_EQ(Pick("plain"), std::vector<std::string>{"top"});
}

TEST_F(PickerTest, SignatureFileIsReadWholeAsBytes) {
    std::string bytes = "line 1\r\nline 2\n\xE9\x82\xA3\r\n";
    WriteSignature("$$$0001AHello.txt", bytes);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Pick(""), std::vector<std::string>{bytes});
}

// A file with a byte-order mark goes in converted to the system code page,
// without the mark; one without goes in byte for byte.
TEST_F(PickerTest, SignatureFilesWithAByteOrderMarkAreConverted) {
    const struct {
        const char* name;
        CodePage codePage;
        std::string bytes, text;
    } cases[] = {
        {"no mark", CodePage::Western(), "\xc3\xbc \xfc", "\xc3\xbc \xfc"},
        {"UTF-8", CodePage::Western(), "\xef\xbb\xbfGr\xc3\xbc\xc3\x9f" "e \xe2\x86\x92\r\n",
         "Gr\xfc\xdf" "e ?\r\n"},
        {"UTF-16LE", CodePage::Western(), "\xff\xfeG\0r\0\xfc\0\r\0\n\0"s, "Gr\xfc\r\n"},
        {"UTF-16BE", CodePage::Western(), "\xfe\xff\0G\0\xfc"s, "G\xfc"},
        {"mark only", CodePage::Western(), "\xef\xbb\xbf", ""},
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

TEST_F(PickerTest, EmptySignatureFileStillReachesTheHost) {
    WriteSignature("$$$00000Empty.txt", "");
    EXPECT_EQ(Pick(""), std::vector<std::string>{""});
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
        EXPECT_EQ(plugin.Seed(), expected.Seed());  // exactly one draw
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
        EXPECT_EQ(plugin.Seed(), r.Seed());
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
    EXPECT_EQ(plugin.Seed(), r.Seed());
}

TEST(FolderMailbox, StaysInsideTheDataFolder) {
    struct {
        const char* section;
        const char* dir;  // nullptr: refused
    } cases[] = {
        {"mbox\\!!!!Inbox\\", "D\\mbox\\"},
        {"plain", "D\\"},
        {"", "D\\"},
        {"\\rooted\\", "D\\\\"},
        {"..\\x\\", nullptr},
        {".\\x\\", nullptr},
        {"..", "D\\"},  // no "\": no component at all
        {"../..\\x\\", nullptr},
        {"C:\\Windows\\", nullptr},
        {"a:b\\", nullptr},
        {"...\\x\\", nullptr},
        {".. \\x\\", nullptr},
        {"a.b\\", "D\\a.b\\"},
    };
    for (auto& c : cases) {
        auto got = FolderMailboxDirectory("D\\", c.section, CodePage::Western());
        if (c.dir)
            EXPECT_EQ(got, std::optional<std::string>(c.dir)) << c.section;
        else
            EXPECT_EQ(got, std::nullopt) << c.section;
    }
}

TEST(FolderMailbox, SecondByteOfADoubleByteCharacterIsNoSeparator) {
    // Shift JIS 0x83 0x5C is one character whose second byte is "\".
    const std::string section = "mb\x83\x5C\\in\\";
    EXPECT_EQ(FolderMailboxDirectory("D\\", section, CodePage::Japanese()),
              std::optional<std::string>("D\\mb\x83\x5C\\"));
    EXPECT_EQ(FolderMailboxDirectory("D\\", section, CodePage::Western()),
              std::optional<std::string>("D\\mb\x83\\"));
}

TEST_F(PickerTest, HeaderValueLeadingOutOfTheDataFolderFindsNothing) {
    dir.Write("$$$00001Secret.txt", "secret");  // beside the data folder
    WriteSettings("[..\\x\\]\r\nMode=1\r\n");
    EXPECT_TRUE(Pick("..\\x\\").empty());
    EXPECT_EQ(platform.messages.size(), 1u);
}

}  // namespace
}  // namespace bk::test
