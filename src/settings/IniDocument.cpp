#include "settings/IniDocument.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <utility>

#include "settings/CommaText.h"
#include "settings/IniText.h"

namespace bk {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The text after its leading blanks. Only the start of a line tells whether it
// may be a header or hold a wanted key; trimming its end too would cost a pass
// over the end of every line a pick reads.
std::string_view AfterBlanks(std::string_view text, const CodePage& codePage) {
    std::size_t first = 0;
    while (first < text.size() && IsIniBlank(codePage, text[first])) ++first;
    return text.substr(first);
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

}  // namespace

IniDocument::IniDocument(const CodePage& codePage)
    : codePage_(codePage), multiByte_(HasLeadBytes(codePage)) {
    sections_.emplace_back().indexed = true;
    firstSection_.emplace("", 0);
}

IniDocument::IniDocument(std::string fileBytes, const CodePage& codePage) : IniDocument(codePage) {
    IniFileText file = DecodeIniFile(std::move(fileBytes));
    encoding_ = file.encoding;
    oddByte_ = std::move(file.oddByte);
    text_ = std::move(file.text);
    if (text_.size() > std::numeric_limits<std::uint32_t>::max())
        throw SettingsError("the settings file is too large");
    if (encoding_ != IniEncoding::Ansi) {
        codePage_ = UnicodeFileCodePage();
        multiByte_ = false;
    }
    sections_.front().indexed = false;  // it gets the lines before the first header

    for (std::size_t pos = 0; pos < text_.size();) {
        Line line{static_cast<std::uint32_t>(pos),
                  static_cast<std::uint32_t>(IniLineLength(text_, pos))};
        pos += line.size;
        // Only a line starting with "[" may be a header; the other lines are
        // parsed when their section is indexed.
        if (AfterBlanks(TextOf(line), codePage_).starts_with('[')) {
            IniLine parsed = Parse(line);
            if (parsed.kind == IniLine::Kind::Section) {
                Section& section = sections_.emplace_back();
                section.folded = codePage_.Fold(parsed.name.In(TextOf(line)));
                section.hasHeader = true;
                section.header = line;
                firstSection_.emplace(section.folded, sections_.size() - 1);
                continue;
            }
        }
        sections_.back().order.push_back(AddLine(line));
    }
}

IniDocument::Section& IniDocument::Indexed(Section& section) {
    if (!section.indexed) {
        section.indexed = true;
        for (std::size_t at = 0; at < section.order.size(); ++at) {
            const Line& line = lines_[section.order[at]];
            if (line.deleted)
                continue;
            IniLine parsed = Parse(line);
            if (parsed.kind != IniLine::Kind::Key)
                continue;
            section.keys[codePage_.Fold(parsed.name.In(TextOf(line)))].push_back(section.order[at]);
            if (!parsed.IsComment(TextOf(line)))
                section.lastKey = at;
        }
    }
    return section;
}

std::string_view IniDocument::TextOf(const Line& line) const {
    const std::string& store = line.edited ? edits_ : text_;
    return std::string_view(store).substr(line.offset, line.size);
}

IniDocument::Line IniDocument::Store(std::string_view text) {
    if (edits_.size() + text.size() > std::numeric_limits<std::uint32_t>::max())
        throw SettingsError("the settings file is too large");
    Line line{static_cast<std::uint32_t>(edits_.size()), static_cast<std::uint32_t>(text.size()),
              true, false};
    edits_ += text;
    return line;
}

IniDocument::LineId IniDocument::AddLine(const Line& line) {
    lines_.push_back(line);
    return static_cast<LineId>(lines_.size() - 1);
}

const IniDocument::Section* IniDocument::FindSection(std::string_view wanted) const {
    auto it = firstSection_.find(codePage_.Fold(wanted));
    return it == firstSection_.end() ? nullptr : &sections_[it->second];
}

// The first key line of that name is the one every read finds. A section that
// no edit has indexed is searched line by line, as a read of the file does
// once: only a line that starts with the wanted name, letters folded byte by
// byte (which never turns away a match), is parsed.
const IniDocument::Line* IniDocument::FindKeyLine(const Section& section,
                                                  std::string_view wanted) const {
    if (section.indexed) {
        auto it = section.keys.find(codePage_.Fold(wanted));
        return it == section.keys.end() || it->second.empty() ? nullptr
                                                              : &lines_[it->second.front()];
    }
    auto sameLetter = [&](char a, char b) {
        return codePage_.Upper(static_cast<std::uint8_t>(a)) ==
               codePage_.Upper(static_cast<std::uint8_t>(b));
    };
    for (LineId id : section.order) {
        const Line& line = lines_[id];
        if (line.deleted)
            continue;
        std::string_view text = AfterBlanks(TextOf(line), codePage_);
        if (text.size() < wanted.size() ||
            !std::equal(wanted.begin(), wanted.end(), text.begin(), sameLetter))
            continue;
        IniLine parsed = Parse(line);
        if (parsed.kind == IniLine::Kind::Key &&
            codePage_.EqualNoCase(parsed.name.In(TextOf(line)), wanted))
            return &line;
    }
    return nullptr;
}

std::optional<std::string_view> IniDocument::FindValue(std::string_view section,
                                                       std::string_view key) const {
    const Section* found = FindSection(RequestedName(section, codePage_));
    return found ? StoredValue(FindKeyLine(*found, RequestedName(key, codePage_))) : std::nullopt;
}

std::optional<std::string_view> IniDocument::StoredValue(const Line* line) const {
    if (!line)
        return std::nullopt;
    const IniLine parsed = Parse(*line);
    return parsed.hasValue ? std::optional(parsed.value.In(TextOf(*line))) : std::nullopt;
}

void IniDocument::ForEachEntry(std::string_view sectionName, EntryVisit visit) const {
    const Section* section = FindSection(RequestedName(sectionName, codePage_));
    if (!section)
        return;
    // The names met so far, by a hash of their bytes folded one by one (names
    // equal without regard to case hash alike; no allocation per name, as a set
    // of strings would make): an entry whose name may have come before reads
    // what FindKeyLine finds, any other its own value.
    std::vector<std::uint32_t> seen(std::bit_ceil(section->order.size() * 2 + 2));
    auto metBefore = [&](std::string_view name) {
        std::uint32_t hash = 2166136261u;
        for (char c : name)
            hash = (hash ^ codePage_.Upper(static_cast<std::uint8_t>(c))) * 16777619u;
        hash |= 1;  // 0 marks a free slot
        for (std::size_t at = hash & (seen.size() - 1);; at = (at + 1) & (seen.size() - 1)) {
            if (seen[at] == hash)
                return true;
            if (seen[at] == 0) {
                seen[at] = hash;
                return false;
            }
        }
    };
    bool started = false, previousNameEmpty = false;
    for (LineId id : section->order) {
        const Line& line = lines_[id];
        if (line.deleted)
            continue;
        const std::string_view text = TextOf(line);
        const IniLine parsed = Parse(line);
        if (parsed.kind != IniLine::Kind::Key ||
            (parsed.emptyRawName && started && previousNameEmpty))
            continue;
        started = true;
        previousNameEmpty = parsed.name.size == 0;
        const std::string_view name = parsed.name.In(text);
        const bool repeated = metBefore(name);
        if (!parsed.hasValue || parsed.IsComment(text))
            continue;
        const std::optional<std::string_view> read =
            repeated ? StoredValue(FindKeyLine(*section, name)) : parsed.value.In(text);
        visit(name, Unquote(parsed.value.In(text)),
              read ? std::optional(Unquote(*read)) : std::nullopt);
    }
}

std::vector<IniEntry> IniDocument::ReadSection(std::string_view section) const {
    std::vector<IniEntry> entries;
    auto add = [&](std::string_view key, std::string_view value, std::optional<std::string_view>) {
        entries.push_back({std::string(key), std::string(value)});
    };
    ForEachEntry(section, add);
    return entries;
}

void IniDocument::CheckStorable(std::string_view sectionName, std::string_view keyName,
                                std::optional<std::string_view> value) const {
    std::string_view section = TrimIniBlanks(sectionName, codePage_);
    std::string_view key = TrimIniBlanks(keyName, codePage_);
    auto fail = [&](const std::string& why) {
        throw SettingsError("can't store key " + Quoted(key) + " of section " + Quoted(section) +
                            ": " + why);
    };
    auto checkText = [&](std::string_view text, const char* what) {
        if (EndsInHalfCharacter(text, codePage_))
            fail(std::string("the ") + what + " ends in half a double-byte character");
        if (encoding_ != IniEncoding::Ansi && !IsValidUtf8(text))
            fail(std::string("the file is Unicode and the ") + what + " is not UTF-8 text");
    };
    for (std::string_view text : {sectionName, keyName, value.value_or(std::string_view())})
        if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
            fail("a name or the value holds a line break or a NUL");
    checkText(section, "section name");
    checkText(key, "key name");
    if (value)
        checkText(*value, "value");
    if (key.empty())
        fail("the key name is empty");
    if (key.find('=') != std::string_view::npos)
        fail("the key name holds \"=\"");
    if (key.front() == '[' && (key.find(']') != std::string_view::npos ||
                               (value && value->find(']') != std::string_view::npos)))
        fail("the line would read as a section header");
    // A key line there may end up first in the file.
    if (encoding_ == IniEncoding::Ansi && section.empty() && StartsWithByteOrderMark(key))
        fail("the file would read as Unicode");
}

void IniDocument::EnsureLineEnd(Line& line) {
    std::string_view text = TextOf(line);
    if (text.empty() || (text.back() != '\n' && text.back() != '\r'))
        line = Store(std::string(text) + std::string(kLineEnd));
}

IniDocument::Line* IniDocument::LastLiveLine() {
    for (auto s = sections_.rbegin(); s != sections_.rend(); ++s) {
        for (auto id = s->order.rbegin(); id != s->order.rend(); ++id)
            if (!lines_[*id].deleted)
                return &lines_[*id];
        if (s->hasHeader)
            return &s->header;
    }
    return nullptr;
}

const IniDocument::Line* IniDocument::FirstLiveLine() const {
    for (const Section& section : sections_) {
        if (section.hasHeader)
            return &section.header;
        for (LineId id : section.order)
            if (!lines_[id].deleted)
                return &lines_[id];
    }
    return nullptr;
}

bool IniDocument::WriteString(std::string_view sectionName, std::string_view keyName,
                              std::string_view value) {
    // Checked before trimming: a line break is refused wherever it stands.
    CheckStorable(sectionName, keyName, value);
    std::string_view section = TrimIniBlanks(sectionName, codePage_);
    std::string_view key = TrimIniBlanks(keyName, codePage_);

    std::string keyLine = std::string(key) + "=" + std::string(value) + std::string(kLineEnd);
    auto found = firstSection_.find(codePage_.Fold(section));
    if (found == firstSection_.end()) {
        // A new section, empty: the key goes in below as into any section without keys.
        if (Line* last = LastLiveLine())
            EnsureLineEnd(*last);
        Section& added = sections_.emplace_back();
        added.indexed = true;
        added.folded = codePage_.Fold(section);
        added.hasHeader = true;
        added.header = Store("[" + std::string(section) + "]" + std::string(kLineEnd));
        found = firstSection_.emplace(added.folded, sections_.size() - 1).first;
    }

    Section& target = Indexed(sections_[found->second]);
    std::string folded = codePage_.Fold(key);
    auto& matches = target.keys[folded];
    if (!matches.empty()) {
        Line& line = lines_[matches.front()];
        std::string_view text = TextOf(line);
        IniLine parsed = Parse(line);
        std::string replaced;
        if (parsed.hasValue) {
            std::size_t end = parsed.rawValue.begin + parsed.rawValue.size;
            replaced.append(text.substr(0, parsed.rawValue.begin))
                .append(value)
                .append(text.substr(end));
        } else {
            // The "=" goes after the line's text; after the name instead when
            // that text ends in half a character (bytes after a NUL), whose
            // missing trail byte the "=" would otherwise become.
            std::size_t at = parsed.contentEnd;
            if (EndsInHalfCharacter(text.substr(0, at), codePage_))
                at = parsed.name.begin + parsed.name.size;
            replaced.append(text.substr(0, at))
                .append("=")
                .append(value)
                .append(text.substr(parsed.contentEnd));
        }
        if (replaced == text)
            return false;
        line = Store(replaced);
        return true;
    }

    // lastKey is always a live line: a delete of it moves it back.
    std::size_t at = target.lastKey == kNone ? 0 : target.lastKey + 1;
    if (at > 0)
        EnsureLineEnd(lines_[target.order[at - 1]]);
    else if (target.hasHeader)
        EnsureLineEnd(target.header);
    LineId id = AddLine(Store(keyLine));
    target.order.insert(target.order.begin() + static_cast<std::ptrdiff_t>(at), id);
    matches.push_back(id);
    target.lastKey = at;
    return true;
}

bool IniDocument::DeleteKey(std::string_view sectionName, std::string_view keyName) {
    std::string_view section = RequestedName(sectionName, codePage_);
    std::string_view key = RequestedName(keyName, codePage_);
    auto found = firstSection_.find(codePage_.Fold(section));
    if (found == firstSection_.end())
        return false;
    Section& target = Indexed(sections_[found->second]);
    auto it = target.keys.find(codePage_.Fold(key));
    if (it == target.keys.end() || it->second.empty())
        return false;
    LineId id = it->second.front();
    Line& line = lines_[id];
    line.deleted = true;
    // Without the mark the file's first line may not start with one.
    if (encoding_ == IniEncoding::Ansi && found->second == 0) {
        const Line* first = FirstLiveLine();
        if (first && StartsWithByteOrderMark(TextOf(*first))) {
            line.deleted = false;
            throw SettingsError("can't delete key " + Quoted(key) +
                                ": the file would read as Unicode");
        }
    }
    it->second.erase(it->second.begin());
    if (target.lastKey != kNone && target.order[target.lastKey] == id) {
        for (std::size_t i = std::exchange(target.lastKey, kNone); i-- > 0;) {
            const Line& earlier = lines_[target.order[i]];
            if (earlier.deleted)
                continue;
            IniLine parsed = Parse(earlier);
            if (parsed.kind == IniLine::Kind::Key && !parsed.IsComment(TextOf(earlier))) {
                target.lastKey = i;
                break;
            }
        }
    }
    return true;
}

std::string IniDocument::Serialize() const {
    std::string text;
    text.reserve(text_.size() + edits_.size());
    // Unedited lines that follow each other in the file go in as one piece.
    std::size_t runStart = 0, runEnd = 0;
    auto add = [&](const Line& line) {
        if (!line.edited && line.offset == runEnd) {
            runEnd += line.size;
            return;
        }
        text.append(text_, runStart, runEnd - runStart);
        if (line.edited) {
            text += TextOf(line);
            runStart = runEnd = 0;
        } else {
            runStart = line.offset;
            runEnd = line.offset + line.size;
        }
    };
    for (const Section& section : sections_) {
        if (section.hasHeader)
            add(section.header);
        for (LineId id : section.order)
            if (!lines_[id].deleted)
                add(lines_[id]);
    }
    text.append(text_, runStart, runEnd - runStart);
    return EncodeIniFile(encoding_, std::move(text), oddByte_);
}

int IntegerFromValue(std::optional<std::string_view> stored, int defaultValue) {
    const std::string_view text = Unquote(stored.value_or(""));
    return text.empty() ? defaultValue : ParseIniInteger(text);
}

}  // namespace bk
