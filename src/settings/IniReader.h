#pragma once
// Reads straight from the text of a settings file, in one pass and without
// building anything per line: what IniFile's reads use, so that a read of a
// large file costs one scan and no more memory than the file.
//
// The rules are those of IniLine plus the lookup: requested names are cut at
// a NUL and trimmed; only the first section of the requested name is searched
// (lines before the first header form the section named ""), and in it the
// first key of that name.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "platform/FunctionRef.h"
#include "settings/IniLine.h"
#include "settings/SettingsTypes.h"

namespace bk {

class IniReader {
public:
    IniReader(std::string_view text, const CodePage& codePage);

    // The stored value of a key (trimmed, cut at a NUL, quotes still on), or
    // nothing when the section or key is missing or the key has no "=".
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;
    // Every key line of the section in file order, comment lines left out: its
    // name and stored value as FindValue gives it (none without "=").
    void ForEachKey(std::string_view section,
                    FunctionRef<void(std::string_view name, std::optional<std::string_view> value)>
                        visit) const;

private:
    bool StartsWithFolded(std::string_view text, std::string_view prefix) const;

    std::string_view text_;
    const CodePage& codePage_;
    bool multiByte_;
};

// Collects the entries of a section read from its key lines, given in file
// order: entries with a value, comment lines (";") left out, values unquoted.
// Like the profile functions, a line with nothing before its "=" is dropped
// when the key line before it in the section also has an empty name.
class SectionLister {
public:
    void Add(std::string_view lineText, const IniLine& line);
    std::vector<IniEntry> Take() { return std::move(entries_); }

private:
    std::vector<IniEntry> entries_;
    bool started_ = false;
    bool previousNameEmpty_ = false;
};

// What a string read returns for a stored value (see FindValue): one pair of
// enclosing quotes removed; the default, unchanged, for no value.
std::string StringFromValue(std::optional<std::string_view> stored, std::string_view defaultValue);

// What an integer read returns: the default for no value or an empty string
// value, otherwise ParseIniInteger of the string value, however long.
int IntegerFromValue(std::optional<std::string_view> stored, int defaultValue);

}  // namespace bk
