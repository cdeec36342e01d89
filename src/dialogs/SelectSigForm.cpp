#include "dialogs/SelectSigForm.h"

#include <unordered_map>
#include <vector>

#include "settings/CommaText.h"
#include "settings/TextLines.h"

namespace bk {

TSelectSigForm::TSelectSigForm(Platform& platform) : platform_(platform) {
    SigPreviewMemo.lines = {kPreviewPlaceholder};
}

const DialogLayout<TSelectSigForm>& SelectSigFormLayout() {
    using F = TSelectSigForm;
    // clang-format off
    static const DialogLayout<F> layout{{466, 239, {
        {BK_CONTROL(F, CheckLabel, Text),
         "The signature to be added is selected from checked items.",
         {16, 16, 321, 15}, nullptr, 0},
        {BK_CONTROL(F, SigCheckListBox, CheckList), nullptr,
         {8, 40, 337, 89}, BK_CLICK(F, SigCheckListBoxClick), 0},
        {BK_CONTROL(F, SigPreviewMemo, ViewMemo), nullptr,
         {8, 136, 450, 89}, nullptr, 0},
        {BK_CONTROL(F, OkButton, PushButton), kOkCaption,
         {376, 16, 75, 25}, nullptr, kClosesOk | kDefaultButton},
        {BK_CONTROL(F, CancelButton, PushButton), kCancelCaption,
         {376, 56, 75, 25}, nullptr, kClosesCancel},
    }}};
    // clang-format on
    return layout;
}

void TSelectSigForm::LoadSignatureList(const std::string& path) {
    MailboxPath = path;
    SigCheckListBox.items.clear();
    SigCheckListBox.itemIndex = -1;
    for (const FoundFile& file : platform_.FindFiles(SignatureSearchPattern(path))) {
        SignatureName name = ParseSignatureFileName(file.name);
        SigCheckListBox.items.push_back({std::move(name.title), name.number, false});
    }
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
    for (const std::string& title : SplitCommaText(text, codePage)) {
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
    std::string name =
        MailboxPath + SignatureFileName(static_cast<unsigned>(item.number), item.title);
    SigPreviewMemo.lines = SplitLines(SignatureText(platform_.ReadFile(name), platform_));
}

}  // namespace bk
