#include "settings/CommaText.h"

#include "settings/IniText.h"

namespace bk {
namespace {

bool IsSkippable(char c) {
    auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32;
}

}  // namespace

std::vector<std::string> SplitCommaText(std::string_view text, const CodePage& codePage) {
    text = CutAtNul(text);

    std::vector<std::string> items;
    std::size_t p = 0;
    auto skipBlanks = [&] {
        while (p < text.size() && IsSkippable(text[p])) p += codePage.CharLength(text, p);
    };
    skipBlanks();
    while (p < text.size()) {
        std::string item;
        if (text[p] == '"') {
            ++p;
            bool closed = false;
            std::size_t lastLength = 0;  // bytes of the last character added
            while (p < text.size()) {
                std::size_t n = codePage.CharLength(text, p);
                if (n == 1 && text[p] == '"') {
                    closed = p + 1 == text.size() || text[p + 1] != '"';
                    ++p;  // a doubled quote stands for the one after it
                    if (closed)
                        break;
                }
                item.append(text, p, n);
                lastLength = n;
                p += n;
            }
            // Without a closing quote the last character read stands in its
            // place, so it goes: the whole character, not just its last byte.
            if (!closed)
                item.resize(item.size() - lastLength);
        } else {
            std::size_t start = p;
            while (p < text.size() && !IsSkippable(text[p]) && text[p] != ',')
                p += codePage.CharLength(text, p);
            item.assign(text, start, p - start);
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (p < text.size() && text[p] == ',') {
            if (p + 1 == text.size())
                items.emplace_back();
            ++p;
            skipBlanks();
        }
    }
    return items;
}

std::string JoinCommaText(const std::vector<std::string>& items, const CodePage& codePage) {
    std::string out;
    for (const auto& item : items) {
        if (&item != &items.front())
            out += ',';
        out += '"';
        for (std::size_t p = 0; p < item.size();) {
            std::size_t n = codePage.CharLength(item, p);
            if (n == 1 && item[p] == '"')
                out += '"';
            out.append(item, p, n);
            p += n;
        }
        out += '"';
    }
    return out;
}

std::string_view Unquote(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace bk
