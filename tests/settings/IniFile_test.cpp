// IniFile and IniBatch over real files: what a read gives and what a write
// does when the file is missing, odd, large or can't be written, and that a
// failed write leaves the old file byte for byte.

#include <gtest/gtest.h>

#include <random>

#include "TestPlatform.h"
#include "settings/IniEncoding.h"
#include "settings/IniFile.h"
#include "settings/Schema.h"
#include "support/IniWrites.h"
#include "support/TempDir.h"

namespace bk {
namespace {

using test::TempDir;
using namespace std::string_literals;

// The backend of this build tree (portable natively, Win32 under Wine), with
// a hook that counts replaces and can make one operation fail.
class FilesPlatform : public test::Faulty<test::FilePlatform> {
public:
    FilesPlatform() {
        fault = [this](std::string_view operation) {
            if (operation == "ReplaceFile")
                ++replaces;
            if (operation == failing)
                throw FileError("s.ini", "injected");
        };
    }
    int replaces = 0;
    std::string failing;  // the operation that fails ("ReplaceFile", "ReadFile"); none when empty
};

// A section as the setup dialog reads it.
std::vector<IniEntry> Section(const IniFile& ini, std::string_view section) {
    return IniBatch(ini).ReadSection(section);
}

class IniFileTest : public testing::Test {
protected:
    TempDir dir;
    FilesPlatform platform;
};

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsCreatedByTheFirstWrite) {
    IniFile ini(platform, dir.Join("bkQuorvel.ini"));
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 1), 1);
    EXPECT_EQ(ini.ReadString("Options", "SelectedSigs", "dflt"), "dflt");
    EXPECT_TRUE(Section(ini, "OptionsOneliner").empty());

    test::WriteInteger(ini, "Options", "Mode", -1);
    test::WriteString(ini, "Options", "SelectedSigs", "\"A\",\"B\"");
    EXPECT_EQ(TempDir::Read(ini.Path()), "[Options]\r\nMode=-1\r\nSelectedSigs=\"A\",\"B\"\r\n");
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 1), -1);
    EXPECT_EQ(ini.ReadString("Options", "SelectedSigs", ""), "A\",\"B");
}

TEST_F(IniFileTest, WritesKeepEveryOtherLine) {
    const std::string before =
        "; settings\n[Options]\r\nMode = 2 "
        "\r\n\r\n[Other]\rkeep=this\r[OptionsOneliner]\r\nsig0=\"a\"";
    IniFile ini(platform, dir.Write("s.ini", before));
    {
        IniBatch batch(ini);
        batch.WriteInteger("Options", "Mode", 3);
        batch.WriteString("OptionsOneliner", "sig1", "\" b\"");
        batch.DeleteKey("Other", "missing");
        batch.Commit();
    }
    EXPECT_EQ(TempDir::Read(ini.Path()),
              "; settings\n[Options]\r\nMode = 3 \r\n\r\n[Other]\rkeep=this\r[OptionsOneliner]\r\n"
              "sig0=\"a\"\r\nsig1=\" b\"\r\n");
    EXPECT_EQ(platform.replaces, 1);
    auto entries = Section(ini, "OptionsOneliner");
    EXPECT_EQ(entries, (std::vector<IniEntry>{{"sig0", "a"}, {"sig1", " b"}}));
}

TEST_F(IniFileTest, BatchReadsSeeItsWritesAndNothingLandsBeforeCommit) {
    IniFile ini(platform, dir.Write("s.ini", "[Options]\r\nOneLineCount=4\r\n"));
    IniBatch batch(ini);
    batch.WriteInteger("Options", "OneLineCount", 2);
    batch.DeleteKey("Options", "Mode");
    EXPECT_EQ(batch.ReadInteger("Options", "OnelineCount", 0), 2);
    EXPECT_EQ(ini.ReadInteger("Options", "OnelineCount", 0), 4);
    batch.Commit();
    EXPECT_EQ(ini.ReadInteger("Options", "OnelineCount", 0), 2);
}

