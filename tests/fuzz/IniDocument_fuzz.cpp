// Fuzz target: the settings document (IniDocument), the one parser and text
// model behind every read and write of the settings file.
//
// Input: a byte choosing the system code page (FuzzInput.h), two bytes of file
// length (little-endian), the file's bytes, then edits until the input ends:
// an operation byte, a section name, a key name and, for a write, a value. A
// name is one of the names in the file (perhaps in other letter case) or a
// short text of a small alphabet, so that edits meet each other and the file.
//
// Properties:
//   - any bytes parse, and a document that no edit changed gives them back;
//   - an edit refused with SettingsError changes nothing; an edit returns true
//     exactly when the text changed;
//   - after a write, a string read of that key gives what a read of the written
//     value gives (trimmed, one pair of enclosing quotes removed) until the key
//     is written again or deleted; after a delete that found nothing the key
//     has no value; a section read lists it (unless it is a comment);
//   - the saved bytes, parsed again, read as the document in memory does, and
//     each section entry's read value is what a read of its key gives;
//   - every line that no edit could touch is still there, byte for byte, in order;
//   - the file keeps its encoding (its byte-order mark, and a UTF-16 file's odd byte).

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "FuzzInput.h"
#include "settings/CommaText.h"
#include "settings/IniDocument.h"
#include "settings/IniText.h"

namespace bk::fuzz {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kNameAlphabet =
    "aAbB =[];\"'\t\x1a\xa0\x81\xe9\xc9\xef\xbb\xbf\xff\xfe\0\r\n"sv;
constexpr std::string_view kValueAlphabet = "xX =[];\"'\t\x1a\xa0\x81\0\r\n"sv;
// Names checked at the end: those of the file (the first kFileNames of each
// kind) and of the edits, kCheckedNames at most.
constexpr std::size_t kMaxEdits = 64, kFileNames = 8, kCheckedNames = 16;

struct FileLine {
    std::string text;  // line end included
    bool isKey = false;
    std::pair<std::string, std::string> name;  // folded section and (key lines) key
};

struct Written {
    std::string section, key;  // as the write spelled them
    std::string expected;      // what a string read gives
};

// A string read's view of a stored value: one pair of enclosing quotes off.
std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::vector<FileLine> LinesOf(std::string_view text, const CodePage& codePage,
                              std::vector<std::string>& sections, std::vector<std::string>& keys) {
    std::vector<FileLine> lines;
    std::string section;
    for (std::size_t pos = 0; pos < text.size();) {
        std::string_view lineText = text.substr(pos, IniLineLength(text, pos));
        pos += lineText.size();
        IniLine parsed = ParseIniLine(lineText, codePage, HasLeadBytes(codePage));
        std::string_view name = parsed.name.In(lineText);
        FileLine& line = lines.emplace_back();
        line.text = lineText;
        if (parsed.kind == IniLine::Kind::Section) {
            section = codePage.Fold(name);
            if (sections.size() < kFileNames)
                sections.emplace_back(name);
        } else if (parsed.kind == IniLine::Kind::Key) {
            line.isKey = true;
            line.name.second = codePage.Fold(name);
            if (keys.size() < kFileNames)
                keys.emplace_back(name);
        }
        line.name.first = section;
    }
    return lines;
}

std::string Name(FuzzInput& in, const std::vector<std::string>& inFile) {
    std::uint8_t pick = in.Byte();
    if (pick < 0x80 || inFile.empty())
        return in.Text(kNameAlphabet, 4);
    std::string name = inFile[pick % inFile.size()];
    if (pick & 0x40)
        for (char& c : name)
            if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')
                c ^= 0x20;
    return name;
}

void AddName(std::vector<std::string>& names, const std::string& name) {
    if (names.size() < kCheckedNames && std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

}  // namespace
}  // namespace bk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bk;
    using namespace bk::fuzz;
    FuzzInput in(data, size);
    const CodePage& system = SystemCodePage(in.Byte());
    std::size_t fileSize = in.Byte();
    fileSize |= static_cast<std::size_t>(in.Byte()) << 8;
    const std::string file = in.Bytes(fileSize);

