#pragma once
// The settings engine: an INI file read as the Windows profile functions read
// it (IniDocument has the rules; there are no length limits), and written so
// that nothing it does not touch changes.
//
// Reads read the file as it is at that moment and never throw: a missing or
// unreadable file, section or key gives the caller's default.
//
// Writes go through an IniBatch, which replaces the whole file atomically
// through the platform when it is committed: the writes that belong together
// land as one rewrite or not at all, and a failure throws SettingsError and
// leaves the file byte for byte as it was.
//
// Names and values that reads return and writes take are text of the system
// code page, whatever the file's encoding. A file with a byte-order mark keeps
// its encoding (IniEncoding) and is converted as the profile functions convert
// it, so a character the code page lacks reads as "?"; such text is kept
// through a write that gives back what a read showed (IniBatch::WriteString).

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

    // ParseIniInteger of the value, read whole ("12abc" reads 12, "abc" 0); a
    // missing key, a key without "=" or an empty value gives `defaultValue`.
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

    // The settings file's path.
    const std::string& Path() const { return path_; }

    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The entries of the first section of that name that have a value, in file
    // order; comment lines (";") and lines without "=" are left out.
    std::vector<IniEntry> ReadSection(std::string_view section) const;
    // ReadSection's entries, each as a read of its key gives it (a repeated key
    // gives its first line's value, empty when that has no "="), with that
    // line's stored text.
    std::vector<LoadedValue> ReadSectionValues(std::string_view section) const;
    // ReadSection's keys with what a read of each gives (none: the first line
    // of that name has no "="). Both are valid during the call.
    void ForEachKey(
        std::string_view section,
        FunctionRef<void(std::string_view key, std::optional<std::string_view> value)> visit) const;

protected:
    // The caller's text (the system code page) as the file's text, and back:
    // the same bytes for a file without a byte-order mark, UTF-8 for one with.
    std::string In(std::string_view text) const;
    std::string Out(std::string_view stored) const;

    Platform& platform_;
    std::string path_;
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

    // Throw SettingsError, the batch unchanged, for what IniDocument::WriteString
    // refuses (a line break or NUL, an empty key, "=" in a key, ...).
    //
    // In a file with a byte-order mark, what the user did not change is written
    // back as the file held it: a value that reads back (quotes removed) as a
    // read of its key shows keeps that key's stored text; one given with
    // `loaded` that reads back as loaded.text gets loaded.stored (a list line
    // that moved; text that is not well-formed Unicode stays only on its own
    // key). Other values are converted from the system code page. A file
    // without a byte-order mark stores exactly what it is given.
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
