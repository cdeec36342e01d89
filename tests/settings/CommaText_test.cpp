// Comma text: splitting, joining, and the read-back of a stored restricted list
// in both of its forms.

#include <gtest/gtest.h>

#include "settings/CommaText.h"
#include "settings/IniDocument.h"

namespace bk {
namespace {

using Items = std::vector<std::string>;
using namespace std::string_literals;

struct SplitCase {
    std::string text;
    Items expected;
};

const SplitCase kSplits[] = {
    {"", {}},
    {"   ", {}},
    {"a", {"a"}},
    {"a,b", {"a", "b"}},
    {" a , b ", {"a", "b"}},
    {"a b", {"a", "b"}},  // a blank ends an unquoted item
    {"\"a b\",c", {"a b", "c"}},
    {"\"a,b\"", {"a,b"}},
    {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
    {"a,", {"a", ""}},  // a final "," adds one empty item
    {"a, ", {"a"}},     // ... only when it is the last character
    {",a", {"", "a"}},
    {"a,,b", {"a", "", "b"}},
    {"\"\"", {""}},
    {"\"abc", {"ab"}},  // no closing quote: the last character goes
    {"\"a\"b", {"a", "b"}},
    {"\x01\x1f"
     "a\x7f",
     {"a\x7f"}},        // codes 1 to 32 are blanks, 127 is not
    {"a\0,b"s, {"a"}},  // a NUL ends the text
};

TEST(CommaText, Split) {
    for (const auto& c : kSplits)
        EXPECT_EQ(SplitCommaText(c.text, CodePage::Western()), c.expected) << c.text;
}

TEST(CommaText, TrailBytesAreNotQuotesOrCommas) {
    // A code-page-932 lead byte followed by a byte equal to '"' or ',' makes one
    // character; neither byte ends an item.
    const CodePage japanese = CodePage::Japanese();
    EXPECT_EQ(SplitCommaText("\"\x82\"x\",y", japanese), Items({"\x82\"x", "y"}));
    EXPECT_EQ(SplitCommaText("\x82,a,b", japanese), Items({"\x82,a", "b"}));
    // The character that stands in for a missing closing quote goes whole.
    EXPECT_EQ(SplitCommaText("\"ab\x82\x40", japanese), Items({"ab"}));

    Items titles = {"\x82\"", "\x82,", "a\"b"};
    std::string joined = JoinCommaText(titles, japanese);
    EXPECT_EQ(joined, "\"\x82\"\",\"\x82,\",\"a\"\"b\"");
    EXPECT_EQ(SplitCommaText(joined, japanese), titles);
}

TEST(CommaText, Join) {
    EXPECT_EQ(JoinCommaText({}), "");
    EXPECT_EQ(JoinCommaText({""}), "\"\"");
    EXPECT_EQ(JoinCommaText({"A", "B"}), "\"A\",\"B\"");
    EXPECT_EQ(JoinCommaText({"a,b", "say \"hi\""}), "\"a,b\",\"say \"\"hi\"\"\"");
}

// A restricted list written by the selection dialog (full form) and read back
// through the settings file as the picker and the setup dialog read it.
TEST(CommaText, StoredListsRoundTrip) {
    const CodePage western = CodePage::Western();
    const Items lists[] = {
        {"A", "B"},
        {"with, comma", "with \"quote\"", " blanks "},
        {"only"},
    };
    for (const Items& titles : lists) {
        IniDocument document("", western);
        document.WriteString("Options", "SelectedSigs", JoinCommaText(titles));
        const IniDocument reread(document.Serialize(), western);
        std::string readerForm(Unquote(reread.FindValue("Options", "SelectedSigs").value_or("")));
        // The picker encloses the reader's form and splits it.
        EXPECT_EQ(SplitCommaText("\"" + readerForm + "\"", western), titles);
    }
}

}  // namespace
}  // namespace bk
