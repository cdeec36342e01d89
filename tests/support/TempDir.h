#pragma once
// A fresh directory under the system's temporary folder, removed with all its
// content when the object goes. Paths use the native separator, so the same
// test runs natively and under Wine.

#include <string>
#include <string_view>

namespace bk::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory, without a trailing separator.
    const std::string& Path() const { return path_; }
    // The directory followed by a separator and `name`.
    std::string Join(std::string_view name) const;
    // Writes `content` to `name` inside the directory (creating sub-directories) and returns its
    // path.
    std::string Write(std::string_view name, std::string_view content) const;
    // The content of a file, or "<missing>" when it can't be read.
    static std::string Read(const std::string& path);

private:
    std::string path_;
};

// The separator of native paths: "\" on Windows, "/" elsewhere.
char PathSeparator();

}  // namespace bk::test
