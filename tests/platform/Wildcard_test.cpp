// The wildcard rules of a directory search, on names alone. The conformance
// suite checks them against Windows through real directories; these cases add
// what a directory search can't show plainly (double-byte characters,
// backtracking).

#include "platform/Wildcard.h"

#include <gtest/gtest.h>

namespace bk {
namespace {

TEST(Wildcard, MatchesNamesAsWindowsDoes) {
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*", "anything.txt", true},
        {"*", "", true},
        {"", "", true},
        {"", "a", false},
        {"a", "", false},
        {"?", "", false},
        {"?", "a", true},
        {"?", "ab", false},
        {"a?", "a", false},  // "?" never matches nothing
        {"*.txt", "a.txt", true},
        {"*.txt", "a.txt.bak", false},
        {"*.txt", ".txt", true},
        {"*a", "banana", true},
        {"*an*a", "banana", true},
        {"*ana", "banana", true},
        {"*?b", "xab", true},
        {"*?b", "b", false},
        {"**a**", "bab", true},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"ABC", "abc", true},
        {"name.", "name", true},  // trailing "." and "*" may match nothing
        {"name.*", "name", true},
        {"name*.", "name", true},
        {"name.", "name.", true},
        {"name..", "name", true},
        {"name.", "names", false},
        {".", "", true},
        {"na.me", "name", false},
        {"$$$?????.txt", "$$$0001AHello.txt", false},  // long names only
        {"$$$?????hello.TXT", "$$$0001AHello.txt", true},
    };
    const CodePage codePage = CodePage::Western();
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name, codePage), c.match)
            << '"' << c.pattern << "\" vs \"" << c.name << '"';
    }
}

TEST(Wildcard, FoldsLettersThroughTheCodePage) {
    EXPECT_TRUE(WildcardMatch("\xC9T\xC9*", "\xE9t\xE9.txt", CodePage::Western()));
    EXPECT_FALSE(WildcardMatch("\xC9T\xC9*", "\xE9t\xE9.txt", CodePage::Ascii()));
}

TEST(Wildcard, StepsDoubleByteCharactersWhole) {
    const CodePage sjis = CodePage::Japanese();
    // 0x95 0x5C is one character whose second byte is "\" in ASCII.
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"?.txt", "\x95\x5C.txt", true},
        {"??.txt", "\x95\x5C.txt", false},
        {"*\x5C.txt", "\x95\x5C.txt", false},  // the trail byte is not a character
        {"*\x95\x5C*",
         "a\x95\x5C"
         "b",
         true},
        {"\x82\x61", "\x82\x41", false},  // trail bytes are not letters to fold
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name, sjis), c.match) << c.pattern;
    }
}

}  // namespace
}  // namespace bk
