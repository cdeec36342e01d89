#pragma once
// The settings engine: an INI file read as the Windows profile functions read
// it, and written so that nothing it does not touch changes.
//
// Reads (IniFile::Read*) read the file as it is at that moment and never throw:
// a missing or unreadable file, section or key gives the caller's default.
// Section and key names compare without regard to letter case (in the system
// code page), surrounding blanks are trimmed, the first matching section and the
// first matching key in it win, and one pair of enclosing quotes is removed
// from a string value. There are no length limits.
//
// Writes go through an IniBatch, which replaces the whole file atomically
// through the platform (new content in a temporary file beside it, then a
// rename over it) when it is committed: the writes that belong together land
// as one rewrite or not at all, and a failure throws SettingsError and leaves
// the file byte for byte as it was. Every line that a write does not touch
// stays byte for byte (IniDocument).
//
// Names and values that reads return and writes take are text of the system
// code page, whatever the file's encoding. A file that starts with a UTF-8 or
// UTF-16 byte-order mark keeps its encoding (IniEncoding): what it stores is
// converted as the system's profile functions convert it, so a character the
// code page lacks reads as its stand-in ("?"). What such a file holds and the
// code page can't show is kept through a write that gives back what a read
// showed, known by where it was read (IniBatch::WriteString), so callers never
// see the file's own text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FunctionRef.h"
#include "platform/Platform.h"
#include "settings/IniDocument.h"
#include "settings/SettingsTypes.h"

namespace bk {

class IniFile {
public:
    IniFile(Platform& platform, std::string path) : platform_(platform), path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    Platform& GetPlatform() const { return platform_; }

    // An optional sign and decimal digits (arithmetic modulo 2^32, as Windows
    // does), after any blanks or control characters; the digits end at the first
    // other character ("12abc" reads 12, "abc" reads 0). A missing key, a key
    // without "=", or an empty value gives `defaultValue`. The value is read
    // whole, however long (the Windows functions look at 29 characters only).
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

private:
    Platform& platform_;
    std::string path_;
};

// The file as it is at one moment, for several reads of it without reading it
// again: IniFile's reads (each of them is one snapshot), and a read of a whole
// section. A file that can't be read reads as an empty one.
class IniSnapshot {
public:
    explicit IniSnapshot(const IniFile& file);

    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The entries of the first section of that name that have a value, in file
    // order; comment lines (";") and lines without "=" are left out.
    std::vector<IniEntry> ReadSection(std::string_view section) const;
    // ReadSection's entries, each as a read of its key gives it: an entry whose
    // key came before in the section gives that first line's value (empty when
    // it has no "="), and carries that line's stored text.
    std::vector<LoadedValue> ReadSectionValues(std::string_view section) const;
    // ReadSection's entries with what a read of each one's key gives, as
    // ReadSectionValues has it (none: the first line of that name has no "=").
    // Both are valid during the call.
    void ForEachKey(
        std::string_view section,
        FunctionRef<void(std::string_view key, std::optional<std::string_view> value)> visit) const;

protected:
    IniSnapshot(Platform& platform, const std::string& path);
    // The caller's text (the system code page) as the file's text, and back:
    // the same bytes for a file without a byte-order mark, UTF-8 for one with.
    std::string In(std::string_view text) const;
    std::string Out(std::string_view stored) const;

    Platform& platform_;
    IniDocument document_;
    std::string loadError_;  // why the file could not be read; empty when it could, or was missing
};

// A group of writes that lands as one rewrite or not at all. The file is read
// when the batch is made; reads through the batch see its pending writes.
// Nothing reaches the disk before Commit().
class IniBatch : public IniSnapshot {
public:
    explicit IniBatch(const IniFile& file);
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;

    // Throw SettingsError for a name or value that can't be stored as one line
    // (a CR, LF or NUL anywhere; "=" in a key; an empty key; more in
    // IniDocument::WriteString). The batch is unchanged then.
    //
    // In a file with a byte-order mark, what the user did not change is written
    // back as the file held it, known by where it was read: a value that reads
    // back (enclosing quotes removed) as what a read of the same key shows
    // keeps that key's stored text, and one given with `loaded` that reads back
    // as loaded.text gets loaded.stored (a list line that moved to another key;
    // text that is not well-formed Unicode only stays on its own key). Only
    // other values are converted from the system code page. A file without a
    // byte-order mark stores exactly what it is given.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteString(std::string_view section, std::string_view key, std::string_view value,
                     const LoadedValue& loaded);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void DeleteKey(std::string_view section, std::string_view key);

    // Why the file could not be read when the batch was made (the reason a
    // Commit would refuse); empty when it could be, or was missing.
    const std::string& LoadError() const { return loadError_; }

    // Writes everything at once. Throws SettingsError (the file unchanged) when
    // the file could not be read when the batch was made, or can't be replaced.
    // A batch with no changes writes nothing.
    void Commit();

private:
    void Write(std::string_view section, std::string_view key, std::string_view value,
               const std::string* keep);
    template <typename Change>
    void Edit(Change change);  // `change` edits the document; true when the text changed

    const IniFile& file_;
    bool written_ = false;  // a write or delete was asked for
    bool changed_ = false;  // ... and changed the text
};

}  // namespace bk
