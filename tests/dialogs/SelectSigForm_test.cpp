// TSelectSigForm without windows: listing a mailbox directory, checking stored
// titles, the restricted list text and the preview.
#include "dialogs/SelectSigForm.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "dialogs/HandlerGuard.h"
#include "platform/portable/PortablePlatform.h"
#include "support/TempDir.h"

namespace bk::test {
namespace {

class SelectSigFormTest : public ::testing::Test {
protected:
    std::string Mailbox() const { return dir.Path() + PathSeparator(); }
    // Lists the directory and sorts the items by title, so that tests do not
    // depend on the order the directory search returns.
    void Load() {
        form.LoadSignatureList(Mailbox());
        std::stable_sort(form.SigCheckListBox.items.begin(), form.SigCheckListBox.items.end(),
                         [](auto& a, auto& b) { return a.title < b.title; });
    }
    std::string CheckMarks() const {
        std::string s;
        for (auto& item : form.SigCheckListBox.items) s += item.checked ? '1' : '0';
        return s;
    }
    int IndexOf(const std::string& title) const {
        auto& items = form.SigCheckListBox.items;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].title == title)
                return static_cast<int>(i);
        return -1;
    }

    TempDir dir;
    PortablePlatform platform;
    TSelectSigForm form{platform};
};

TEST_F(SelectSigFormTest, FileNamesGiveTitlesAndNumbers) {
    dir.Write("$$$0001AHello.txt", "x");
    dir.Write("$$$0001bLower.txt", "x");
    dir.Write("$$$12345.txt", "x");
    dir.Write("$$$FFFFFWith spaces, and \"quotes\".txt", "x");
    dir.Write("$$$00001Other.doc", "x");  // not a signature file
    dir.Write("notes.txt", "x");
    Load();
    struct {
        const char* title;
        int number;
    } expected[] = {
        {"", 0x12345}, {"Hello", 26}, {"Lower", 27}, {"With spaces, and \"quotes\"", 0xFFFFF}};
    ASSERT_EQ(form.SigCheckListBox.items.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(form.SigCheckListBox.items[i].title, expected[i].title);
        EXPECT_EQ(form.SigCheckListBox.items[i].number, expected[i].number);
        EXPECT_FALSE(form.SigCheckListBox.items[i].checked);
    }
    EXPECT_EQ(form.MailboxPath, Mailbox());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SelectSigFormTest, NoFileWarnsAndLeavesTheListEmpty) {
    dir.Write("sub/$$$00001Elsewhere.txt", "x");
    Load();
    EXPECT_TRUE(form.SigCheckListBox.items.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].warning);
    EXPECT_EQ(platform.messages[0].text, "No signature file found.");
}

