#pragma once
// Single writes to a settings file, each its own committed batch. The plug-in
// always writes through an IniBatch; tests often want just one key.

#include <string_view>

#include "settings/IniFile.h"

namespace bk::test {

inline void WriteString(const IniFile& file, std::string_view section, std::string_view key,
                        std::string_view value) {
    IniBatch batch(file);
    batch.WriteString(section, key, value);
    batch.Commit();
}

inline void WriteInteger(const IniFile& file, std::string_view section, std::string_view key,
                         int value) {
    IniBatch batch(file);
    batch.WriteInteger(section, key, value);
    batch.Commit();
}

inline void DeleteKey(const IniFile& file, std::string_view section, std::string_view key) {
    IniBatch batch(file);
    batch.DeleteKey(section, key);
    batch.Commit();
}

}  // namespace bk::test
