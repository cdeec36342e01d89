// The file operations of Win32Platform.

#include <algorithm>
#include <limits>

#include "platform/DeviceName.h"
#include "platform/Wildcard.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace bk {
namespace {

[[noreturn]] void ThrowLastError(const std::string& path) {
    throw FileError(path, SystemErrorText(GetLastError()));
}

// Up to `limit` bytes of an existing file, fewer only at its end. The file is
// opened for reading only, letting others read, write and delete it meanwhile;
// a directory can't be opened this way.
std::string ReadUpTo(const std::string& path, std::uint64_t limit) {
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size))
        ThrowLastError(path);
    std::string content;
    std::uint64_t hint = std::min(static_cast<std::uint64_t>(size.QuadPart), limit);
    if (hint > content.max_size())
        throw FileError(path, "the file is too large to read");
    content.reserve(static_cast<std::size_t>(hint));
    char buffer[65536];
    while (content.size() < limit) {
        std::uint64_t want = std::min<std::uint64_t>(limit - content.size(), sizeof buffer);
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer, static_cast<DWORD>(want), &got, nullptr))
            ThrowLastError(path);
        if (got == 0)
            break;
        if (content.size() + got > content.max_size())
            throw FileError(path, "the file is too large to read");
        content.append(buffer, got);
    }
    return content;
}

// A temporary file that is deleted when it goes, unless Keep() was called.
class TempFile {
public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    ~TempFile() {
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

// Puts the file `replacement` in the place of the existing file `path`. False
// when `path` turns out to be free (the file was deleted meanwhile, or the
// system moved it away and then failed), so that a rename can take its place;
// any other failure throws FileError.
bool ReplaceExisting(const std::string& path, const std::string& replacement) {
    // Wine's ReplaceFileA leaves a file "rf*.tmp" of its own behind when another
    // program holds the file without delete sharing; asking for delete access
    // first fails the same way without it.
    UniqueFileHandle probe(CreateFileA(path.c_str(), DELETE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD error = GetLastError();
    if (probe) {
        probe.Reset();
        if (::ReplaceFileA(path.c_str(), replacement.c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return true;
        error = GetLastError();
    }
    // Without a backup file these two mean that the old file is gone or under
    // another name, and the new one still under its own.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
        error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        return false;
    throw FileError(path, SystemErrorText(error));
}

}  // namespace

bool Win32Platform::FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32Platform::ReadFile(const std::string& path) {
    return ReadUpTo(path, std::numeric_limits<std::uint64_t>::max());
}

std::string Win32Platform::ReadFileExactly(const std::string& path, std::uint64_t size) {
    std::string content = ReadUpTo(path, size);
    if (content.size() < size)
        throw FileError(path, "the file is shorter than expected");
    return content;
}

// A device name is refused before CreateFileA could open the device (a printer
// port or a console may wait); anything else that is no file on a disk (a
// pipe) is refused once open, before ReadFile could wait on it.
std::string Win32Platform::ReadFileUpTo(const std::string& path, std::uint64_t maxSize) {
    static constexpr const char* kNotAFile = "the name is not a file";
    if (IsDeviceName(path, AnsiCodePage()))
        throw FileError(path, kNotAFile);
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        // A directory can't be opened so; the system says only "access denied".
        DWORD error = GetLastError();
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            throw FileError(path, "the name is a directory");
        throw FileError(path, SystemErrorText(error));
    }
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        throw FileError(path, kNotAFile);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size))
        ThrowLastError(path);
    const auto bytes = static_cast<std::uint64_t>(size.QuadPart);
    if (bytes > maxSize)
        throw FileTooLargeError(path, "the file is larger than allowed");
    if (bytes > std::numeric_limits<DWORD>::max() / 2)
        throw FileError(path, "the file is too large to read");
    std::string content(static_cast<std::size_t>(bytes), '\0');
    DWORD got = 0;
    if (bytes != 0 &&
        !::ReadFile(file.Get(), content.data(), static_cast<DWORD>(bytes), &got, nullptr))
        ThrowLastError(path);
    content.resize(got);  // shorter only when the file was cut short meanwhile
    return content;
}

bool Win32Platform::DeleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

// An existing file is replaced by ReplaceFileA, which keeps its access control,
// creation time and streams, so that a settings file the user protected stays
// protected. Its attributes are given to the new file first: Wine's ReplaceFileA
// does not carry them over (a hidden file would come out visible). A file that
// does not exist, or no longer exists when the replace comes, is created by
// renaming the new file into place.
//
// Under Wine the replace is not atomic: the old file is deleted before the new
// one is renamed to its name.
void Win32Platform::ReplaceFile(const std::string& path, std::string_view content) {
    // Checked here rather than left to the system: under Wine, running as root,
    // the read-only attribute would not stop the replace.
    DWORD attributes = GetFileAttributesA(path.c_str());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError(path, "the name is a directory");
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        throw FileError(path, "the file is read-only");

    std::size_t separator = AnsiCodePage().FindLastSeparator(path);
    std::string directory = separator == std::string::npos ? "." : path.substr(0, separator + 1);
    char tempName[MAX_PATH];
    if (!GetTempFileNameA(directory.c_str(), "bkq", 0, tempName))
        throw FileError(path, "can't create a temporary file: " + SystemErrorText(GetLastError()));
    TempFile temp(tempName);

    {
        UniqueFileHandle file(CreateFileA(temp.Path().c_str(), GENERIC_WRITE, 0, nullptr,
                                          TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            ThrowLastError(path);
        std::string_view rest = content;
        while (!rest.empty()) {
            DWORD chunk = rest.size() < (1u << 30) ? static_cast<DWORD>(rest.size()) : (1u << 30);
            DWORD written = 0;
            if (!WriteFile(file.Get(), rest.data(), chunk, &written, nullptr) || written == 0)
                ThrowLastError(path);
            rest.remove_prefix(written);
        }
        if (!FlushFileBuffers(file.Get()))
            ThrowLastError(path);
        // Closed before the move: an open file can't take the target's place.
    }
    if (exists) {
        const DWORD kept =
            attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        if (!SetFileAttributesA(temp.Path().c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL))
            ThrowLastError(path);
        if (ReplaceExisting(path, temp.Path())) {
            temp.Keep();
            return;
        }
    }
    if (!MoveFileExA(temp.Path().c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowLastError(path);
    temp.Keep();
}

// Each entry the system finds is checked again against its long name (Wildcard.h).
std::vector<FoundFile> Win32Platform::FindFiles(const std::string& pattern) {
    const CodePage& codePage = AnsiCodePage();
    std::size_t separator = codePage.FindLastSeparator(pattern);
    std::string_view namePattern = pattern;
    if (separator != std::string::npos)
        namePattern.remove_prefix(separator + 1);

    std::vector<FoundFile> found;
    WIN32_FIND_DATAA data;
    UniqueFindHandle search(FindFirstFileA(pattern.c_str(), &data));
    if (!search)
        return found;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == ".." || !WildcardMatch(namePattern, name, codePage))
            continue;
        std::uint64_t size =
            (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        found.push_back({std::move(name), size});
    } while (FindNextFileA(search.Get(), &data));
    return found;
}

}  // namespace bk
