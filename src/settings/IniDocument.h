#pragma once
// A settings file in memory: the one parser and text model of the settings
// engine. Parsed from the file's bytes (IniEncoding), read as the Windows
// profile functions read (IniLine: what a line says; here the lookups: the
// first section of a name, and in it the first key of a name, win; lines before
// the first header form the section named ""), changed in place, and turned
// back into bytes in which every line that no edit touched is exactly as it was.
// A section's lines are parsed only when something is looked up in it.
//
// Edits:
//   - a value is replaced on its line: the name, the blanks around "=" and the
//     line end stay; a key line without "=" gets one;
//   - a new key goes after the last key line (not a comment) of the first
//     section of that name, or right after its header when it has none;
//   - a new section goes at the end of the file (after a line end, added if the
//     file lacks a final one);
//   - a delete removes the first key line of that name in the first section of
//     that name, line end included.
// New lines end in CR LF. A file with a byte-order mark keeps it and its
// encoding (see IniEncoding).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/CodePage.h"
#include "platform/FunctionRef.h"
#include "settings/IniEncoding.h"
#include "settings/IniLine.h"
#include "settings/SettingsTypes.h"

namespace bk {

class IniDocument {
public:
    // An empty file.
    explicit IniDocument(const CodePage& codePage);
    // The bytes of a settings file; `codePage` is the system code page that a
    // file without a byte-order mark is written in.
    IniDocument(std::string fileBytes, const CodePage& codePage);

    // Reads, pending edits included. They never throw. Requested names are cut
    // at a NUL and trimmed (RequestedName).
    //
    // The stored value of a key (trimmed, cut at a NUL, quotes still on), or
    // nothing when the section or key is missing or the key has no "=". A
    // string read gives it Unquote'd, an integer read IntegerFromValue.
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;
    // The entries of a section read: its key lines that have a value, in file
    // order, comment lines (";") left out, values Unquote'd. As the profile
    // functions do, a line with nothing before its "=" is dropped when the key
    // line before has an empty name too. `read` is what a string read of the
    // key gives (none: its first line has no "="). All are valid during the call.
    using EntryVisit = FunctionRef<void(std::string_view key, std::string_view value,
                                        std::optional<std::string_view> read)>;
    void ForEachEntry(std::string_view section, EntryVisit visit) const;
    std::vector<IniEntry> ReadSection(std::string_view section) const;

    // Edits. Section and key names are trimmed first, as lookups trim them. They
    // throw SettingsError, changing nothing, for what can't be stored so that it
    // reads back as written: a CR, LF or NUL anywhere; an empty key; "=" in a
    // key; a key starting with "[" on a line holding a "]"; a name or value that
    // ends in half a double-byte character; in a file with a byte-order mark,
    // text that is not UTF-8; in a file without one, anything that would put
    // a byte-order mark at the start of the file (a key of the lines before the
    // first section whose name starts with one, or the delete of the line in
    // front of such a key), since the file would then read as Unicode. Each
    // returns true when the text changed.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    // What WriteString refuses, without the write: throws SettingsError unless
    // the names (untrimmed) and the value can be stored.
    void CheckStorable(std::string_view sectionName, std::string_view keyName,
                       std::optional<std::string_view> value) const;

    // The file's bytes.
    std::string Serialize() const;
    // False for a file without a byte-order mark, whose text is the system
    // code page's; otherwise the text that reads give and edits take is UTF-8.
    bool IsUnicode() const { return encoding_ != IniEncoding::Ansi; }

private:
    struct Line {
        std::uint32_t offset = 0, size = 0;
        bool edited = false;  // its text is in edits_, not in text_
        bool deleted = false;
    };
    // Lines are named by their index in lines_, which never changes: an insert
    // moves only the entries of a section's `order`, never what refers to a line.
    using LineId = std::uint32_t;
    struct Section {
        std::string folded;  // codePage.Fold of its name
        bool hasHeader = false;
        Line header;
        std::vector<LineId> order;  // its lines in file order, deleted ones included
        // Made on the first edit in the section (Indexed): a file that is only
        // read is searched line by line, without parsing the key lines of
        // sections nobody asks for, nor keeping anything per key:
        bool indexed = false;
        // position in `order` of the last key line that is not a comment;
        std::size_t lastKey = kNone;
        // folded key name -> the live key lines of that name, in file order.
        std::unordered_map<std::string, std::vector<LineId>> keys;
    };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::string_view TextOf(const Line& line) const;
    IniLine Parse(const Line& line) const {
        return ParseIniLine(TextOf(line), codePage_, multiByte_);
    }
    Line Store(std::string_view text);
    LineId AddLine(const Line& line);
    const Section* FindSection(std::string_view wanted) const;
    // The section with its key index made: what edits work with.
    Section& Indexed(Section& section);
    const Line* FindKeyLine(const Section& section, std::string_view wanted) const;
    // What FindValue gives for that key line (none for no line).
    std::optional<std::string_view> StoredValue(const Line* line) const;
    void EnsureLineEnd(Line& line);
    Line* LastLiveLine();
    const Line* FirstLiveLine() const;

    IniEncoding encoding_ = IniEncoding::Ansi;
    std::string oddByte_;
    std::string text_;   // the file's text as read
    std::string edits_;  // text of edited and new lines
    CodePage codePage_;
    bool multiByte_ = false;
    std::vector<Line> lines_;  // every line but the section headers
    // sections_[0]: the lines before the first header.
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> firstSection_;  // folded name -> index
};

// What an integer read returns: the default for no value or an empty string
// value, otherwise ParseIniInteger of the string value, however long.
int IntegerFromValue(std::optional<std::string_view> stored, int defaultValue);

}  // namespace bk
