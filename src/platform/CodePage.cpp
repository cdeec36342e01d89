#include "platform/CodePage.h"

namespace bk {
namespace {

std::array<std::uint8_t, 256> AsciiUpper() {
    std::array<std::uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<std::uint8_t>(i >= 'a' && i <= 'z' ? i - 32 : i);
    return t;
}

std::array<bool, 256> AsciiBlanks() {
    std::array<bool, 256> t{};
    for (int c : {'\t', '\n', '\v', '\f', '\r', ' '}) t[c] = true;
    return t;
}

}  // namespace

CodePage::CodePage() : CodePage(1252, {}, AsciiUpper(), AsciiBlanks()) {}

CodePage::CodePage(unsigned number, const std::array<bool, 256>& leadBytes,
                   const std::array<std::uint8_t, 256>& upper, const std::array<bool, 256>& blanks)
    : number_(number), lead_(leadBytes), upper_(upper), blank_(blanks) {}

CodePage CodePage::Ascii() {
    return CodePage();
}

CodePage CodePage::Western() {
    auto upper = AsciiUpper();
    for (int i = 0xE0; i <= 0xFE; ++i)
        if (i != 0xF7)
            upper[i] = static_cast<std::uint8_t>(i - 0x20);
    upper[0x9A] = 0x8A;  // s caron
    upper[0x9C] = 0x8C;  // oe
    upper[0x9E] = 0x8E;  // z caron
    upper[0xFF] = 0x9F;  // y diaeresis
    auto blanks = AsciiBlanks();
    blanks[0xA0] = true;  // no-break space
    return CodePage(1252, {}, upper, blanks);
}

CodePage CodePage::Japanese() {
    std::array<bool, 256> lead{};
    for (int i = 0x81; i <= 0x9F; ++i) lead[i] = true;
    for (int i = 0xE0; i <= 0xFC; ++i) lead[i] = true;
    return CodePage(932, lead, AsciiUpper(), AsciiBlanks());
}

bool CodePage::EqualNoCase(std::string_view a, std::string_view b) const {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0, n; (n = CharLength(a, i)) != 0; i += n) {
        bool same = n == 2 ? a[i] == b[i] && a[i + 1] == b[i + 1]
                           : upper_[static_cast<std::uint8_t>(a[i])] ==
                                 upper_[static_cast<std::uint8_t>(b[i])];
        if (!same)
            return false;
    }
    return true;
}

std::string CodePage::Fold(std::string_view name) const {
    std::string folded;
    AppendFolded(folded, name);
    return folded;
}

void CodePage::AppendFolded(std::string& out, std::string_view name) const {
    const std::size_t end = out.append(name).size();
    for (std::size_t i = end - name.size(); i < end; ++i) {
        const auto b = static_cast<std::uint8_t>(out[i]);
        if (lead_[b] && i + 1 < end && out[i + 1] != '\0')
            ++i;  // a double-byte character, as CharLength steps it: kept as it is
        else
            out[i] = static_cast<char>(upper_[b]);
    }
}

std::size_t CodePage::Find(std::string_view text, char c) const {
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        if (text[i] == c && CharLength(text, i) == 1)
            return i;
    return std::string_view::npos;
}

std::size_t CodePage::FindLastSeparator(std::string_view path) const {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); i += CharLength(path, i))
        if ((path[i] == '\\' || path[i] == '/') && CharLength(path, i) == 1)
            last = i;
    return last;
}

}  // namespace bk
