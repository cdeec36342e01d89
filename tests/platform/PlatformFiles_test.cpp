// Conformance of the file operations: the same tests run against the portable
// backend natively and against the Win32 backend under Wine.

#include <gtest/gtest.h>

#include "ConformanceHelpers.h"

namespace bk::test {
namespace {

// Every kind of byte a file may hold: line ends of all kinds, a NUL, bytes
// above 127 and a "\" that must not be taken for anything.
const std::string kBinary("line 1\r\nline 2\nline 3\r\0\xFF\x81\\end", 28);

class PlatformFiles : public ::testing::Test {
protected:
    std::string Path(std::string_view name) const { return WinPath(dir, name); }

    std::unique_ptr<Platform> platform = MakePlatform();
    TempDir dir;
};

// ---- Reading ----

TEST_F(PlatformFiles, ReadFileGivesEveryByte) {
    dir.Write("data.txt", kBinary);
    dir.Write("empty.txt", "");
    EXPECT_EQ(platform->ReadFile(Path("data.txt")), kBinary);
    EXPECT_EQ(platform->ReadFile(Path("empty.txt")), "");
}

TEST_F(PlatformFiles, ReadFileExactlyReadsThePrefixOfTheGivenSize) {
    dir.Write("digits.txt", "0123456789");
    for (std::uint64_t size : {0, 1, 9, 10}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(platform->ReadFileExactly(Path("digits.txt"), size),
                  std::string("0123456789").substr(0, size));
    }
}

TEST_F(PlatformFiles, ReadFileExactlyRefusesAFileShorterThanTheSize) {
    dir.Write("digits.txt", "0123456789");
    // The second size must fail on the size, not on an attempt to allocate it.
    for (std::uint64_t size : {std::uint64_t{11}, std::uint64_t{1} << 40}) {
        SCOPED_TRACE(size);
        try {
            platform->ReadFileExactly(Path("digits.txt"), size);
            ADD_FAILURE() << "no FileError";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Path(), Path("digits.txt"));
        }
    }
}

TEST_F(PlatformFiles, ReadingWhatIsNoReadableFileThrowsFileError) {
    MakeDirectory(dir, "folder");
    for (const char* name : {"missing.txt", "folder", "nowhere\\missing.txt"}) {
        SCOPED_TRACE(name);
        std::string path = Path(name);
        for (bool exactly : {false, true}) {
            try {
                exactly ? platform->ReadFileExactly(path, 0) : platform->ReadFile(path);
                ADD_FAILURE() << "no FileError, exactly=" << exactly;
            } catch (const FileError& e) {
                EXPECT_EQ(e.Path(), path);
                EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
            }
        }
    }
}

TEST_F(PlatformFiles, ReadFileUpToReadsOnlyAFileWithinTheCap) {
    dir.Write("data.txt", kBinary);
    dir.Write("empty.txt", "");
    dir.Write("console.txt", "c");  // names close to devices' are files
    dir.Write("com10.txt", "c");
    EXPECT_EQ(platform->ReadFileUpTo(Path("data.txt"), kBinary.size()), kBinary);
    EXPECT_EQ(platform->ReadFileUpTo(Path("empty.txt"), 0), "");
    EXPECT_EQ(platform->ReadFileUpTo(Path("console.txt"), 1), "c");
    EXPECT_EQ(platform->ReadFileUpTo(Path("COM10.TXT"), 1), "c");

    MakeDirectory(dir, "folder");
    const std::string notAFile = "the name is not a file: ";
    const struct {
        std::string path;
        std::string message;  // empty: the system's reason, then the path
        bool tooLarge = false;
    } cases[] = {
        {Path("data.txt"), "", true},
        {Path("missing.txt"), ""},
        {Path("folder"), "the name is a directory: " + Path("folder")},
        // Devices are never opened: a test that waits here has found a fault.
        {Path("CON"), notAFile + Path("CON")},
        {Path("nul.txt"), notAFile + Path("nul.txt")},
        {Path("Com1"), notAFile + Path("Com1")},
        {Path("LPT9 .log"), notAFile + Path("LPT9 .log")},
        {"CONIN$", notAFile + "CONIN$"},
        {"\\\\.\\COM2", notAFile + "\\\\.\\COM2"},
        {"\\\\.\\pipe\\bk", notAFile + "\\\\.\\pipe\\bk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            platform->ReadFileUpTo(c.path, kBinary.size() - 1);
            ADD_FAILURE() << "no FileError";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Path(), c.path);
            EXPECT_EQ(dynamic_cast<const FileTooLargeError*>(&e) != nullptr, c.tooLarge);
            if (!c.message.empty())
                EXPECT_EQ(e.what(), c.message);
            else
                EXPECT_TRUE(std::string(e.what()).ends_with(": " + c.path)) << e.what();
        }
    }
}

