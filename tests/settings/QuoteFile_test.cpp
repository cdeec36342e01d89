// Quote files: how a file's bytes become quotes in each form and encoding, how
// the stored path is taken, and what each failure to load one says.

#include "settings/QuoteFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TestPlatform.h"
#include "settings/ByteScan.h"
#include "support/TempDir.h"

namespace bk {
namespace {

using namespace std::string_literals;
using Texts = std::vector<std::string>;

// A UTF-16 file: its mark, then `text` in that byte order.
std::string Utf16(bool bigEndian, std::u16string_view text) {
    std::string bytes;
    const std::u16string units = u"\uFEFF" + std::u16string(text);
    for (char16_t unit : units) {
        char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? hi : lo;
        bytes += bigEndian ? lo : hi;
    }
    return bytes;
}

TEST(QuoteIndex, SplitsEveryFormAndEncoding) {
    const CodePage western = CodePage::Western(), japanese = CodePage::Japanese();
    const auto cp = QuoteEncoding::SystemCodePage;
    const struct {
        const char* what;
        std::string file;
        const CodePage& codePage;
        QuoteEncoding encoding;
        bool fortune;
        Texts texts;  // as added, in code page 1252
    } cases[] = {
        // clang-format off
        {"fortune form", "one\n%\ntwo\nlines\n%\nthree", western, cp, true,
         {"one\r\n", "two\r\nlines\r\n", "three\r\n"}},
        {"one per line, the three line ends", "a\r\nb\nc\rd\r\n", western, cp, false,
         {"a\r\n", "b\r\n", "c\r\n", "d\r\n"}},
        {"empty and blank lines", "\n a \n\n \t\v\f\r\nb", western, cp, false, {" a \r\n", "b\r\n"}},
        {"empty and blank quotes, \"%\" with blanks, empty lines closing a quote",
         "%\n%\r\n \t\n\n%\nx\n y\r\r\n\n%  \t\r\n\r\nz\n", western, cp, true,
         {"x\r\n y\r\n", "\r\nz\r\n"}},
        {"\"%\" with text after it is no separator", "50%\n% off\n%x", western, cp, false,
         {"50%\r\n", "% off\r\n", "%x\r\n"}},
        {"... nor in a quote", "a\n% b\n%\rc", western, cp, true, {"a\r\n% b\r\n", "c\r\n"}},
        {"ANSI 1252, its no-break space a blank", "caf\xE9\n%\xA0\n\xA0\n%\nx", western, cp, true,
         {"caf\xE9\r\n", "x\r\n"}},
        {"932: a lead byte before \"%\", before a line end", "\x81%\n\x82\n%\n\x95\\\n", japanese,
         cp, true, {"\x81%\r\n\x82\r\n", "\x95\\\r\n"}},
        {"932: \"%\" after a line end that follows a lead byte", "\x82\n%\n\x82\r%\r", japanese,
         cp, true, {"\x82\r\n", "\x82\r\n"}},
        {"UTF-8 without a mark, its no-break space a blank",
         "caf\xC3\xA9\n%\n\xC2\xA0\n%\n\xE2\x82\xAC 5", western, QuoteEncoding::Utf8, true,
         {"caf\xE9\r\n", "\x80 5\r\n"}},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" "a\r\n%\r\n\xC3\xA9", western,
         QuoteEncoding::Utf8Mark, true, {"a\r\n", "\xE9\r\n"}},
        {"UTF-16 LE, odd last byte", Utf16(false, u"%\r\nA\u00E9\r\n%\r\n\u00A0\r\n%\rB") + "x",
         western, QuoteEncoding::Utf16Le, true, {"A\xE9\r\n", "B\r\n"}},
        {"UTF-16 BE", Utf16(true, u"one\n\u00E9\r\n\n%x\n"), western, QuoteEncoding::Utf16Be,
         false, {"one\r\n", "\xE9\r\n", "%x\r\n"}},
        {"high bytes, not UTF-8 (a lone lead)", "\xC3\xA9 ok\n\xE9", western, cp, false,
         {"\xC3\xA9 ok\r\n", "\xE9\r\n"}},
        {"not UTF-8: overlong", "\xC0\xAF", western, cp, false, {"\xC0\xAF\r\n"}},
        {"not UTF-8: surrogate", "\xED\xA0\x80", western, cp, false, {"\xED\xA0\x80\r\n"}},
        {"not UTF-8: above U+10FFFF", "\xF4\x90\x80\x80", western, cp, false,
         {"\xF4\x90\x80\x80\r\n"}},
        {"a long ASCII run before the first line end",
         std::string(40, 'q') + "\r\n%\r\n" + std::string(17, 'r'), western, cp, true,
         {std::string(40, 'q') + "\r\n", std::string(17, 'r') + "\r\n"}},
        // clang-format on
    };
    test::FilePlatform platform;  // code page 1252 (natively and in the Wine prefix)
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QuoteIndex index(c.file, c.codePage);
        EXPECT_EQ(index.Encoding(), c.encoding);
        EXPECT_EQ(index.FortuneForm(), c.fortune);
        Texts texts;
        for (std::size_t i = 0; i < index.size(); ++i) texts.push_back(index.Text(i, platform));
        EXPECT_EQ(texts, c.texts);
    }
    // Raw is the file's own bytes, line ends as they are.
    EXPECT_EQ(QuoteIndex("%\na\r\nb\n\n%", western).Raw(0), "a\r\nb");
}