TEST_F(IniFileTest, BatchWithoutChangesWritesNothing) {
    const std::string before = "[Options]\r\nMode=1\r\n";
    IniFile ini(platform, dir.Write("s.ini", before));
    {
        IniBatch batch(ini);
        batch.Commit();
    }
    {
        IniBatch batch(ini);
        batch.WriteInteger("Options", "Mode", 1);  // the same value
        batch.DeleteKey("Options", "Absent");
        batch.Commit();
    }
    EXPECT_EQ(platform.replaces, 0);
    IniFile missing(platform, dir.Join("none.ini"));
    IniBatch batch(missing);
    batch.Commit();
    EXPECT_FALSE(platform.FileExists(missing.Path()));
}

TEST_F(IniFileTest, FailedReplaceLeavesTheOldFileByteForByte) {
    const std::string before = "[Options]\r\nMode=1\r\n; \xff\0binary"s;
    FilesPlatform failing;
    failing.failing = "ReplaceFile";
    IniFile ini(failing, dir.Write("s.ini", before));
    EXPECT_THROW(test::WriteInteger(ini, "Options", "Mode", 2), SettingsError);
    IniBatch batch(ini);
    batch.WriteString("A", "b", "c");
    EXPECT_THROW(batch.Commit(), SettingsError);
    EXPECT_EQ(TempDir::Read(ini.Path()), before);
    EXPECT_EQ(failing.replaces, 2);
}

TEST_F(IniFileTest, UnreadableFileReadsDefaultsAndIsNotOverwritten) {
    const std::string before = "[Options]\r\nMode=2\r\n";
    FilesPlatform failing;
    failing.failing = "ReadFile";
    IniFile ini(failing, dir.Write("s.ini", before));
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 1), 1);
    EXPECT_THROW(test::WriteInteger(ini, "Options", "Mode", 3), SettingsError);
    EXPECT_EQ(failing.replaces, 0);
    EXPECT_EQ(TempDir::Read(ini.Path()), before);
}

TEST_F(IniFileTest, DirectoryInsteadOfAFile) {
    dir.Write("folder.ini/inner.txt", "x");
    IniFile ini(platform, dir.Join("folder.ini"));
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 7), 7);
    EXPECT_TRUE(Section(ini, "Options").empty());
    EXPECT_THROW(test::WriteInteger(ini, "Options", "Mode", 1), SettingsError);
    EXPECT_EQ(TempDir::Read(dir.Join("folder.ini") + test::PathSeparator() + "inner.txt"), "x");
}

TEST_F(IniFileTest, MissingDirectory) {
    IniFile ini(platform, dir.Join("no-such-dir") + test::PathSeparator() + "s.ini");
    EXPECT_EQ(ini.ReadString("Options", "Mode", "d"), "d");
    EXPECT_THROW(test::WriteString(ini, "Options", "Mode", "1"), SettingsError);
    EXPECT_FALSE(platform.FileExists(ini.Path()));
}

TEST_F(IniFileTest, ReadOnlyFile) {
    const std::string before = "[Options]\r\nMode=2\r\n";
    IniFile ini(platform, dir.Write("s.ini", before));
    test::SetFileReadOnly(ini.Path(), true);
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 1), 2);
    EXPECT_THROW(test::WriteInteger(ini, "Options", "Mode", 3), SettingsError);
    test::SetFileReadOnly(ini.Path(), false);
    EXPECT_EQ(TempDir::Read(ini.Path()), before);
}

TEST_F(IniFileTest, BinaryGarbageReadsDefaultsAndSurvivesAWrite) {
    std::mt19937 random(7);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(random() & 0xFF);
    garbage[0] = 'G';  // no byte-order mark: the file stays as it is
    IniFile ini(platform, dir.Write("g.ini", garbage));
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 5), 5);
    Section(ini, "Options");
    test::WriteInteger(ini, "Options", "Mode", 3);
    std::string after = TempDir::Read(ini.Path());
    EXPECT_TRUE(after.starts_with(garbage));
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 5), 3);

    // Garbage that starts like a UTF-16 file keeps every byte too.
    garbage[0] = '\xff';
    garbage[1] = '\xfe';
    IniFile unicode(platform, dir.Write("u.ini", garbage + "!"));
    test::WriteInteger(unicode, "Options", "Mode", 3);
    EXPECT_TRUE(TempDir::Read(unicode.Path()).starts_with(garbage));
    EXPECT_EQ(unicode.ReadInteger("Options", "Mode", 5), 3);
}

