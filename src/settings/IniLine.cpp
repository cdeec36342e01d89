#include "settings/IniLine.h"

#include <cstring>

#include "settings/IniText.h"

namespace bk {
namespace {

IniLine::Span SpanOf(std::string_view part, std::string_view whole) {
    return {static_cast<std::uint32_t>(part.data() - whole.data()),
            static_cast<std::uint32_t>(part.size())};
}

}  // namespace

std::size_t IniLineLength(std::string_view text, std::size_t pos) {
    // One pass for both marks: searching the rest of the file for each of them
    // would be quadratic in a file that has only one kind.
    std::size_t end = pos;
    // Eight bytes at a time while none of them is below 14 (CR is 13, LF 10):
    // files are read whole at every lookup, so this loop is their cost.
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    for (std::uint64_t word; end + 8 <= text.size(); end += 8) {
        std::memcpy(&word, text.data() + end, 8);
        if ((word - 14 * kOnes) & ~word & kHighs)
            break;
    }
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    if (end == text.size())
        return end - pos;
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
        ++end;
    return end + 1 - pos;
}

IniLine ParseIniLine(std::string_view text, const CodePage& codePage, bool multiByte) {
    IniLine line;
    // One line: a CR or LF can only be its end.
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n')) --end;
    std::string_view content = TrimIniBlanks(text.substr(0, end), codePage);
    line.contentEnd = static_cast<std::uint32_t>(content.data() + content.size() - text.data());
    if (content.empty())
        return line;

    if (content.front() == '[') {
        // The last "]" that is a character of its own; 0 or npos for none.
        std::size_t close = content.rfind(']');
        if (multiByte) {
            close = 0;
            for (std::size_t i = 1; i < content.size(); i += codePage.CharLength(content, i))
                if (content[i] == ']')
                    close = i;
        }
        if (close != 0 && close != std::string_view::npos) {
            line.kind = IniLine::Kind::Section;
            line.name =
                SpanOf(CutAtNul(TrimIniBlanks(content.substr(1, close - 1), codePage)), text);
            return line;
        }
    }

    line.kind = IniLine::Kind::Key;
    const std::size_t equals = multiByte ? codePage.Find(content, '=') : content.find('=');
    if (equals == std::string_view::npos) {
        line.name = SpanOf(CutAtNul(content), text);
        return line;
    }
    line.hasValue = true;
    line.emptyRawName = equals == 0;
    line.name = SpanOf(CutAtNul(TrimIniBlanks(content.substr(0, equals), codePage)), text);
    std::string_view raw = TrimIniBlanks(content.substr(equals + 1), codePage);
    line.rawValue = SpanOf(raw, text);
    line.value = SpanOf(CutAtNul(raw), text);
    return line;
}

}  // namespace bk
