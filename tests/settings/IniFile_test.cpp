// IniFile and IniBatch over real files: what a read gives and what a write
// does when the file is missing, odd, large or can't be written, and that a
// failed write leaves the old file byte for byte.

#include <gtest/gtest.h>

#include <random>

#include "TestPlatform.h"
#include "settings/IniEncoding.h"
#include "settings/IniFile.h"
#include "support/IniWrites.h"
#include "support/TempDir.h"

namespace bk {
namespace {

using test::TempDir;
using namespace std::string_literals;

// Hands every call to a real backend; tests override what they want to fail
// or to count.
class ForwardingPlatform : public Platform {
public:
    std::string ModuleFileName() override { return real_->ModuleFileName(); }
    ModuleHandle HostModule() override { return real_->HostModule(); }
    ProcAddress FindExport(ModuleHandle m, const char* name) override {
        return real_->FindExport(m, name);
    }
    bool FileExists(const std::string& path) override { return real_->FileExists(path); }
    std::string ReadFile(const std::string& path) override { return real_->ReadFile(path); }
    std::string ReadFileExactly(const std::string& path, std::uint64_t size) override {
        return real_->ReadFileExactly(path, size);
    }
    bool DeleteFile(const std::string& path) override { return real_->DeleteFile(path); }
    void ReplaceFile(const std::string& path, std::string_view content) override {
        ++replaces;
        real_->ReplaceFile(path, content);
    }
    std::vector<FoundFile> FindFiles(const std::string& pattern) override {
        return real_->FindFiles(pattern);
    }
    UtcTime NowUtc() override { return real_->NowUtc(); }
    const CodePage& AnsiCodePage() override { return real_->AnsiCodePage(); }
    std::string AnsiFromUtf8(std::string_view text) override { return real_->AnsiFromUtf8(text); }
    std::string Utf8FromAnsi(std::string_view text) override { return real_->Utf8FromAnsi(text); }
    void ShowWarning(const std::string& text) override { real_->ShowWarning(text); }
    void ShowError(const std::string& text) override { real_->ShowError(text); }
    void HideWindow(WindowHandle window) override { real_->HideWindow(window); }
    void AppendMenuSeparator(MenuHandle menu) override { real_->AppendMenuSeparator(menu); }
    void AppendMenuItem(MenuHandle menu, unsigned id, const std::string& caption) override {
        real_->AppendMenuItem(menu, id, caption);
    }

    int replaces = 0;

private:
    std::unique_ptr<Platform> real_ = test::MakeFilePlatform();
};

class FailingReplace : public ForwardingPlatform {
public:
    void ReplaceFile(const std::string& path, std::string_view) override {
        ++replaces;
        throw FileError(path, "disk full");
    }
};

class FailingRead : public ForwardingPlatform {
public:
    std::string ReadFile(const std::string& path) override { throw FileError(path, "locked"); }
};

class IniFileTest : public testing::Test {
protected:
    TempDir dir;
    ForwardingPlatform platform;
};

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsCreatedByTheFirstWrite) {
    IniFile ini(platform, dir.Join("bkQuorvel.ini"));
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 1), 1);
    EXPECT_EQ(ini.ReadString("Options", "SelectedSigs", "dflt"), "dflt");
    EXPECT_TRUE(ini.ReadSection("OptionsOneliner").empty());

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
    auto entries = ini.ReadSection("OptionsOneliner");
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
    FailingReplace failing;
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
    FailingRead failing;
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
    EXPECT_TRUE(ini.ReadSection("Options").empty());
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
    ini.ReadSection("Options");
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
    EXPECT_EQ(lfIni.ReadSection("Tail").size(), 1u);
}

TEST_F(IniFileTest, InvalidWritesThrowBeforeTouchingAnything) {
    const std::string before = "[Options]\r\nMode=1\r\n";
    IniFile ini(platform, dir.Write("s.ini", before));
    EXPECT_THROW(test::WriteString(ini, "Options", "Mode", "1\r\nInjected=1"), SettingsError);
    EXPECT_THROW(test::WriteString(ini, "Options", "", "1"), SettingsError);
    EXPECT_EQ(platform.replaces, 0);
    EXPECT_EQ(TempDir::Read(ini.Path()), before);
}

TEST_F(IniFileTest, UnicodeFilesKeepTheirEncoding) {
    const std::string utf16 =
        "\xff\xfe[\0O\0p\0t\0i\0o\0n\0s\0]\0\r\0\n\0M\0o\0d\0e\0=\0\x32\0\r\0\n\0"s;
    IniFile ini(platform, dir.Write("u.ini", utf16));
    EXPECT_EQ(ini.ReadInteger("Options", "Mode", 1), 2);
    test::WriteInteger(ini, "Options", "SigAddTiming", 0);
    EXPECT_EQ(TempDir::Read(ini.Path()),
              utf16 + "S\0i\0g\0A\0d\0d\0T\0i\0m\0i\0n\0g\0=\0\x30\0\r\0\n\0"s);
}

// Names and values are text of the system code page on both sides, whatever
// the file's encoding; the file keeps its own. A character the code page lacks
// reads as "?", and stored-text calls give it back as it is.
TEST_F(IniFileTest, UnicodeFilesAreReadAndWrittenInTheSystemCodePage) {
    const std::string text = "[Gr\xc3\xbc\xc3\x9f" "e]\r\nk=\xe2\x86\x92 K\xc3\xb6ln\r\n";
    const std::string section = "Gr\xfc\xdf" "e";
    for (IniEncoding encoding : {IniEncoding::Utf8, IniEncoding::Utf16Le, IniEncoding::Utf16Be}) {
        IniFile ini(platform, dir.Write("u.ini", EncodeIniFile(encoding, text, "")));
        EXPECT_EQ(ini.ReadString(section, "K", ""), "? K\xf6ln");
        EXPECT_EQ(ini.ReadSection(section), (std::vector<IniEntry>{{"k", "? K\xf6ln"}}));
        IniBatch batch(ini);
        EXPECT_EQ(batch.ReadString(section, "k", ""), "? K\xf6ln");
        EXPECT_EQ(batch.ReadStoredString(section, "k", ""), "\xe2\x86\x92 K\xc3\xb6ln");
        batch.WriteString(section, "caf\xe9", "na\xefve");
        batch.WriteStoredString(section, "k2", "\xe2\x86\x90");
        batch.Commit();
        EXPECT_EQ(DecodeIniFile(TempDir::Read(ini.Path())).text,
                  text + "caf\xc3\xa9=na\xc3\xafve\r\nk2=\xe2\x86\x90\r\n");
        EXPECT_EQ(DecodeIniFile(TempDir::Read(ini.Path())).encoding, encoding);
    }
}

}  // namespace
}  // namespace bk
