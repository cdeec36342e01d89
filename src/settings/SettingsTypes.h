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

// A value as a read gave it, with the file's own text of it (`stored`, which
// means something only to the engine): a write of the same text puts the
// file's text back, wherever it is written (IniBatch::WriteString).
struct LoadedValue {
    std::string text;
    std::string stored;
};

}  // namespace bk
