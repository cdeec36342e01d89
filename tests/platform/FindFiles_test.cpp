// Conformance of the directory search: Windows wildcard rules on long names,
// the same tests against the portable backend natively and against the Win32
// backend under Wine.
//
// The system's own search also matches the 8.3 aliases it makes up for long
// names ("$$$?????.txt" would find "$$$00001A.txt" through "$$$0~AWZ.TXT");
// the files marked "alias" below are there to catch a backend that lets such a
// match through.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ConformanceHelpers.h"

namespace bk::test {
namespace {

class FindFiles : public ::testing::Test {
protected:
    FindFiles() {
        for (const auto& [name, content] : kFiles) dir.Write(name, content);
        MakeDirectory(dir, "$$$00002Dir.txt");
        MakeDirectory(dir, "Sub");
    }

    std::map<std::string, FoundFile> Search(std::string_view pattern) {
        std::map<std::string, FoundFile> byName;
        for (FoundFile& f : platform->FindFiles(WinPath(dir, pattern))) {
            std::string name = f.name;
            EXPECT_TRUE(byName.emplace(name, std::move(f)).second) << "twice: " << name;
        }
        return byName;
    }

    static inline const std::map<std::string, std::string> kFiles = {
        {"$$$0001AHello.txt", "hello"},
        {"$$$12345.txt", ""},
        {"$$$abcdeWorld.TXT", "world!"},
        {"$$$00001A.txt", "alias"},  // "$$$0~AWZ.TXT" under Wine
        {"$$$x.txtold", "alias"},    // "$$$X~PKA.TXT" under Wine
        {"notes.txt", "n"},
        {"README", "r"},
        {"archive.tar.gz", "gz"},
        {"a.b.c", "abc"},
        {"x", "x"},
        {"Ab", "ab"},
    };

    std::unique_ptr<Platform> platform = MakePlatform();
    TempDir dir;
};

TEST_F(FindFiles, FollowsTheWildcardRulesOnLongNames) {
    const std::string kHello = "$$$0001AHello.txt", kEmpty = "$$$12345.txt",
                      kWorld = "$$$abcdeWorld.TXT", kDir = "$$$00002Dir.txt",
                      kNine = "$$$00001A.txt", kOld = "$$$x.txtold";
    const std::set<std::string> kAll = {
        kHello,   kEmpty,           kWorld,  kDir, kNine, kOld, "notes.txt",
        "README", "archive.tar.gz", "a.b.c", "x",  "Ab",  "Sub"};
    const struct {
        const char* pattern;
        std::set<std::string> expected;
    } cases[] = {
        {"*", kAll},
        {"*.*", kAll},  // a trailing ".*" may match nothing
        // Aliases would add kOld to "$$$*.txt" and "*.txt", and kHello, kNine
        // and kOld to "$$$?????.txt".
        {"$$$*.txt", {kHello, kEmpty, kWorld, kDir, kNine}},
        {"$$$?????.txt", {kEmpty}},
        {"$$$??????.txt", {kNine}},
        {"$$$?????hello.TXT", {kHello}},
        {"$$$?????World.txt", {kWorld}},
        {"$$$x.txt*", {kOld}},
        {"*.txt", {kHello, kEmpty, kWorld, kDir, kNine, "notes.txt"}},
        {"*.TXT", {kHello, kEmpty, kWorld, kDir, kNine, "notes.txt"}},
        {"NOTES.TXT", {"notes.txt"}},
        {"readme.", {"README"}},  // a trailing "." may match nothing
        {"readme.*", {"README"}},
        {"readme.txt", {}},
        {"?", {"x"}},
        {"??", {"Ab"}},  // "?" is exactly one character, also at the end
        {"?b", {"Ab"}},
        {"a*", {"archive.tar.gz", "a.b.c", "Ab"}},
        {"*.gz", {"archive.tar.gz"}},
        {"*.tar", {}},
        {"*tar*", {"archive.tar.gz"}},
        {"a.b.?", {"a.b.c"}},
        {"a.b.??", {}},
        {"*D*r*", {kDir, kWorld}},
        {"sub", {"Sub"}},
        {"nothing*", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        std::set<std::string> names;
        for (const auto& [name, file] : Search(c.pattern)) names.insert(name);
        EXPECT_EQ(names, c.expected);
    }
}

// A read-only file is found as every entry is (directories too: above).
TEST_F(FindFiles, ReportsSizes) {
    ReadOnlyFile guard(dir.Join("notes.txt"));
    auto found = Search("*");
    for (const auto& [name, content] : kFiles) {
        SCOPED_TRACE(name);
        ASSERT_EQ(found.count(name), 1u);
        EXPECT_EQ(found[name].size, content.size());
    }
}

TEST_F(FindFiles, ComeInTheOrderOfTheDirectoryWithoutDotEntries) {
    std::vector<std::string> expected;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        expected.push_back(entry.path().filename().string());
    std::vector<std::string> names;
    for (const FoundFile& f : platform->FindFiles(WinPath(dir, "*"))) names.push_back(f.name);
    EXPECT_EQ(names, expected);
}

TEST_F(FindFiles, DirectoryPartIgnoresLetterCase) {
    dir.Write("Sub/Inner.txt", "inner");
    auto found = platform->FindFiles(WinPath(dir, "SUB\\inner.*"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "Inner.txt");
    EXPECT_EQ(found[0].size, 5u);
}

TEST_F(FindFiles, FindsNothingInAMissingOrEmptyDirectory) {
    EXPECT_TRUE(platform->FindFiles(WinPath(dir, "missing\\*")).empty());
    EXPECT_TRUE(platform->FindFiles(WinPath(dir, "Sub\\*")).empty());
    EXPECT_TRUE(platform->FindFiles(WinPath(dir, "x\\*")).empty());  // a file, not a directory
}

TEST_F(FindFiles, FoldsLettersOfTheCodePage) {
    // 1252: e acute (E9) and E acute (C9).
    platform->ReplaceFile(WinPath(dir, "\xE9t\xE9.txt"), "summer");
    auto found = platform->FindFiles(WinPath(dir, "\xC9T\xC9.*"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "\xE9t\xE9.txt");
    EXPECT_EQ(platform->ReadFile(WinPath(dir, "\xC9T\xC9.TXT")), "summer");
}

}  // namespace
}  // namespace bk::test
