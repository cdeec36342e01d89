#pragma once
// Quotes from a plain text file (mode 4). The file's form: when it holds at
// least one line that is exactly "%" (blanks after it allowed), its quotes are
// the texts between such lines (the fortune form); otherwise each line is a
// quote. A quote that is empty or only blanks is no quote. Line ends are CR LF,
// LF or CR.
//
// Encodings: a UTF-8 or UTF-16 (either order) byte-order mark is read as
// signature files are read; a file without a mark that is well-formed UTF-8 and
// holds a byte above 127 is UTF-8; any other file is text of the system code
// page (a "%" line is never found inside a double-byte character). Only the
// quote that is added is converted, not the whole file.
//
// The index is built in one pass over the bytes and holds two offsets per
// quote; nothing else is copied.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"

namespace bk {

class Platform;

// Larger files are refused (their reason: kQuoteFileTooLarge).
inline constexpr std::uint64_t kMaxQuoteFileSize = 64u << 20;

enum class QuoteEncoding { SystemCodePage, Utf8, Utf8Mark, Utf16Le, Utf16Be };

class QuoteIndex {
public:
    // Indexes the whole file `bytes` (kept by the index); `codePage` is the
    // system code page, for files read in it.
    QuoteIndex(std::string bytes, const CodePage& codePage);

    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    bool FortuneForm() const { return fortune_; }
    QuoteEncoding Encoding() const { return encoding_; }

    // Quote i as the file holds it (its bytes, in the file's encoding, its own
    // line ends, without the line end that closes it): what the fair order
    // knows it by.
    std::string_view Raw(std::size_t i) const;

    // Quote i as it is added: in the system code page (through `platform`'s
    // conversions for UTF-8 and UTF-16), every line end CR LF, ending in one CR LF.
    std::string Text(std::size_t i, Platform& platform) const;

private:
    struct Span {
        std::uint32_t begin, end;  // byte offsets into bytes_
    };
    std::string bytes_;
    std::vector<Span> spans_;
    QuoteEncoding encoding_ = QuoteEncoding::SystemCodePage;
    bool fortune_ = false;
};

// Why a quote file gives no quote, for the warning and the setup dialog's line
// (each is followed by ": " and the file's path where the warning names it).
inline constexpr const char* kQuoteFileNotSet = "No quote file is set";
inline constexpr const char* kQuoteFileTooLarge = "The quote file is larger than 64 MB";
inline constexpr const char* kQuoteFileEmpty = "The quote file holds no quote";

// "QuoteFile" as stored, as a path: a relative one is taken from the folder of
// `settingsPath` (the settings file); an absolute one ("C:\...", "\\server\...",
// "\...") is kept. Empty stays empty.
std::string QuoteFilePath(std::string_view stored, std::string_view settingsPath,
                          const CodePage& codePage);

// The quotes of the file at `path` (as QuoteFilePath gives it), or, when there
// are none, why: one line for the user that names the file (kQuoteFileNotSet
// for an empty path; a file that is missing, can't be read, is a folder or a
// device, is larger than kMaxQuoteFileSize, or holds no quote). Throws only
// what allocation throws.
struct QuoteFileLoad {
    std::optional<QuoteIndex> quotes;  // set, and not empty, when there are quotes
    std::string reason;                // set when there are none
};
QuoteFileLoad LoadQuoteFile(Platform& platform, const std::string& path);

}  // namespace bk