TEST(QuoteFilePath, TakesARelativePathFromTheSettingsFolder) {
    const CodePage japanese = CodePage::Japanese();
    const struct {
        std::string_view stored, settings, path;
    } cases[] = {
        {"", "C:\\bk\\s.ini", ""},
        {"q.txt", "C:\\bk\\s.ini", "C:\\bk\\q.txt"},
        {"sub\\q.txt", "C:\\bk/s.ini", "C:\\bk/sub\\q.txt"},
        {"q.txt", "s.ini", "q.txt"},
        {"q.txt", "C:\\\x95\\s.ini", "C:\\q.txt"},  // 0x5C as a trail byte
        {"D:\\q.txt", "C:\\bk\\s.ini", "D:\\q.txt"},
        {"d:q.txt", "C:\\bk\\s.ini", "d:q.txt"},
        {"\\\\server\\share\\q.txt", "C:\\bk\\s.ini", "\\\\server\\share\\q.txt"},
        {"\\q.txt", "C:\\bk\\s.ini", "\\q.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuoteFilePath(c.stored, c.settings, japanese), c.path) << c.stored;
    }
}

TEST(LoadQuoteFile, SaysWhyAFileGivesNoQuote) {
    test::TempDir dir;
    dir.Write("empty.txt", "");
    dir.Write("blanks.txt", " \r\n\t\n");
    dir.Write("percent.txt", "%\n% \n%");
    std::filesystem::resize_file(dir.Write("large.txt", ""), kMaxQuoteFileSize + 1);  // sparse
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {"", kQuoteFileNotSet},
        // (A file missing, a folder, a device: ReadFileUpTo's reasons, PlatformFiles_test.)
        {dir.Join("large.txt"), kQuoteFileTooLarge + ": "s + dir.Join("large.txt")},
        {dir.Join("empty.txt"), kQuoteFileEmpty + ": "s + dir.Join("empty.txt")},
        {dir.Join("blanks.txt"), kQuoteFileEmpty + ": "s + dir.Join("blanks.txt")},
        {dir.Join("percent.txt"), kQuoteFileEmpty + ": "s + dir.Join("percent.txt")},
    };
    test::FilePlatform platform;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        QuoteFileLoad load = LoadQuoteFile(platform, c.path);
        EXPECT_FALSE(load.quotes);
        EXPECT_EQ(load.reason, c.reason);
    }
}

// The scans that find "%", line ends and the end of ASCII text 16 bytes a step:
// what they look for at every place of a text longer than two steps, and not at all.
TEST(ByteScan, FindsAtEveryPlaceAcrossSteps) {
    for (std::size_t at = 0; at <= 40; ++at) {
        std::string text(40, 'a');
        if (at < text.size())
            text[at] = '%';
        const auto* data = reinterpret_cast<const unsigned char*>(text.data());
        EXPECT_EQ(FindByte(data, 0, text.size(), '%'), at);
        EXPECT_EQ(FindByte(data, std::min<std::size_t>(at + 1, 40), text.size(), '%'), 40u);
        for (char c : {'\r', '\n', '\xC3'}) {
            std::replace(text.begin(), text.end(), text[std::min<std::size_t>(at, 39)], 'a');
            if (at < text.size())
                text[at] = c;
            EXPECT_EQ(
                c == '\xC3' ? AsciiPrefix(data, text.size()) : FindCrOrLf(data, 0, text.size()),
                at);
        }
    }
}

}  // namespace
}  // namespace bk