TEST_F(IniFileTest, NulBytesAndLongLines) {
    std::string longValue(1 << 20, 'v');
    std::string file = "[Options]\r\nMode=2\0junk\r\nLong="s + longValue + "\r\nA\0B=3\r\n"s;
    IniFile ini(platform, dir.Write("n.ini", file));
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 1), 2);
    EXPECT_EQ(ini.ReadString("Options", "Long", ""), longValue);
    EXPECT_EQ(ini.ReadInteger("Options", "a", 1), 3);
    test::WriteString(ini, "Options", "Long", "short");
    EXPECT_EQ(TempDir::Read(ini.Path()), "[Options]\r\nMode=2\0junk\r\nLong=short\r\nA\0B=3\r\n"s);
}

TEST_F(IniFileTest, FiftyMegabyteFile) {
    std::string file = "[Options]\r\nMode=0\r\n[Big]\r\n";
    const std::string line = "key=" + std::string(90, 'x') + "\r\n";
    while (file.size() < 50u * 1024 * 1024) file += line;
    file += "[Options]\r\nMode=2\r\n[Tail]\r\nlast=1\r\n";
    IniFile ini(platform, dir.Write("big.ini", file));
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 1), 0);
    EXPECT_EQ(ini.ReadInteger("Tail", "last", 0), 1);
    test::WriteInteger(ini, "Tail", "last", 2);
    EXPECT_EQ(ini.ReadInteger("Tail", "last", 0), 2);
    EXPECT_EQ(TempDir::Read(ini.Path()).size(), file.size());

    // Short LF-only lines: one pass over the file, not one per line.
    std::string lf = "[Big]\n";
    while (lf.size() < 20u * 1024 * 1024) lf += "k=v\n";
    lf += "[Tail]\nlast=1";
    IniFile lfIni(platform, dir.Write("lf.ini", lf));
    EXPECT_EQ(lfIni.ReadInteger("Tail", "last", 0), 1);
    EXPECT_EQ(Section(lfIni, "Tail").size(), 1u);
}

TEST_F(IniFileTest, InvalidWritesThrowBeforeTouchingAnything) {
    const std::string before = "[Options]\r\nMode=1\r\n";
    IniFile ini(platform, dir.Write("s.ini", before));
    EXPECT_THROW(test::WriteString(ini, "Options", "Mode", "1\r\nInjected=1"), SettingsError);
    EXPECT_THROW(test::WriteString(ini, "Options", "", "1"), SettingsError);
    EXPECT_EQ(platform.replaces, 0);
    EXPECT_EQ(TempDir::Read(ini.Path()), before);
}

