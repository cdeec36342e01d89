#include "dialogs/selsigfm.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dialogs/MemoText.h"
#include "settings/CommaText.h"

namespace bk {
namespace {

constexpr std::size_t kPrefixLength = 3;  // "$$$"
constexpr std::size_t kNumberLength = 5;  // hexadecimal digits
constexpr std::size_t kSuffixLength = 4;  // ".txt"

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The signature number of a file name "$$$" + five hex digits + title + ".txt".
int SignatureNumber(std::string_view name) {
    std::string_view digits = name.substr(std::min(name.size(), kPrefixLength), kNumberLength);
    int number = 0;
    bool valid = digits.size() == kNumberLength;
    for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0)
            valid = false;
        number = number * 16 + (d < 0 ? 0 : d);
    }
    if (!valid)
        throw SignatureNumberError("'$" + std::string(digits) + "' is not a valid integer value");
    return number;
}

std::string SignatureTitle(std::string_view name) {
    constexpr std::size_t kFixed = kPrefixLength + kNumberLength + kSuffixLength;
    if (name.size() <= kFixed)
        return std::string();
    return std::string(name.substr(kPrefixLength + kNumberLength, name.size() - kFixed));
}

}  // namespace

TSelectSigForm::TSelectSigForm(Platform& platform) : platform_(platform) {
    SigPreviewMemo.lines = {kPreviewPlaceholder};
    FormCreate();
}

void TSelectSigForm::FormCreate() {
    MailboxPath.clear();
}

void TSelectSigForm::LoadSignatureList(const std::string& path) {
    MailboxPath = path;
    SigCheckListBox.items.clear();
    SigCheckListBox.itemIndex = -1;
    for (const FoundFile& file : platform_.FindFiles(path + "$$$*.txt"))
        SigCheckListBox.items.push_back(
            {SignatureTitle(file.name), SignatureNumber(file.name), false});
    if (SigCheckListBox.items.empty())
        platform_.ShowWarning(kNoSignatureFileMessage);
}

void TSelectSigForm::SetSelectedSigs(const std::string& text) {
    const CodePage& codePage = platform_.AnsiCodePage();
    // The first item of each title, by folded title: a stored title checks only
    // the first of two items with the same title.
    std::unordered_map<std::string, std::size_t> firstItem;
    auto& items = SigCheckListBox.items;
    for (std::size_t i = items.size(); i-- > 0;) firstItem[codePage.Fold(items[i].title)] = i;
    for (const std::string& title : SplitStoredList(text, codePage)) {
        auto it = firstItem.find(codePage.Fold(title));
        if (it != firstItem.end())
            items[it->second].checked = true;
    }
}

std::string TSelectSigForm::GetSelectedSigs() const {
    std::vector<std::string> titles;
    for (const CheckListItem& item : SigCheckListBox.items)
        if (item.checked)
            titles.push_back(item.title);
    return JoinCommaText(titles, platform_.AnsiCodePage());
}

void TSelectSigForm::SigCheckListBoxClick() {
    int index = SigCheckListBox.itemIndex;
    if (index < 0 || index >= static_cast<int>(SigCheckListBox.items.size()))
        return;
    const CheckListItem& item = SigCheckListBox.items[static_cast<std::size_t>(index)];
    // The number is written back in upper case; file names ignore case, so this
    // names the listed file whatever case its digits had.
    char number[16];
    std::snprintf(number, sizeof number, "%05X", static_cast<unsigned>(item.number));
    std::string name = MailboxPath + "$$$" + number + item.title + ".txt";
    SigPreviewMemo.lines = MemoLines(platform_.ReadFile(name));
}

}  // namespace bk
