// Character stepping and case folding of the code-page tables.

#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace bk {
namespace {

using namespace std::string_view_literals;

TEST(CodePage, StepsDoubleByteCharactersOfShiftJis) {
    const CodePage sjis = CodePage::Japanese();
    const struct {
        std::string_view text;
        std::size_t pos;
        std::size_t length;
    } cases[] = {
        {"\x95\x5C"
         "a"sv,
         0, 2},
        {"\x95\x5C"
         "a"sv,
         2, 1},
        {"\x95\x5C"
         "a"sv,
         3, 0},                // the end
        {"a\x95"sv, 1, 1},     // a lead byte at the end stands alone
        {"\x95\0a"sv, 0, 1},   // as does one followed by NUL
        {"\xA1\x5C"sv, 0, 1},  // single-byte katakana
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sjis.CharLength(c.text, c.pos), c.length) << c.pos;
    }
    EXPECT_EQ(CodePage::Western().CharLength("\x95\x5C", 0), 1u);
}

TEST(CodePage, ComparesNamesWithoutRegardToCase) {
    const struct {
        const CodePage codePage;
        std::string_view a, b;
        bool equal;
    } cases[] = {
        {CodePage::Ascii(), "Options", "OPTIONS", true},
        {CodePage::Ascii(), "Options", "Option", false},
        {CodePage::Ascii(), "\xE9t\xE9", "\xC9T\xC9", false},
        {CodePage::Western(), "\xE9t\xE9", "\xC9T\xC9", true},
        {CodePage::Western(), "\xFF\x9A\x9C\x9E", "\x9F\x8A\x8C\x8E", true},
        {CodePage::Western(), "\xF7", "\xD7", false},  // division and multiplication signs
        {CodePage::Western(), "\xDF", "SS", false},
        {CodePage::Japanese(), "\x82\x61", "\x82\x41", false},  // trail bytes don't fold
        {CodePage::Japanese(), "a\x82\x61", "A\x82\x61", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.codePage.EqualNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(c.codePage.EqualNoCase(c.b, c.a), c.equal) << c.b << " / " << c.a;
    }
}

TEST(CodePage, FindsTheLastPathSeparatorOfItsOwn) {
    const CodePage sjis = CodePage::Japanese();
    EXPECT_EQ(sjis.FindLastSeparator("C:\\a/b\\c.ini"), 6u);
    EXPECT_EQ(sjis.FindLastSeparator("C:\\\x95\x5C.ini"), 2u);  // 0x5C as a trail byte
    EXPECT_EQ(sjis.FindLastSeparator("name.ini"), std::string_view::npos);
}

}  // namespace
}  // namespace bk
