// The INI rules on text alone: reads, section reads, integer values, edits and
// what an edit refuses. The differential test checks the same rules against
// the Windows profile functions; these tables pin them down natively.

#include <gtest/gtest.h>

#include "settings/CommaText.h"
#include "settings/IniDocument.h"

namespace bk {
namespace {

using namespace std::string_literals;

const CodePage& Western() {
    static const CodePage codePage = CodePage::Western();
    return codePage;
}

const CodePage& Japanese() {
    static const CodePage codePage = CodePage::Japanese();
    return codePage;
}

struct ReadCase {
    const char* name;
    std::string file;
    std::string section, key;
    std::string expected;  // "<default>" when the default comes back
};

const ReadCase kReads[] = {
    {"plain", "[s]\r\nk=v\r\n", "s", "k", "v"},
    {"letter case of names", "[Options]\r\nOneLineCount=3\r\n", "OPTIONS", "OnelineCount", "3"},
    {"blanks around name and value", "[s]\r\n \t k \t=\t v w \t\r\n", "s", "k", "v w"},
    {"^Z is a blank", "[s]\r\n\x1a k=v\x1a\r\n", "s", "k", "v"},
    {"other control characters are not", "[s]\r\nk=\x01v\x1c\r\n", "s", "k", "\x01v\x1c"},
    {"no-break space is a blank of code page 1252", "[s]\r\nk=\xa0v\xa0\r\n", "s", "k", "v"},
    {"double quotes removed", "[s]\r\nk=\"v\"\r\n", "s", "k", "v"},
    {"single quotes removed", "[s]\r\nk='v'\r\n", "s", "k", "v"},
    {"quoted blanks kept", "[s]\r\nk=\" x \"\r\n", "s", "k", " x "},
    {"only one pair removed", "[s]\r\nk=\"\"x\"\"\r\n", "s", "k", "\"x\""},
    {"mixed marks kept", "[s]\r\nk=\"v'\r\n", "s", "k", "\"v'"},
    {"a lone quote kept", "[s]\r\nk=\"\r\n", "s", "k", "\""},
    {"two quotes give empty", "[s]\r\nk=\"\"\r\n", "s", "k", ""},
    {"empty value", "[s]\r\nk=\r\n", "s", "k", ""},
    {"line without =", "[s]\r\nk\r\n", "s", "k", "<default>"},
    {"first = splits", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
    {"missing key", "[s]\r\nk=v\r\n", "s", "x", "<default>"},
    {"missing section", "[s]\r\nk=v\r\n", "t", "k", "<default>"},
    {"empty file", "", "s", "k", "<default>"},
    {"first key wins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},
    {"only the first section searched", "[s]\r\na=1\r\n[t]\r\n[S]\r\nk=2\r\n", "s", "k",
     "<default>"},
    {"comment line is a key to string reads", "[s]\r\n;k=1\r\n", "s", ";k", "1"},
    {"LF line ends", "[s]\nk=v\nz=1\n", "s", "z", "1"},
    {"CR line ends", "[s]\rk=v\rz=1\r", "s", "z", "1"},
    {"every CR ends a line", "[s]\na=1\rb=2\nc=3", "s", "a", "1"},
    {"no final line end", "[s]\r\nk=v", "s", "k", "v"},
    {"keys before any header: section \"\"", "k=top\r\n[s]\r\nk=v\r\n", "", "k", "top"},
    {"header name trimmed", "[ s ]\r\nk=v\r\n", "s", "k", "v"},
    {"text after the header ignored", "[s]x\r\nk=v\r\n", "s", "k", "v"},
    {"last ] closes the name", "[a]b]\r\nk=v\r\n", "a]b", "k", "v"},
    {"[ without ] is a key", "[s\r\nk=v\r\n", "", "k", "v"},
    {"requested names trimmed", "[s]\r\nk=v\r\n", " s\t", " k ", "v"},
    {"requested names end at NUL", "[s]\r\nk=v\r\n", "s\0x"s, "k\0y"s, "v"},
    {"names end at NUL", "[s\0x]\r\nk\0j=v\r\n"s, "s", "k", "v"},
    {"values end at NUL", "[s]\r\nk=v\0w\r\n"s, "s", "k", "v"},
    {"a name is not trimmed again after its NUL", "[s]\r\nk \0j=v\r\n"s, "s", "k", "<default>"},
    {"UTF-8 mark skipped", "\xef\xbb\xbf[s]\r\nk=v\r\n", "s", "k", "v"},
    {"UTF-8 file gives UTF-8", "\xef\xbb\xbf[s]\r\nk=\xc3\xa9\r\n", "s", "k", "\xc3\xa9"},
    {"UTF-16 file", "\xff\xfe[\0s\0]\0\r\0\n\0k\0=\0v\0\xe9\0"s, "s", "k", "v\xc3\xa9"},
    {"UTF-16 big-endian file", "\xfe\xff\0[\0s\0]\0\n\0k\0=\0v"s, "s", "k", "v"},
    {"Latin letters fold in code page 1252", "[\xc9t\xe9]\r\nk=v\r\n", "\xe9T\xc9", "K", "v"},
};

class Reads : public testing::TestWithParam<ReadCase> {};

TEST_P(Reads, StringRead) {
    const ReadCase& c = GetParam();
    IniDocument document(c.file, Western());
    EXPECT_EQ(Unquote(document.FindValue(c.section, c.key).value_or("<default>")), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, Reads, testing::ValuesIn(kReads),
                         [](const auto& param) { return "case" + std::to_string(param.index); });

TEST(IniDocument, DoubleByteTrailBytesAreNotSyntax) {
    // In code page 932 0x82 starts a double-byte character: the "]" and "=" after
    // it are its second byte.
    std::string file = "[a\x82]]\r\nk\x82=x=v\r\n";
    IniDocument document(file, Japanese());
    EXPECT_EQ(Unquote(document.FindValue("a\x82]", "k\x82=x").value_or("-")), "v");
    // A line ending in a lone lead byte (after a NUL) gets its "=" after the name.
    IniDocument lead("a\0\x87\r\n"s, Japanese());
    lead.WriteString("", "a", "v");
    EXPECT_EQ(lead.Serialize(), "a=v\r\n");
}

struct IntegerCase {
    std::string value;
    int expected;  // the default is 99
};

const IntegerCase kIntegers[] = {
    {"12", 12},
    {"-5", -5},
    {"+7", 7},
    {"\"  12abc\"", 12},
    {"abc", 0},
    {"-", 0},
    {"+-5", 0},
    {"", 99},
    {"\"\"", 99},
    {"\"3\"", 3},
    {"4294967297", 1},
    {"-2147483649", 2147483647},
    {"\"\x01 -5\"", -5},
    {"0x10", 0},
    // No length cap: the profile functions read only the first 29 characters.
    {std::string(40, '0') + "12", 12},
};

TEST(IniDocument, IntegerValues) {
    for (const auto& c : kIntegers) {
        IniDocument document("[s]\r\nk=" + c.value + "\r\n", Western());
        EXPECT_EQ(IntegerFromValue(document.FindValue("s", "k"), 99), c.expected) << c.value;
    }
    IniDocument noValue("[s]\r\nk\r\n", Western());
    EXPECT_EQ(IntegerFromValue(noValue.FindValue("s", "k"), 99), 99);
    EXPECT_EQ(IntegerFromValue(noValue.FindValue("s", "missing"), -1), -1);
}

TEST(IniDocument, SectionReadListsValuedKeysUnquotedInFileOrder) {
    std::string file =
        "[other]\r\nx=1\r\n"
        "[list]\r\n"
        "sig1 = \"b \"\r\n"
        "; comment=no\r\n"
        "bare\r\n"
        "\r\n"
        "sig0='a'\r\n"
        "=e1\r\n"
        "=e2\r\n"  // dropped: the key line before it has an empty name too
        "k=\r\n"
        "[LIST]\r\nlater=no\r\n";
    std::vector<IniEntry> expected = {{"sig1", "b "}, {"sig0", "a"}, {"", "e1"}, {"k", ""}};
    EXPECT_EQ(IniDocument(file, Western()).ReadSection("List"), expected);
    EXPECT_TRUE(IniDocument(file, Western()).ReadSection("none").empty());
}

struct Op {
    bool write;
    std::string section, key, value;
};
Op W(std::string s, std::string k, std::string v) {
    return {true, s, k, v};
}
Op D(std::string s, std::string k) {
    return {false, s, k, ""};
}

struct EditCase {
    const char* name;
    std::string before;
    std::vector<Op> ops;
    std::string after;
};

const EditCase kEdits[] = {
    {"replace keeps name, blanks and line end",
     "[s]\r\n  Key = old \t\r\nz=1\n",
     {W("s", "key", "new")},
     "[s]\r\n  Key = new \t\r\nz=1\n"},
    {"replace an empty value", "[s]\r\nk=\r\n", {W("s", "k", "v")}, "[s]\r\nk=v\r\n"},
    {"a key without = gets one", "[s]\r\n k \r\n", {W("s", "k", "v")}, "[s]\r\n k=v \r\n"},
    {"new key after the last key, before comments and blank lines",
     "[a]\r\nx=1\r\n; about b\r\n\r\n[b]\r\n",
     {W("a", "y", "2")},
     "[a]\r\nx=1\r\ny=2\r\n; about b\r\n\r\n[b]\r\n"},
    {"new key in a section without keys",
     "[a]\r\n; c\r\n[b]\r\n",
     {W("a", "k", "v")},
     "[a]\r\nk=v\r\n; c\r\n[b]\r\n"},
    {"new key after a header without line end", "[a]", {W("a", "k", "v")}, "[a]\r\nk=v\r\n"},
    {"new key after a last line without line end",
     "[a]\r\nx=1",
     {W("a", "k", "v")},
     "[a]\r\nx=1\r\nk=v\r\n"},
    {"new section at the end", "[a]\r\nx=1", {W("b", "k", "v")}, "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
    {"new section in an empty file", "", {W("b", "k", "v")}, "[b]\r\nk=v\r\n"},
    {"the first of duplicate sections",
     "[a]\r\nx=1\r\n[b]\r\n[A]\r\ny=2\r\n",
     {W("a", "y", "3")},
     "[a]\r\nx=1\r\ny=3\r\n[b]\r\n[A]\r\ny=2\r\n"},
    {"the first of duplicate keys",
     "[a]\r\nx=1\r\nX=2\r\n",
     {W("a", "x", "3")},
     "[a]\r\nx=3\r\nX=2\r\n"},
    {"names trimmed", "[a]\r\n", {W(" a ", " k\t", " v ")}, "[a]\r\nk= v \r\n"},
    {"keys before the first header",
     "; top\r\n[a]\r\n",
     {W("", "k", "v")},
     "k=v\r\n; top\r\n[a]\r\n"},
    {"LF and CR files keep their lines",
     "[a]\nx=1\n[b]\ry=1\r",
     {W("a", "z", "2"), W("b", "z", "3")},
     "[a]\nx=1\nz=2\r\n[b]\ry=1\rz=3\r\n"},
    {"delete takes the first match and its line end",
     "[a]\r\nx=1\r\ny=2\r\nx=3\r\n",
     {D("a", "X")},
     "[a]\r\ny=2\r\nx=3\r\n"},
    {"delete a last line without line end", "[a]\r\nx=1\r\ny=2", {D("a", "y")}, "[a]\r\nx=1\r\n"},
    {"delete missing key or section changes nothing",
     "[a]\r\nx=1\r\n",
     {D("a", "y"), D("b", "x")},
     "[a]\r\nx=1\r\n"},
    {"delete only in the first section",
     "[a]\r\n[a]\r\nx=1\r\n",
     {D("a", "x")},
     "[a]\r\n[a]\r\nx=1\r\n"},
    {"after a delete the next duplicate is found",
     "[a]\r\nx=1\r\nx=2\r\n",
     {D("a", "x"), W("a", "x", "3")},
     "[a]\r\nx=3\r\n"},
    {"delete the last key, then add",
     "[a]\r\nx=1\r\ny=2\r\n; c\r\n",
     {D("a", "y"), W("a", "z", "3")},
     "[a]\r\nx=1\r\nz=3\r\n; c\r\n"},
    {"legacy list migration",
     "",
     {W("OptionsOneliner", "sig0", "\"a\""), W("OptionsOneliner", "sig1", "\" b\""),
      W("OptionsOneliner", "sig2", "\"\""), W("Options", "OneLineCount", "3")},
     "[OptionsOneliner]\r\nsig0=\"a\"\r\nsig1=\" "
     "b\"\r\nsig2=\"\"\r\n[Options]\r\nOneLineCount=3\r\n"},
    {"inserts before several comment lines of one name",
     "[s]\r\nk=1\r\n;c=1\r\n;c=2\r\n;c=3\r\n",
     {W("s", "n1", "1"), W("s", "n2", "1"), W("s", "n3", "1"), W("s", ";c", "x")},
     "[s]\r\nk=1\r\nn1=1\r\nn2=1\r\nn3=1\r\n;c=x\r\n;c=2\r\n;c=3\r\n"},
    {"UTF-8 file keeps its mark",
     "\xef\xbb\xbf[a]\r\nx=\xc3\xa9\r\n",
     {W("a", "y", "\xe2\x82\xac")},
     "\xef\xbb\xbf[a]\r\nx=\xc3\xa9\r\ny=\xe2\x82\xac\r\n"},
    {"UTF-16 file stays UTF-16, odd byte and lone surrogate kept",
     "\xff\xfe[\0a\0]\0\r\0\n\0x\0=\0\x00\xd8\r\0\n\0!"s,
     {W("a", "y", "\xc3\xa9")},
     "\xff\xfe[\0a\0]\0\r\0\n\0x\0=\0\x00\xd8\r\0\n\0y\0=\0\xe9\0\r\0\n\0!"s},
};

class Edits : public testing::TestWithParam<EditCase> {};

TEST_P(Edits, GoldenText) {
    const EditCase& c = GetParam();
    IniDocument document(c.before, Western());
    for (const Op& op : c.ops) {
        if (op.write)
            document.WriteString(op.section, op.key, op.value);
        else
            document.DeleteKey(op.section, op.key);
    }
    EXPECT_EQ(document.Serialize(), c.after);
    // The edited document reads as its text does.
    IniDocument reread(c.after, Western());
    for (const Op& op : c.ops)
        EXPECT_EQ(Unquote(document.FindValue(op.section, op.key).value_or("-")),
                  Unquote(reread.FindValue(op.section, op.key).value_or("-")));
}

INSTANTIATE_TEST_SUITE_P(Table, Edits, testing::ValuesIn(kEdits),
                         [](const auto& param) { return "case" + std::to_string(param.index); });

TEST(IniDocument, WriteReportsWhetherTheTextChanged) {
    IniDocument document("[a]\r\nx = 1 \r\n", Western());
    EXPECT_FALSE(document.WriteString("a", "x", "1"));
    EXPECT_TRUE(document.WriteString("a", "x", "2"));
    EXPECT_FALSE(document.DeleteKey("a", "y"));
    EXPECT_TRUE(document.DeleteKey("a", "x"));
}

TEST(IniDocument, RefusesWhatCannotBeStoredAndChangesNothing) {
    const std::string before = "[a]\r\nx=1\r\n";
    struct Bad {
        std::string section, key, value;
        const CodePage* codePage;
    };
    const Bad bad[] = {
        {"a", "k", "line\r\ninjected=1", &Western()},
        {"a", "k", "cr\r", &Western()},
        {"a", "k", "nul\0x"s, &Western()},
        {"a\nb", "k", "v", &Western()},
        {"a", "k\r", "v", &Western()},
        {"a", "k\0x"s, "v", &Western()},
        {"a", "", "v", &Western()},
        {"a", " \t", "v", &Western()},
        {"a", "k=j", "v", &Western()},
        {"a", "[k]", "v", &Western()},
        {"a", "[k", "v]", &Western()},
        {"a\x82", "k", "v", &Japanese()},
        {"a", "k\x82", "v", &Japanese()},
        {"a", "k", "v\x82", &Japanese()},
        {"", "\xff\xfe", "1", &Western()},  // would be read as a UTF-16 mark
    };
    for (const Bad& b : bad) {
        IniDocument document(before, *b.codePage);
        EXPECT_THROW(document.WriteString(b.section, b.key, b.value), SettingsError)
            << b.section << "|" << b.key << "|" << b.value;
        EXPECT_EQ(document.Serialize(), before);
    }
    IniDocument marked("k=1\r\n\xef\xbb\xbfx=2\r\n", Western());
    EXPECT_THROW(marked.DeleteKey("", "k"), SettingsError);
    EXPECT_EQ(marked.Serialize(), "k=1\r\n\xef\xbb\xbfx=2\r\n");
    IniDocument unicode("\xef\xbb\xbf" + before, Western());
    EXPECT_THROW(unicode.WriteString("a", "x", "\xe9"), SettingsError);
    EXPECT_EQ(unicode.Serialize(), "\xef\xbb\xbf" + before);
}

TEST(IniDocument, KeysThatLookOddButReadBack) {
    IniDocument document("", Western());
    document.WriteString("a]", ";k", "v");
    document.WriteString("[b", "[k", "v");
    document.WriteString("c", "k", "[v]");
    IniDocument reread(document.Serialize(), Western());
    EXPECT_EQ(Unquote(reread.FindValue("a]", ";k").value_or("-")), "v");
    EXPECT_EQ(Unquote(reread.FindValue("[b", "[k").value_or("-")), "v");
    EXPECT_EQ(Unquote(reread.FindValue("c", "k").value_or("-")), "[v]");
}

TEST(IniDocument, ManyEditsInOneSection) {
    // The setup dialog's save of a long list: every key rewritten, surplus deleted.
    std::string file = "[Options]\r\nOneLineCount=3000\r\n[OptionsOneliner]\r\n";
    for (int i = 0; i < 3000; ++i) file += "sig" + std::to_string(i) + "=\"old\"\r\n";
    file += "; end\r\n";
    IniDocument document(file, Western());
    for (int i = 0; i < 5000; ++i)
        document.WriteString("OptionsOneliner", "sig" + std::to_string(i),
                             "\"" + std::to_string(i) + "\"");
    for (int i = 4000; i < 5000; ++i)
        document.DeleteKey("OptionsOneliner", "sig" + std::to_string(i));
    document.WriteString("Options", "OneLineCount", "4000");

    IniDocument reread(document.Serialize(), Western());
    auto entries = reread.ReadSection("OptionsOneliner");
    ASSERT_EQ(entries.size(), 4000u);
    for (int i = 0; i < 4000; ++i) {
        EXPECT_EQ(entries[i].key, "sig" + std::to_string(i));
        EXPECT_EQ(entries[i].value, std::to_string(i));
    }
    EXPECT_EQ(IntegerFromValue(reread.FindValue("Options", "OneLineCount"), 0), 4000);
    EXPECT_TRUE(document.Serialize().ends_with("sig3999=\"3999\"\r\n; end\r\n"));
}

}  // namespace
}  // namespace bk
