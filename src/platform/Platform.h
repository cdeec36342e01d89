#pragma once
// The narrow seam between the plug-in and Windows. Everything the plug-in asks
// of the operating system goes through one Platform object: the Win32 backend
// in the DLL, a portable stand-in in native tests.
//
// Paths are Windows paths ("\" separates components); file names compare
// without regard to letter case. Texts are bytes of the system's 8-bit code page.
//
// Errors: operations that can fail for reasons outside the plug-in's control
// either say so in their result (FileExists, DeleteFile, FindFiles) or throw
// FileError, whose message names the file and the reason.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"

namespace bk {

// Host-side handles. Opaque to everything but the Win32 backend.
using ModuleHandle = std::uintptr_t;  // numeric, so that "below 32" reads plainly
using ProcAddress = void (*)();       // an exported function, type unknown until cast
using WindowHandle = void*;
using MenuHandle = void*;

// One match of a directory search: the long name (no directory part) and the
// size in bytes.
struct FoundFile {
    std::string name;
    std::uint64_t size = 0;
};

struct UtcTime {
    unsigned hour = 0, minute = 0, second = 0, millisecond = 0;
};

class FileError : public std::runtime_error {
public:
    FileError(const std::string& path, const std::string& reason)
        : std::runtime_error(reason + ": " + path), path_(path) {}
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// A file larger than a read allows (ReadFileUpTo): a FileError of its own, so
// that a caller can tell the user so in its own words.
class FileTooLargeError : public FileError {
public:
    using FileError::FileError;
};

class Platform {
public:
    virtual ~Platform() = default;

    // ---- Modules ----
    // Full file name of the plug-in's own module (not the host's), whole however long.
    virtual std::string ModuleFileName() = 0;
    // Handle of the process's executable module (the host), without a reference.
    virtual ModuleHandle HostModule() = 0;
    // Export of exactly that name, or null.
    virtual ProcAddress FindExport(ModuleHandle module, const char* name) = 0;

    // ---- Files ----
    // True when `path` names an existing file (a directory is not a file).
    virtual bool FileExists(const std::string& path) = 0;
    // The whole content of a file. Throws FileError.
    virtual std::string ReadFile(const std::string& path) = 0;
    // Exactly `size` bytes from the start of a file, opened for reading only.
    // Throws FileError when it can't be opened or holds fewer bytes.
    virtual std::string ReadFileExactly(const std::string& path, std::uint64_t size) = 0;
    // The whole content of a file of at most `maxSize` bytes, read at once,
    // its size checked first. Only a file on a disk is read: a device name
    // (DeviceName.h) or a handle of another kind (a pipe, a console) is refused
    // before anything is read ("the name is not a file"), as is a directory
    // ("the name is a directory"). Throws FileTooLargeError for a larger file,
    // FileError for any other failure.
    virtual std::string ReadFileUpTo(const std::string& path, std::uint64_t maxSize) = 0;
    // Deletes a file; false when it could not be deleted.
    virtual bool DeleteFile(const std::string& path) = 0;
    // Replaces (or creates) a file with `content` atomically: the new content
    // goes to a temporary file in the same directory, which then takes the
    // file's place, keeping the old file's attributes and access control. On
    // failure the old file is untouched and FileError is thrown. A read-only
    // file is not replaced.
    virtual void ReplaceFile(const std::string& path, std::string_view content) = 0;
    // Directory search: `pattern` is a directory part followed by a wildcard
    // name ("*" any run of characters, "?" any one character, letter case
    // ignored) that an entry's long name must match; a short (8.3) alias never
    // makes an entry match. Every entry qualifies whatever its attributes (mask
    // 63, directories included). Matches come in the order the system returns
    // them; none when the directory is missing.
    virtual std::vector<FoundFile> FindFiles(const std::string& pattern) = 0;

    // ---- Clock ----
    virtual UtcTime NowUtc() = 0;

    // ---- Code page ----
    // The system's 8-bit code page.
    virtual const CodePage& AnsiCodePage() = 0;
    // Text converted between UTF-8 and the system code page as the system's
    // "A" functions convert it: a character the code page lacks becomes the
    // system's stand-in for it ("?" or a best-fit character), and bytes that
    // are not valid in the source encoding convert to stand-ins too. Embedded
    // NULs are kept. Throw only what allocation throws.
    virtual std::string AnsiFromUtf8(std::string_view utf8) = 0;
    virtual std::string Utf8FromAnsi(std::string_view ansi) = 0;

    // ---- User interface ----
    // Modal message boxes with one OK button, owned by the active window.
    virtual void ShowWarning(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
    virtual void HideWindow(WindowHandle window) = 0;
    virtual void AppendMenuSeparator(MenuHandle menu) = 0;
    virtual void AppendMenuItem(MenuHandle menu, unsigned id, const std::string& caption) = 0;
};

}  // namespace bk

// A backend's declarations of all of Platform's methods, written once for both.
#define BK_PLATFORM_OVERRIDES                                                          \
    std::string ModuleFileName() override;                                             \
    ModuleHandle HostModule() override;                                                \
    ProcAddress FindExport(ModuleHandle module, const char* name) override;            \
    bool FileExists(const std::string& path) override;                                 \
    std::string ReadFile(const std::string& path) override;                            \
    std::string ReadFileExactly(const std::string& path, std::uint64_t size) override; \
    std::string ReadFileUpTo(const std::string& path, std::uint64_t maxSize) override; \
    bool DeleteFile(const std::string& path) override;                                 \
    void ReplaceFile(const std::string& path, std::string_view content) override;      \
    std::vector<FoundFile> FindFiles(const std::string& pattern) override;             \
    UtcTime NowUtc() override;                                                         \
    const CodePage& AnsiCodePage() override;                                           \
    std::string AnsiFromUtf8(std::string_view utf8) override;                          \
    std::string Utf8FromAnsi(std::string_view ansi) override;                          \
    void ShowWarning(const std::string& text) override;                                \
    void ShowError(const std::string& text) override;                                  \
    void HideWindow(WindowHandle window) override;                                     \
    void AppendMenuSeparator(MenuHandle menu) override;                                \
    void AppendMenuItem(MenuHandle menu, unsigned id, const std::string& caption) override;
