// The index of a quote file, and how a file is found and loaded.
//
// Lines: CR LF, LF and CR each end a line, in every encoding, as the settings
// engine splits them; a UTF-16 file is split on its code units. In a
// double-byte code page neither CR nor LF is ever the second byte of a
// character, so every line starts at a character and a "%" that starts a line
// is a character of its own, never part of one.
//
// Blanks: space, tab, VT and FF in every file; in a file of the system code
// page also every other single-byte character the code page counts as a blank
// (CodePage::IsBlank: the no-break space of code page 1252); in a Unicode file
// the no-break space (U+00A0) too, so that a file means the same in either
// form. Within a quote of several lines its line ends count as blanks.

#include "settings/QuoteFile.h"

#include <bit>
#include <cstring>
#include <limits>

#include "platform/Platform.h"
#include "settings/IniEncoding.h"

namespace bk {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsLineEnd(unsigned unit) {
    return unit == '\n' || unit == '\r';
}

// Offset of the first CR or LF of data[pos, end), or `end`: a machine word at a
// time while the word holds neither.
std::size_t FindLineEnd(const unsigned char* data, std::size_t pos, std::size_t end) {
    using Word = std::uintptr_t;
    constexpr Word kOnes = ~Word{0} / 0xFF;
    constexpr Word kHighBits = kOnes * 0x80;
    for (Word w; pos + sizeof w <= end; pos += sizeof w) {
        std::memcpy(&w, data + pos, sizeof w);
        const Word lf = w ^ (kOnes * '\n'), cr = w ^ (kOnes * '\r');
        // The high bit of each byte of w that is LF or CR; bits above the first
        // such byte may be set wrongly, the lowest one is right.
        const Word hits = (((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighBits;
        if (hits && std::endian::native == std::endian::little)
            return pos + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
        if (hits)
            break;
    }
    while (pos < end && !IsLineEnd(data[pos])) ++pos;
    return pos;
}

// The units of the text part of a file (bytes, or UTF-16 code units of either
// order) and which of them are blanks.
struct Units {
    const unsigned char* data;
    unsigned step;             // bytes per unit: 1 or 2
    bool bigEndian;            // for 2
    const CodePage* codePage;  // a file of the system code page; null for Unicode

    unsigned At(std::size_t pos) const {
        if (step == 1)
            return data[pos];
        return bigEndian ? data[pos] << 8 | data[pos + 1] : data[pos + 1] << 8 | data[pos];
    }

    // True when data[from, to) holds only blanks and line ends (or nothing).
    bool OnlyBlanks(std::size_t from, std::size_t to) const {
        while (from < to) {
            const unsigned u = At(from);
            std::size_t next = from + step;
            if (u == ' ' || u == '\t' || u == '\v' || u == '\f' || IsLineEnd(u)) {
            } else if (codePage) {
                if (!codePage->IsBlank(static_cast<std::uint8_t>(u)) ||
                    codePage->IsLeadByte(static_cast<std::uint8_t>(u)))
                    return false;
            } else if (step == 2 ? u != 0xA0 : u != 0xC2 || next >= to || data[next++] != 0xA0) {
                return false;  // not U+00A0 (in UTF-8: C2 A0)
            }
            from = next;
        }
        return true;
    }
};

}  // namespace

QuoteIndex::QuoteIndex(std::string bytes, const CodePage& codePage) : bytes_(std::move(bytes)) {
    const std::string_view file = bytes_;
    Units units{reinterpret_cast<const unsigned char*>(file.data()), 1, false, nullptr};
    std::size_t begin = 0;
    if (file.starts_with(kUtf8Mark)) {
        encoding_ = QuoteEncoding::Utf8Mark;
        begin = kUtf8Mark.size();
    } else if (file.starts_with("\xFF\xFE") || file.starts_with("\xFE\xFF")) {
        units.bigEndian = file[0] == '\xFE';
        encoding_ = units.bigEndian ? QuoteEncoding::Utf16Be : QuoteEncoding::Utf16Le;
        units.step = 2;
        begin = 2;
    } else {
        const std::size_t ascii = AsciiLength(file);
        if (ascii < file.size() && IsValidUtf8(file.substr(ascii)))
            encoding_ = QuoteEncoding::Utf8;
        else
            units.codePage = &codePage;
    }
    // Offsets are 32 bits: anything past 4 GB is not indexed (LoadQuoteFile
    // never reads that much). A UTF-16 file's odd last byte is no unit.
    std::size_t end = std::min<std::size_t>(file.size(), std::numeric_limits<std::uint32_t>::max());
    end -= (end - begin) % units.step;

    // A quote from `from` up to `to`, without the line ends it ends with (the
    // one that closes it, and empty lines before the next "%" line).
    auto add = [&](std::size_t from, std::size_t to) {
        while (to > from && IsLineEnd(units.At(to - units.step))) to -= units.step;
        if (!units.OnlyBlanks(from, to))
            spans_.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to)});
    };
    // One pass over the lines. Until the first "%" line each line is a quote;
    // that line turns the index to the fortune form: the lines so far are
    // dropped and the text before it is the first quote.
    std::size_t quoteStart = begin;  // of the quote a "%" line will close
    for (std::size_t line = begin; line < end;) {
        std::size_t lineEnd = line;
        if (units.step == 1)
            lineEnd = FindLineEnd(units.data, line, end);
        else
            while (lineEnd < end && !IsLineEnd(units.At(lineEnd))) lineEnd += 2;
        const bool separator =
            units.At(line) == '%' && units.OnlyBlanks(line + units.step, lineEnd);
        if (separator && !fortune_) {
            fortune_ = true;
            spans_.clear();
        }
        if (separator)
            add(quoteStart, line);
        else if (!fortune_)
            add(line, lineEnd);
        if (lineEnd < end) {
            const unsigned first = units.At(lineEnd);
            lineEnd += units.step;
            if (first == '\r' && lineEnd < end && units.At(lineEnd) == '\n')
                lineEnd += units.step;
        }
        if (separator)
            quoteStart = lineEnd;
        line = lineEnd;
    }
    if (fortune_)
        add(quoteStart, end);
    spans_.shrink_to_fit();
}

