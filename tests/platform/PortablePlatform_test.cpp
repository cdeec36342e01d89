// What only the portable backend has: the mapping of Windows paths onto
// Linux files.

#include "platform/portable/PortablePlatform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempDir.h"

namespace bk {
namespace {

TEST(PortablePlatform, AcceptsBothSeparatorsInOnePath) {
    test::TempDir dir;
    dir.Write("a/b/c.txt", "abc");
    PortablePlatform platform;
    EXPECT_EQ(platform.ReadFile(dir.Path() + "\\a/B\\C.TXT"), "abc");
    EXPECT_EQ(platform.FindFiles(dir.Path() + "/A\\b/*").size(), 1u);
}

TEST(PortablePlatform, SplitsPathsByCharactersOfTheCodePage) {
    // In Shift JIS 0x95 0x5C is one character; its second byte is no separator.
    test::TempDir dir;
    const std::string name = "\x95\x5C.txt";
    PortablePlatform platform;
    platform.SetCodePage(CodePage::Japanese());
    platform.ReplaceFile(dir.Path() + "\\" + name, "sjis");
    EXPECT_EQ(test::TempDir::Read(dir.Path() + "/" + name), "sjis");
    auto found = platform.FindFiles(dir.Path() + "\\?.txt");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, name);

    platform.SetCodePage(CodePage::Western());
    EXPECT_FALSE(platform.FileExists(dir.Path() + "\\" + name));
}

TEST(PortablePlatform, ReplaceFileKeepsTheModeOfTheFileItReplaces) {
    test::TempDir dir;
    std::string path = dir.Write("settings.ini", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    PortablePlatform platform;
    platform.ReplaceFile(path, "new");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// Wine shows Unix dot-files as hidden, and a search finds hidden files.
TEST(PortablePlatform, ReadFileUpToRefusesWhatIsNoRegularFileWithoutWaiting) {
    test::TempDir dir;
    const std::string fifo = dir.Join("fifo");  // no writer: an open for reading would wait
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    PortablePlatform platform;
    for (const std::string& path : {fifo, std::string("/dev/null")}) {
        try {
            platform.ReadFileUpTo(path, 100);
            ADD_FAILURE() << path;
        } catch (const FileError& e) {
            EXPECT_EQ(e.what(), "the name is not a file: " + path);
        }
    }
}

TEST(PortablePlatform, FindsDotFiles) {
    test::TempDir dir;
    dir.Write(".hidden", "");
    PortablePlatform platform;
    auto found = platform.FindFiles(dir.Path() + "\\*");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, ".hidden");
}

}  // namespace
}  // namespace bk
