#include "dialogs/MemoText.h"

#include <gtest/gtest.h>

namespace bk::test {
namespace {

using Lines = std::vector<std::string>;

TEST(MemoText, LinesEndAtCrLfCrOrLf) {
    struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\n\nb", {"a", "", "b"}},
        {" a \t", {" a \t"}},
        {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
        {std::string("\0a", 2), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MemoLines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(MemoText, TextGivesTheSameLinesBack) {
    for (const Lines& lines : {Lines{}, Lines{""}, Lines{"", ""}, Lines{"a", ""}, Lines{"a", "b"},
                               Lines{"", "x", ""}, Lines{" ", "\t"}}) {
        EXPECT_EQ(MemoLines(MemoText(lines)), lines) << testing::PrintToString(lines);
    }
    EXPECT_EQ(MemoText({"a", "b"}), "a\r\nb\r\n");
}

}  // namespace
}  // namespace bk::test