std::string_view QuoteIndex::Raw(std::size_t i) const {
    const Span span = spans_.at(i);
    return std::string_view(bytes_).substr(span.begin, span.end - span.begin);
}

// The quote is made UTF-8 first when it is Unicode (a UTF-16 one as a signature
// file of its own would be), its line ends CR LF, and only then converted.
std::string QuoteIndex::Text(std::size_t i, Platform& platform) const {
    std::string_view quote = Raw(i);
    std::string utf8;
    if (encoding_ == QuoteEncoding::Utf16Le || encoding_ == QuoteEncoding::Utf16Be) {
        const char* mark = encoding_ == QuoteEncoding::Utf16Le ? "\xFF\xFE" : "\xFE\xFF";
        utf8 = DecodeIniFile(std::string(mark, 2).append(quote)).text;
        quote = utf8;
    }
    std::string text;
    text.reserve(quote.size() + 2);
    for (std::size_t k = 0; k < quote.size(); ++k) {
        if (!IsLineEnd(static_cast<unsigned char>(quote[k]))) {
            text += quote[k];
            continue;
        }
        text += "\r\n";
        if (quote[k] == '\r' && k + 1 < quote.size() && quote[k + 1] == '\n')
            ++k;
    }
    text += "\r\n";
    return encoding_ == QuoteEncoding::SystemCodePage ? text : platform.AnsiFromUtf8(text);
}

// A drive-relative path ("C:quotes.txt") is kept too: it names a file in the
// current folder of that drive, which the settings folder can't stand for;
// the system resolves it when the file is read.
std::string QuoteFilePath(std::string_view stored, std::string_view settingsPath,
                          const CodePage& codePage) {
    const bool absolute =
        !stored.empty() && (stored[0] == '\\' || stored[0] == '/' ||
                            (stored.size() >= 2 && stored[1] == ':' &&
                             ((stored[0] | 0x20) >= 'a' && (stored[0] | 0x20) <= 'z')));
    std::string path;
    if (!stored.empty() && !absolute)
        path = settingsPath.substr(0, codePage.FindLastSeparator(settingsPath) + 1);
    return path.append(stored);
}

QuoteFileLoad LoadQuoteFile(Platform& platform, const std::string& path) {
    QuoteFileLoad load;
    if (path.empty()) {
        load.reason = kQuoteFileNotSet;
        return load;
    }
    try {
        load.quotes.emplace(platform.ReadFileUpTo(path, kMaxQuoteFileSize),
                            platform.AnsiCodePage());
        if (!load.quotes->empty())
            return load;
        load.quotes.reset();
        load.reason = kQuoteFileEmpty;
    } catch (const FileTooLargeError&) {
        load.reason = kQuoteFileTooLarge;
    } catch (const FileError& e) {
        load.reason = e.what();  // the reason and the path
        return load;
    }
    load.reason.append(": ").append(path);
    return load;
}

}  // namespace bk
