#pragma once
// Small helpers shared by the conformance tests.

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "PlatformUnderTest.h"
#include "support/TempDir.h"

namespace bk::test {

// A path inside `dir` written the Windows way, with "\" before the name.
inline std::string WinPath(const TempDir& dir, std::string_view name) {
    return dir.Path() + "\\" + std::string(name);
}

// The names in a directory, sorted, as the file system (not the backend) sees them.
inline std::vector<std::string> Entries(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Creates a directory (and those above it) inside `dir`; "\" separates.
inline void MakeDirectory(const TempDir& dir, std::string_view name) {
    std::string relative(name);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    std::filesystem::create_directories(std::filesystem::path(dir.Path()) / relative);
}

// Makes a file read-only for the life of the object; the temporary directory
// can only be removed once it is writable again.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::string path) : path_(std::move(path)) { SetReadOnly(path_, true); }
    ~ReadOnlyFile() { SetReadOnly(path_, false); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

private:
    std::string path_;
};

}  // namespace bk::test
