#include "settings/TextLines.h"

namespace bk {

std::vector<std::string> SplitLines(std::string_view text, NulByte nul) {
    if (nul == NulByte::EndsText)
        text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? end : end - start);
        std::string& added = lines.emplace_back(line);
        if (nul == NulByte::Dropped)
            std::erase(added, '\0');
        if (end == std::string_view::npos)
            break;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace bk
