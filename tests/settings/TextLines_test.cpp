#include "settings/TextLines.h"

#include <gtest/gtest.h>

namespace bk::test {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLines, LinesEndAtCrLfCrOrLf) {
    struct {
        std::string text;
        Lines lines;
        Lines linesWithoutNuls;  // NulByte::Dropped, where it differs
    } cases[] = {
        {"", {}, {}},
        {"a", {"a"}, {}},
        {"a\r\n", {"a"}, {}},
        {"\r\n", {""}, {}},
        {"a\r\n\r\n", {"a", ""}, {}},
        {"a\r\n b\r\n\r\n", {"a", " b", ""}, {}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}, {}},
        {"a\r\rb", {"a", "", "b"}, {}},
        {"a\n\rb", {"a", "", "b"}, {}},
        {"a\r\n\nb", {"a", "", "b"}, {}},
        {"\r\r\n", {"", ""}, {}},
        {" a \t", {" a \t"}, {}},
        {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}, {"a", "bc", "d"}},
        {std::string("x\0y\nz\0", 6), {"x"}, {"xy", "z"}},
        {std::string("\0a", 2), {}, {"a"}},
        {std::string("\0", 1), {}, {""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitLines(c.text), c.lines) << testing::PrintToString(c.text);
        const Lines& dropped = c.linesWithoutNuls.empty() && c.text.find('\0') == std::string::npos
                                   ? c.lines
                                   : c.linesWithoutNuls;
        EXPECT_EQ(SplitLines(c.text, NulByte::Dropped), dropped) << testing::PrintToString(c.text);
    }
}

TEST(TextLines, JoinedLinesSplitBackAlike) {
    for (const Lines& lines : {Lines{}, Lines{""}, Lines{"", ""}, Lines{"a", ""}, Lines{"a", "b"},
                               Lines{"", "x", ""}, Lines{" ", "\t"}}) {
        EXPECT_EQ(SplitLines(JoinLines(lines)), lines) << testing::PrintToString(lines);
    }
    EXPECT_EQ(JoinLines({"a", "b"}), "a\r\nb\r\n");
}

}  // namespace
}  // namespace bk::test