TEST_F(PlatformFiles, ReadOnlyFilesAreReadLikeAnyOther) {
    ReadOnlyFile guard(dir.Write("locked.txt", "content"));
    EXPECT_EQ(platform->ReadFile(Path("locked.txt")), "content");
    EXPECT_EQ(platform->ReadFileExactly(Path("locked.txt"), 4), "cont");
}

TEST_F(PlatformFiles, NamesAreFoundInAnyLetterCase) {
    dir.Write("Sub Dir/Hello.Txt", "hi");
    EXPECT_TRUE(platform->FileExists(Path("SUB DIR\\hello.txt")));
    EXPECT_EQ(platform->ReadFile(Path("sub dir\\HELLO.TXT")), "hi");
    EXPECT_EQ(platform->ReadFileExactly(Path("Sub dir\\hello.TXT"), 2), "hi");
}

// ---- Existence and deletion ----

TEST_F(PlatformFiles, FileExistsOnlyForFiles) {
    dir.Write("file.txt", "x");
    ReadOnlyFile guard(dir.Write("locked.txt", "x"));
    MakeDirectory(dir, "folder");
    const struct {
        const char* name;
        bool exists;
    } cases[] = {
        {"file.txt", true},     {"locked.txt", true},         {"folder", false},
        {"missing.txt", false}, {"nowhere\\file.txt", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform->FileExists(Path(c.name)), c.exists) << c.name;
    }
}

TEST_F(PlatformFiles, DeleteFileRemovesAFile) {
    dir.Write("doomed.dat", "x");
    EXPECT_TRUE(platform->DeleteFile(Path("doomed.dat")));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{});
}

TEST_F(PlatformFiles, DeleteFileLeavesWhatItCantDelete) {
    MakeDirectory(dir, "folder");
    ReadOnlyFile guard(dir.Write("locked.dat", "x"));
    for (const char* name : {"missing.dat", "folder", "locked.dat"}) {
        EXPECT_FALSE(platform->DeleteFile(Path(name))) << name;
    }
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"folder", "locked.dat"}));
}

// ---- Replacing ----

TEST_F(PlatformFiles, ReplaceFileCreatesANewFile) {
    platform->ReplaceFile(Path("new.ini"), kBinary);
    EXPECT_EQ(TempDir::Read(dir.Join("new.ini")), kBinary);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"new.ini"});
}

TEST_F(PlatformFiles, ReplaceFileReplacesTheWholeContent) {
    dir.Write("settings.ini", "old content that is longer");
    for (std::string content : {"short", "", "a much longer content than any before it"}) {
        platform->ReplaceFile(Path("settings.ini"), content);
        EXPECT_EQ(TempDir::Read(dir.Join("settings.ini")), content);
    }
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"settings.ini"});
}

TEST_F(PlatformFiles, ReplaceFileTakesTheExistingFileInAnyLetterCase) {
    dir.Write("Settings.ini", "old");
    platform->ReplaceFile(Path("SETTINGS.INI"), "new");
    EXPECT_EQ(platform->ReadFile(Path("settings.ini")), "new");
    EXPECT_EQ(Entries(dir.Path()).size(), 1u);
}

TEST_F(PlatformFiles, ReplaceFileFailureLeavesEverythingAsItWas) {
    dir.Write("locked.ini", "locked content");
    ReadOnlyFile guard(dir.Join("locked.ini"));
    MakeDirectory(dir, "folder.ini");
    const std::vector<std::string> before = Entries(dir.Path());
    for (const char* name : {"locked.ini", "folder.ini", "nowhere\\new.ini"}) {
        SCOPED_TRACE(name);
        try {
            platform->ReplaceFile(Path(name), "new content");
            ADD_FAILURE() << "no FileError";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Path(), Path(name));
        }
        EXPECT_EQ(Entries(dir.Path()), before);
    }
    EXPECT_EQ(TempDir::Read(dir.Join("locked.ini")), "locked content");
    EXPECT_TRUE(Entries(dir.Join("folder.ini")).empty());
}

TEST_F(PlatformFiles, ReplaceFileWorksOnALongPath) {
    // A settings path close to the 260 characters Windows allows.
    std::string folders;
    while (dir.Path().size() + folders.size() < 180) folders += std::string(40, 'd') + "\\";
    MakeDirectory(dir, folders);
    std::string path = Path(folders);
    path += std::string(250 - path.size() - 4, 'n') + ".ini";
    ASSERT_EQ(path.size(), 250u);

    platform->ReplaceFile(path, "first");
    platform->ReplaceFile(path, "second");
    EXPECT_EQ(platform->ReadFile(path), "second");
    EXPECT_TRUE(platform->FileExists(path));
}

// ---- Module ----

TEST_F(PlatformFiles, ModuleFileNameIsTheAbsolutePathOfAFile) {
    std::string name = platform->ModuleFileName();
    EXPECT_TRUE(IsAbsolutePath(name)) << name;
    EXPECT_TRUE(platform->FileExists(name)) << name;
}

}  // namespace
}  // namespace bk::test