// Names and values are text of the system code page on both sides, whatever
// the file's encoding; the file keeps its own. A character the code page lacks
// reads as "?"; a write that gives back what a read showed keeps what the file
// held, and nothing the file held makes a save fail.
TEST_F(IniFileTest, UnicodeFilesAreReadAndWrittenInTheSystemCodePage) {
    const std::string kAsRead = "<what a read gives>";
    const std::string arrow = "\xe2\x86\x92", back = "\xe2\x86\x90";
    struct {
        const char* why;
        IniEncoding encoding;
        std::string stored;  // the section's lines after "[s]\r\n"
        std::vector<std::pair<std::string, std::string>> writes;  // key, value
        std::string after;  // the section's lines after the commit
    } cases[] = {
        {"an unchanged value keeps its characters",
         IniEncoding::Utf8,
         "k=" + arrow + " K\xc3\xb6ln\r\n",
         {{"k", "\"? K\xf6ln\""}, {"caf\xe9", "na\xefve"}},
         "k=" + arrow + " K\xc3\xb6ln\r\ncaf\xc3\xa9=na\xc3\xafve\r\n"},
        {"an edited value is converted",
         IniEncoding::Utf16Be,
         "k=" + arrow + "\r\n",
         {{"k", "?!"}},
         "k=?!\r\n"},
        {"a value is kept by where it was read, not by how it reads",
         IniEncoding::Utf16Le,
         "a=\"" + arrow + "\"\r\nb=\"" + back + "\"\r\n",
         {{"a", "\"?\""}, {"b", "\"x\""}, {"c", "\"?\""}},
         "a=\"" + arrow + "\"\r\nb=\"x\"\r\nc=\"?\"\r\n"},
        {"a real \"?\" stays one, each key keeps its own",
         IniEncoding::Utf8,
         "b=?\r\na=" + arrow + "\r\n",
         {{"b", kAsRead}, {"a", kAsRead}},
         "b=?\r\na=" + arrow + "\r\n"},
        {"a byte that is not UTF-8 stays, and the save goes on",
         IniEncoding::Utf8,
         "SelectedSigs=\xe9"
         "A\r\n",
         {{"SelectedSigs", kAsRead}, {"Mode", "2"}},
         "SelectedSigs=\xe9"
         "A\r\nMode=2\r\n"},
        {"half a surrogate pair stays, and the save goes on",
         IniEncoding::Utf16Le,
         "k=\xed\xa0\x80x\r\n",
         {{"k", kAsRead}, {"Mode", "2"}},
         "k=\xed\xa0\x80x\r\nMode=2\r\n"},
    };
    for (const auto& c : cases) {
        IniFile ini(platform,
                    dir.Write("u.ini", EncodeIniFile(c.encoding, "[s]\r\n" + c.stored, "")));
        IniBatch batch(ini);
        for (const auto& [key, value] : c.writes)
            batch.WriteString("s", key, value == kAsRead ? batch.ReadString("s", key, "") : value);
        EXPECT_NO_THROW(batch.Commit()) << c.why;
        const IniFileText file = DecodeIniFile(TempDir::Read(ini.Path()));
        EXPECT_EQ(file.text, "[s]\r\n" + c.after) << c.why;
        EXPECT_EQ(file.encoding, c.encoding) << c.why;
    }
    // What any write refuses is refused where the stored text would be kept too.
    IniFile bad(platform, dir.Write("b.ini", EncodeIniFile(IniEncoding::Utf8,
                                                           "[s]\r\n=" + arrow + "\r\n", "")));
    EXPECT_THROW(IniBatch(bad).WriteString("s", "", "?"), SettingsError);
    // Reads: names fold as the file's reads fold them, before conversion, so
    // two keys that both show as "?" are two entries with their own values.
    IniFile ini(platform, dir.Write("u.ini", EncodeIniFile(IniEncoding::Utf8,
                                                           "[Gr\xc3\xbc\xc3\x9f"
                                                           "e]\r\n" +
                                                               arrow + "=a\r\n" + back + "=b\r\n" +
                                                               arrow + "=c\r\n",
                                                           "")));
    const std::string section =
        "Gr\xfc\xdf"
        "e";
    EXPECT_EQ(ini.ReadString(section, "?", "-"), "-");
    IniBatch batch(ini);
    EXPECT_EQ(batch.ReadSection(section),
              (std::vector<IniEntry>{{"?", "a"}, {"?", "b"}, {"?", "c"}}));
    std::vector<std::string> values;
    for (const LoadedValue& value : batch.ReadSectionValues(section)) values.push_back(value.text);
    EXPECT_EQ(values, (std::vector<std::string>{"a", "b", "a"}));
}

// The picker's one read of a whole one-line list gives each entry what a read
// of its key gives, whatever the section holds around it.
TEST_F(IniFileTest, OneLineEntriesReadAsEachKeyReadsAlone) {
    const std::string list =
        "[sOneliner]\r\n"
        "sig0=\" a \"\r\n"
        "SIG1 = b\r\n"  // names fold, blanks around "=" go
        "sig2\r\n"      // no "=": a read of sig2 stops here, empty
        "sig2=late\r\n"
        ";sig3=comment\r\n"
        "sig03=leading zero\r\n"
        "sig4='q'\r\n"
        "sig4=second\r\n"  // the first of a name wins
        "other=x\r\n"
        "[next]\r\nsig5=not in the list\r\n";
    for (IniEncoding encoding : {IniEncoding::Ansi, IniEncoding::Utf8, IniEncoding::Utf16Le}) {
        IniFile ini(platform, dir.Write("l.ini", EncodeIniFile(encoding, list, "")));
        const OneLineEntries entries(IniSnapshot(ini), "s", 7, platform.AnsiCodePage());
        ASSERT_EQ(entries.size(), 7u);
        for (std::size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(entries[i], ini.ReadString("sOneliner", OneLineKey(i), ""))
                << "sig" << i << ", encoding " << static_cast<int>(encoding);
        EXPECT_EQ(entries[0], " a ");
    }
}

}  // namespace
}  // namespace bk