TEST_F(SelectSigFormTest, ANumberThatIsNotHexadecimalStopsTheListing) {
    struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"$$$0001GBad.txt", "'$0001G' is not a valid integer value"},
        {"$$$ 0001Blank.txt", "'$ 0001' is not a valid integer value"},
        {"$$$-1234Sign.txt", "'$-1234' is not a valid integer value"},
        {"$$$12.txt", "'$12.tx' is not a valid integer value"},
        {"$$$.txt", "'$.txt' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        TempDir one;
        one.Write(c.name, "x");
        TSelectSigForm f(platform);
        try {
            f.LoadSignatureList(one.Path() + PathSeparator());
            ADD_FAILURE() << c.name << " was listed";
        } catch (const SignatureNumberError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST_F(SelectSigFormTest, StoredTitlesCheckTheirFirstItemWhateverTheCase) {
    for (const char* name :
         {"$$$00001A.txt", "$$$00002B.txt", "$$$00003C.txt", "$$$00004x\"y.txt", "$$$00005a,b.txt"})
        dir.Write(name, "x");
    Load();  // items: A, B, C, a,b, x"y
    struct {
        std::string stored;
        const char* marks;
        std::string result;
    } cases[] = {
        {"\"C\",\"A\"", "10100", "\"A\",\"C\""},  // list order back
        {"\"c\"", "00100", "\"C\""},              // case ignored, own title written
        {"\"x\"\"y\"", "00001", "\"x\"\"y\""},    // a doubled quote inside
        {"\"a,b\"", "00010", "\"a,b\""},          // a comma inside
        {"\"Missing\",\"B\"", "01000", "\"B\""},  // unknown titles are dropped
        {"", "00000", ""},
    };
    for (const auto& c : cases) {
        for (auto& item : form.SigCheckListBox.items) item.checked = false;
        form.SetSelectedSigs(c.stored);
        EXPECT_EQ(CheckMarks(), c.marks) << c.stored;
        EXPECT_EQ(form.GetSelectedSigs(), c.result) << c.stored;
    }
}

TEST_F(SelectSigFormTest, TwoFilesWithOneTitle) {
    dir.Write("$$$00001Same.txt", "first");
    dir.Write("$$$00002Same.txt", "second");
    form.LoadSignatureList(Mailbox());
    form.SetSelectedSigs("\"Same\"");
    EXPECT_EQ(CheckMarks(), "10");  // only the first in list order
    for (auto& item : form.SigCheckListBox.items) item.checked = true;
    EXPECT_EQ(form.GetSelectedSigs(), "\"Same\",\"Same\"");
}

TEST_F(SelectSigFormTest, ClickPreviewsTheCurrentItemsFile) {
    dir.Write("$$$0001aHello.txt", "line one\r\nline two\nthree\rfour\r\n");
    dir.Write("$$$00002Nul.txt", std::string("before\0after", 12));
    dir.Write("$$$00003Marked.txt", "\xef\xbb\xbfK\xc3\xb6ln\r\n\xe2\x86\x92");
    Load();
    form.SigCheckListBox.itemIndex = -1;
    form.SigCheckListBoxClick();
    EXPECT_EQ(form.SigPreviewMemo.lines, std::vector<std::string>{"(preview)"});

    form.SigCheckListBox.itemIndex = IndexOf("Hello");
    form.SigCheckListBoxClick();  // opens ...$$$0001AHello.txt: the same file
    EXPECT_EQ(form.SigPreviewMemo.lines,
              (std::vector<std::string>{"line one", "line two", "three", "four"}));
    form.SigCheckListBox.itemIndex = IndexOf("Nul");
    form.SigCheckListBoxClick();
    EXPECT_EQ(form.SigPreviewMemo.lines, std::vector<std::string>{"before"});
    form.SigCheckListBox.itemIndex = IndexOf("Marked");  // converted, without the mark
    form.SigCheckListBoxClick();
    EXPECT_EQ(form.SigPreviewMemo.lines, (std::vector<std::string>{"K\xf6ln", "?"}));
}

TEST_F(SelectSigFormTest, APreviewFileThatIsGoneKeepsThePreviewAndNamesTheFile) {
    dir.Write("$$$00001Kept.txt", "kept");
    std::string gone = dir.Write("$$$00002Gone.txt", "gone");
    Load();
    form.SigCheckListBox.itemIndex = IndexOf("Kept");
    form.SigCheckListBoxClick();
    std::remove(gone.c_str());
    form.SigCheckListBox.itemIndex = IndexOf("Gone");
    EXPECT_FALSE(RunHandler(platform, [&] { form.SigCheckListBoxClick(); }));
    EXPECT_EQ(form.SigPreviewMemo.lines, std::vector<std::string>{"kept"});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_FALSE(platform.messages[0].warning);
    EXPECT_NE(platform.messages[0].text.find("$$$00002Gone.txt"), std::string::npos);
}

TEST_F(SelectSigFormTest, ADirectoryThatMatchesIsListedButCannotBePreviewed) {
    dir.Write("$$$00003Folder.txt/inside", "x");
    Load();
    ASSERT_EQ(form.SigCheckListBox.items.size(), 1u);
    form.SigCheckListBox.itemIndex = 0;
    EXPECT_FALSE(RunHandler(platform, [&] { form.SigCheckListBoxClick(); }));
    EXPECT_EQ(form.SigPreviewMemo.lines, std::vector<std::string>{"(preview)"});
}

TEST_F(SelectSigFormTest, DoubleByteTitlesMatchByteForByte) {
    platform.SetCodePage(CodePage::Japanese());
    // "\x83\x41" is one double-byte character whose trail byte is the letter
    // A, which must not fold.
    dir.Write("$$$00001\x83\x41.txt", "x");
    Load();
    form.SetSelectedSigs("\"\x83\x61\"");  // differs in the trail byte only
    EXPECT_EQ(CheckMarks(), "0");
    form.SetSelectedSigs("\"\x83\x41\"");
    EXPECT_EQ(CheckMarks(), "1");
    EXPECT_EQ(form.GetSelectedSigs(), "\"\x83\x41\"");
}

}  // namespace
}  // namespace bk::test
