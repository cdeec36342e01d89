#pragma once
// The types that the settings engine hands to its callers.

#include <stdexcept>
#include <string>

namespace bk {

// A settings write that could not be done; the file is as it was.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One entry of a section read: the key's name and its value as a string read
// returns it.
struct IniEntry {
    std::string key;
    std::string value;
    bool operator==(const IniEntry&) const = default;
};

// A value as a read gave it, with the file's own text of it. A write of the
// same text puts the file's text back (IniBatch::WriteString), so a value that
// went through a dialog unchanged keeps what the system code page can't show,
// wherever it is written. `stored` means something only to the engine.
struct LoadedValue {
    std::string text;
    std::string stored;
};

}  // namespace bk
