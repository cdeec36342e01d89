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
// showed (see IniBatch::WriteString), so callers never see the file's own text.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FunctionRef.h"
#include "platform/Platform.h"
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
    // Every key line of the section in file order (comment lines left out),
    // with the string a read of it gives: none for a line without "=". Both
    // are valid during the call.
    void ForEachKey(
        std::string_view section,
        FunctionRef<void(std::string_view key, std::optional<std::string_view> value)> visit) const;

private:
    Platform& platform_;
    std::string text_;  // in the file's own encoding (see IniEncoding)
    bool unicode_ = false;
};

// A group of writes that lands as one rewrite or not at all. The file is read
// when the batch is made; reads through the batch see its pending writes.
// Nothing reaches the disk before Commit().
class IniBatch {
public:
    explicit IniBatch(const IniFile& file);
    ~IniBatch();
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;

    // As IniFile's reads, on the file as read when the batch was made.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The entries of the first section of that name that have a value, in file
    // order; comment lines (";") and lines without "=" are left out.
    std::vector<IniEntry> ReadSection(std::string_view section) const;
    // The values of ReadSection's entries, each as a read of its key gives it:
    // an entry whose key came before in the section (names compared as the
    // file's reads compare them) gives that first appearance's value.
    std::vector<std::string> ReadSectionValues(std::string_view section) const;

    // Throw SettingsError for a name or value that can't be stored as one line
    // (a CR, LF or NUL anywhere; "=" in a key; an empty key; more in
    // IniDocument::WriteString). The batch is unchanged then.
    //
    // A value that reads back (enclosing quotes removed) as one of the
    // section's stored values reads, where that stored text holds what the
    // system code page can't carry, keeps that stored text: the key's own
    // value first, else the first such value of the section in file order not
    // yet kept by another write (a value that is not well-formed Unicode only
    // for its own key). So text that went through the system code page
    // unchanged, even onto another key, loses nothing, and nothing the file
    // held makes a write fail. A file without a byte-order mark stores exactly
    // what it is given.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void DeleteKey(std::string_view section, std::string_view key);

    // Why the file could not be read when the batch was made (the reason a
    // Commit would refuse); empty when it could be, or was missing.
    const std::string& LoadError() const;

    // Writes everything at once. Throws SettingsError (the file unchanged) when
    // the file could not be read when the batch was made, or can't be replaced.
    // A batch with no changes writes nothing.
    void Commit();

private:
    struct State;
    struct KeptValues;
    // The caller's text as stored text, and back.
    std::string In(std::string_view text) const;
    std::string Out(std::string_view stored) const;
    KeptValues& KeptIn(const std::string& storedSection);
    template <typename Change>
    void Edit(Change change);  // `change` edits the document; true when the text changed

    const IniFile& file_;
    std::unique_ptr<State> state_;
};

}  // namespace bk
