// The file operations of PortablePlatform: Linux files behind Windows paths.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/DeviceName.h"
#include "platform/Wildcard.h"
#include "platform/portable/PortablePlatform.h"
#include "platform/portable/WindowsPath.h"

namespace bk {
namespace {

// Closes a file descriptor when it goes.
class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    UniqueFd(UniqueFd&&) = delete;  // nor copied
    int Get() const { return fd_; }
    // Closes now, reporting the result (a delayed write error shows up here).
    bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

// Up to `limit` bytes of the existing file (not a directory) `resolved`; fewer
// only at its end. Throws FileError naming `path`.
std::string ReadUpTo(const std::string& path, const std::string& resolved, std::uint64_t limit) {
    UniqueFd fd(::open(resolved.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0)
        throw FileError(path, std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        throw FileError(path, std::strerror(EISDIR));
    std::string content;
    content.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(st.st_size, limit)));
    char buffer[65536];
    while (content.size() < limit) {
        ssize_t n = ::read(fd.Get(), buffer,
                           std::min<std::uint64_t>(limit - content.size(), sizeof buffer));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw FileError(path, std::strerror(errno));
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Creates a new, empty file "bkqXXXX.tmp" in `directory` ("" is the current one),
// with the mode a new file gets. Returns its path and descriptor.
std::string CreateTempFile(const std::string& directory, int& fd) {
    static std::atomic<unsigned> counter{0};
    unsigned seed =
        static_cast<unsigned>(::getpid()) * 2654435761u ^
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::string prefix = directory;
    if (!prefix.empty() && prefix.back() != '/')
        prefix += '/';
    for (int attempt = 0;; ++attempt) {
        char name[16];
        std::snprintf(name, sizeof name, "bkq%04X.tmp", (seed + counter++) & 0xFFFF);
        std::string path = prefix + name;
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST || attempt == 1000)
            return path;
    }
}

void SyncDirectory(const std::string& directory) {
    UniqueFd dir(::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

}  // namespace

bool PortablePlatform::FileExists(const std::string& path) {
    struct stat st;
    std::string resolved = portable::Resolve(path, AnsiCodePage());
    return !resolved.empty() && ::stat(resolved.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string PortablePlatform::ReadFile(const std::string& path) {
    return ReadUpTo(path, portable::Resolve(path, AnsiCodePage()), UINT64_MAX);
}

std::string PortablePlatform::ReadFileExactly(const std::string& path, std::uint64_t size) {
    std::string content = ReadUpTo(path, portable::Resolve(path, AnsiCodePage()), size);
    if (content.size() < size)
        throw FileError(path, "the file is shorter than expected");
    return content;
}

// Opened without waiting (a FIFO without a writer would block an open for
// reading); anything but a regular file is refused before it is read.
std::string PortablePlatform::ReadFileUpTo(const std::string& path, std::uint64_t maxSize) {
    if (IsDeviceName(path, AnsiCodePage()))
        throw FileError(path, "the name is not a file");
    std::string resolved = portable::Resolve(path, AnsiCodePage());
    UniqueFd fd(::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st;
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0)
        throw FileError(path, std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        throw FileError(path, "the name is a directory");
    if (!S_ISREG(st.st_mode))
        throw FileError(path, "the name is not a file");
    if (static_cast<std::uint64_t>(st.st_size) > maxSize)
        throw FileTooLargeError(path, "the file is larger than allowed");
    std::string content(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    while (got < content.size()) {
        ssize_t n = ::read(fd.Get(), content.data() + got, content.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw FileError(path, std::strerror(errno));
        if (n == 0)
            break;  // the file was cut short meanwhile
        got += static_cast<std::size_t>(n);
    }
    content.resize(got);
    return content;
}

bool PortablePlatform::DeleteFile(const std::string& path) {
    std::string resolved = portable::Resolve(path, AnsiCodePage());
    struct stat st;
    if (resolved.empty() || ::lstat(resolved.c_str(), &st) != 0)
        return false;
    // Windows deletes neither directories nor read-only files here.
    if (S_ISDIR(st.st_mode) || (st.st_mode & S_IWUSR) == 0)
        return false;
    return ::unlink(resolved.c_str()) == 0;
}

void PortablePlatform::ReplaceFile(const std::string& path, std::string_view content) {
    const CodePage& codePage = AnsiCodePage();
    std::string target = portable::Resolve(path, codePage);
    std::size_t slash = target.rfind('/');
    if (target.empty() || slash + 1 == target.size())
        throw FileError(path, "not a file name");
    std::string directory = slash == std::string::npos ? "" : target.substr(0, slash);
    if (slash == 0)
        directory = "/";

    struct stat st;
    bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        throw FileError(path, "the name is a directory");
    if (exists && (st.st_mode & S_IWUSR) == 0)
        throw FileError(path, "the file is read-only");

    int rawFd = -1;
    std::string temp = CreateTempFile(directory, rawFd);
    if (rawFd < 0)
        throw FileError(path,
                        "can't create a temporary file: " + std::string(std::strerror(errno)));
    UniqueFd fd(rawFd);
    // Each step runs only when the one before succeeded; errno tells why one failed.
    if ((!exists || ::fchmod(fd.Get(), st.st_mode & 07777) == 0) && WriteAll(fd.Get(), content) &&
        ::fsync(fd.Get()) == 0 && fd.Close() && ::rename(temp.c_str(), target.c_str()) == 0) {
        SyncDirectory(directory);
        return;
    }
    std::string reason = std::strerror(errno);
    ::unlink(temp.c_str());
    throw FileError(path, reason);
}

std::vector<FoundFile> PortablePlatform::FindFiles(const std::string& pattern) {
    const CodePage& codePage = AnsiCodePage();
    std::size_t sep = codePage.FindLastSeparator(pattern);
    std::string directory = ".";
    std::string_view namePattern = pattern;
    if (sep != std::string::npos) {
        directory = sep == 0 ? "/" : portable::Resolve(pattern.substr(0, sep), codePage);
        namePattern.remove_prefix(sep + 1);
    }

    std::vector<FoundFile> found;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), &::closedir);
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || !WildcardMatch(namePattern, name, codePage))
            continue;
        std::string full = directory == "/" ? "/" + name : directory + "/" + name;
        struct stat st;
        if (::stat(full.c_str(), &st) != 0 && ::lstat(full.c_str(), &st) != 0)
            continue;
        found.push_back({name, S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size)});
    }
    return found;
}

}  // namespace bk
