#include "platform/portable/WindowsPath.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace bk::portable {
namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The first entry of `directory` whose name equals `name` ignoring case, or "".
std::string FindNoCase(const std::string& directory, std::string_view name,
                       const CodePage& codePage) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), &::closedir);
    if (!dir)
        return {};
    while (const dirent* entry = ::readdir(dir.get()))
        if (codePage.EqualNoCase(entry->d_name, name))
            return entry->d_name;
    return {};
}

// The path with every separator written as "/".
std::string ToPosixSeparators(std::string_view path, const CodePage& codePage) {
    std::string result(path);
    for (std::size_t i = 0, n; (n = codePage.CharLength(path, i)) != 0; i += n)
        if (n == 1 && path[i] == '\\')
            result[i] = '/';
    return result;
}

}  // namespace

std::string Resolve(std::string_view path, const CodePage& codePage) {
    std::string posix = ToPosixSeparators(path, codePage);
    if (posix.empty() || Exists(posix))
        return posix;

    std::string result = posix.front() == '/' ? "/" : "";
    bool found = true;  // every component so far exists
    std::size_t pos = 0;
    while (pos < posix.size()) {
        std::size_t end = std::min(posix.find('/', pos), posix.size());
        std::string_view component = std::string_view(posix).substr(pos, end - pos);
        pos = end + 1;
        if (component.empty())
            continue;
        if (!result.empty() && result.back() != '/')
            result += '/';
        std::string candidate = result + std::string(component);
        if (found && !Exists(candidate) && component != "." && component != "..") {
            std::string match = FindNoCase(result.empty() ? "." : result, component, codePage);
            found = !match.empty();
            if (found)
                candidate = result + match;
        }
        result = std::move(candidate);
    }
    if (posix.back() == '/' && !result.empty() && result.back() != '/')
        result += '/';
    return result;
}

}  // namespace bk::portable