    std::optional<IniDocument> parsed;
    try {
        parsed.emplace(file, system);
    } catch (...) {
        Fail("any bytes parse");
    }
    IniDocument& document = *parsed;
    Require(document.Serialize() == file, "an unedited document gives its bytes back");

    const IniFileText original = DecodeIniFile(file);
    const CodePage& codePage =
        original.encoding == IniEncoding::Ansi ? system : UnicodeFileCodePage();
    std::vector<std::string> sections{""}, keys;
    const std::vector<FileLine> lines = LinesOf(original.text, codePage, sections, keys);
    const std::vector<std::string> fileSections = sections, fileKeys = keys;

    std::map<std::pair<std::string, std::string>, Written> written;
    std::set<std::pair<std::string, std::string>> touched;
    for (std::size_t edit = 0; edit < kMaxEdits && !in.Empty(); ++edit) {
        const bool isWrite = in.Byte() % 3 != 2;
        const std::string section = Name(in, fileSections), key = Name(in, fileKeys);
        const std::string value = isWrite ? in.Text(kValueAlphabet, 12) : "";
        AddName(sections, section);
        AddName(keys, key);
        const std::pair name{codePage.Fold(RequestedName(section, codePage)),
                             codePage.Fold(RequestedName(key, codePage))};

        const std::string before = document.Serialize();
        bool changed = false;
        try {
            changed = isWrite ? document.WriteString(section, key, value)
                              : document.DeleteKey(section, key);
        } catch (const SettingsError&) {
            Require(document.Serialize() == before, "a refused edit changes nothing");
            continue;
        }
        Require(changed == (document.Serialize() != before),
                "an edit returns true exactly when the text changed");
        if (changed)
            touched.insert(name);
        if (isWrite) {
            written[name] = {section, key, std::string(Unquoted(TrimIniBlanks(value, codePage)))};
        } else {
            written.erase(name);
            if (!changed)
                Require(!document.FindValue(section, key), "a delete that found nothing: no value");
        }
        for (const auto& [_, w] : written)
            Require(document.FindValue(w.section, w.key) &&
                        Unquote(document.FindValue(w.section, w.key).value_or("")) == w.expected,
                    "a read gives what was written");
    }

    for (const auto& [_, w] : written) {
        const std::string_view key = RequestedName(w.key, codePage);
        if (key.front() == ';')
            continue;  // a comment to a section read
        const std::vector<IniEntry> entries = document.ReadSection(w.section);
        auto first = std::find_if(entries.begin(), entries.end(), [&](const IniEntry& entry) {
            return codePage.EqualNoCase(entry.key, key);
        });
        Require(first != entries.end() && first->value == w.expected,
                "a section read lists what was written");
    }

    const std::string bytes = document.Serialize();
    const IniFileText saved = DecodeIniFile(bytes);
    Require(saved.encoding == original.encoding && saved.oddByte == original.oddByte,
            "the file keeps its encoding");
    if (touched.empty())
        Require(bytes == file, "edits that changed nothing leave the bytes as they were");

    std::size_t at = 0;
    for (const FileLine& line : lines) {
        if (line.isKey && touched.count(line.name))
            continue;
        at = saved.text.find(line.text, at);
        Require(at != std::string::npos, "a line that no edit touched keeps its bytes and place");
        at += line.text.size();
    }

    const IniDocument reparsed(bytes, system);
    for (const std::string& section : sections) {
        const std::vector<IniEntry> entries = document.ReadSection(section);
        Require(reparsed.ReadSection(section) == entries, "a re-parse lists a section alike");
        auto check = [&](std::string_view key, std::string_view,
                         std::optional<std::string_view> read) {
            if (RequestedName(key, codePage) != key)
                return;  // blanks before a NUL end the name: no read asks for it
            const auto value = reparsed.FindValue(section, key);
            Require((value ? std::optional(Unquoted(*value)) : std::nullopt) == read,
                    "an entry's read value is what a read of its key gives");
        };
        reparsed.ForEachEntry(section, check);
        for (const std::string& key : keys)
            Require(reparsed.FindValue(section, key) == document.FindValue(section, key),
                    "a re-parse reads a key alike");
    }
    return 0;
}
