#include "settings/IniText.h"

namespace bk {

std::string_view TrimIniBlanks(std::string_view text, const CodePage& codePage) {
    // Byte-wise from both ends: no code page has a blank among its trail bytes.
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsIniBlank(codePage, text[begin])) ++begin;
    while (end > begin && IsIniBlank(codePage, text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool HasLeadBytes(const CodePage& codePage) {
    for (int b = 0; b < 256; ++b)
        if (codePage.IsLeadByte(static_cast<std::uint8_t>(b)))
            return true;
    return false;
}

bool EndsInHalfCharacter(std::string_view text, const CodePage& codePage) {
    std::size_t i = 0, last = 0;
    while (i < text.size()) {
        last = i;
        i += codePage.CharLength(text, i);
    }
    return !text.empty() && codePage.CharLength(text, last) == 1 &&
           codePage.IsLeadByte(static_cast<std::uint8_t>(text[last]));
}

int ParseIniInteger(std::string_view text) {
    std::size_t p = 0;
    while (p < text.size() && static_cast<std::uint8_t>(text[p]) <= ' ') ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-'))
        negative = text[p++] == '-';
    std::uint32_t total = 0;
    for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p)
        total = total * 10u + static_cast<std::uint32_t>(text[p] - '0');
    if (negative)
        total = 0u - total;
    return static_cast<int>(total);
}

}  // namespace bk
