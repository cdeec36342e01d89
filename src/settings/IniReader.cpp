#include "settings/IniReader.h"

#include "settings/CommaText.h"
#include "settings/IniText.h"

namespace bk {

IniReader::IniReader(std::string_view text, const CodePage& codePage)
    : text_(text), codePage_(codePage), multiByte_(HasLeadBytes(codePage)) {}

// Byte by byte, each byte folded: names equal under CodePage::EqualNoCase are
// equal this way too, so this never turns away a match.
bool IniReader::StartsWithFolded(std::string_view text, std::string_view prefix) const {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (codePage_.Upper(static_cast<std::uint8_t>(text[i])) !=
            codePage_.Upper(static_cast<std::uint8_t>(prefix[i])))
            return false;
    return true;
}

std::optional<std::string_view> IniReader::FindValue(std::string_view section,
                                                     std::string_view key) const {
    std::string_view wantedSection = RequestedName(section, codePage_);
    std::string_view wantedKey = RequestedName(key, codePage_);
    bool inside = wantedSection.empty();  // the unnamed section comes first of all
    for (std::size_t pos = 0; pos < text_.size();) {
        std::size_t length = IniLineLength(text_, pos);
        std::string_view lineText = text_.substr(pos, length);
        pos += length;
        // Skip cheaply what can't matter: outside the section everything but
        // headers, inside it keys that don't start with the wanted key.
        std::size_t first = 0;
        while (first < lineText.size() && IsIniBlank(codePage_, lineText[first])) ++first;
        if (first == lineText.size())
            continue;
        if (lineText[first] != '[') {
            if (!inside || !StartsWithFolded(lineText.substr(first), wantedKey))
                continue;
        }
        IniLine line = ParseIniLine(lineText, codePage_, multiByte_);
        if (line.kind == IniLine::Kind::Section) {
            if (inside)
                return std::nullopt;
            inside = codePage_.EqualNoCase(line.name.In(lineText), wantedSection);
        } else if (line.kind == IniLine::Kind::Key && inside &&
                   codePage_.EqualNoCase(line.name.In(lineText), wantedKey)) {
            if (!line.hasValue)
                return std::nullopt;
            return line.value.In(lineText);
        }
    }
    return std::nullopt;
}

void IniReader::ForEachKey(
    std::string_view section,
    FunctionRef<void(std::string_view, std::optional<std::string_view>)> visit) const {
    std::string_view wantedSection = RequestedName(section, codePage_);
    bool inside = wantedSection.empty();  // the unnamed section comes first of all
    for (std::size_t pos = 0; pos < text_.size();) {
        std::size_t length = IniLineLength(text_, pos);
        std::string_view lineText = text_.substr(pos, length);
        pos += length;
        IniLine line = ParseIniLine(lineText, codePage_, multiByte_);
        if (line.kind == IniLine::Kind::Section) {
            if (inside)
                return;
            inside = codePage_.EqualNoCase(line.name.In(lineText), wantedSection);
        } else if (line.kind == IniLine::Kind::Key && inside && !line.IsComment(lineText)) {
            visit(line.name.In(lineText),
                  line.hasValue ? std::optional(line.value.In(lineText)) : std::nullopt);
        }
    }
}

void SectionLister::Add(std::string_view lineText, const IniLine& line) {
    if (line.emptyRawName && started_ && previousNameEmpty_)
        return;
    started_ = true;
    previousNameEmpty_ = line.name.size == 0;
    if (!line.hasValue || line.IsComment(lineText))
        return;
    entries_.push_back(
        {std::string(line.name.In(lineText)), std::string(Unquote(line.value.In(lineText)))});
}

std::string StringFromValue(std::optional<std::string_view> stored, std::string_view defaultValue) {
    return std::string(stored ? Unquote(*stored) : defaultValue);
}

int IntegerFromValue(std::optional<std::string_view> stored, int defaultValue) {
    if (!stored)
        return defaultValue;
    std::string_view text = Unquote(*stored);
    return text.empty() ? defaultValue : ParseIniInteger(text);
}

}  // namespace bk
