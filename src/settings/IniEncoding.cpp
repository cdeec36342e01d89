#include "settings/IniEncoding.h"

#include <cstdint>
#include <cstring>

#include "settings/ByteScan.h"

namespace bk {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

void AppendUtf8(std::string& out, std::uint32_t c) {
    // The lead byte's marker bits for a sequence of 1, 2, 3 or 4 bytes.
    static constexpr std::uint32_t kLeadBits[] = {0, 0, 0xC0, 0xE0, 0xF0};
    int n = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    out += static_cast<char>(kLeadBits[n] | (c >> (6 * (n - 1))));
    for (int k = n - 2; k >= 0; --k) out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
}

void AppendUnit(std::string& out, std::uint16_t unit, bool bigEndian) {
    char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
}

}  // namespace

bool StartsWithByteOrderMark(std::string_view bytes) {
    return bytes.starts_with(kUtf8Mark) || bytes.starts_with("\xFF\xFE") ||
           bytes.starts_with("\xFE\xFF");
}

IniFileText DecodeIniFile(std::string bytes) {
    if (bytes.starts_with(kUtf8Mark))
        return {IniEncoding::Utf8, bytes.substr(kUtf8Mark.size())};
    if (!StartsWithByteOrderMark(bytes))
        return {IniEncoding::Ansi, std::move(bytes)};
    const bool le = bytes.starts_with("\xFF\xFE");
    IniFileText result{le ? IniEncoding::Utf16Le : IniEncoding::Utf16Be};
    std::size_t units = bytes.size() / 2;
    if (bytes.size() % 2)
        result.oddByte = bytes.substr(bytes.size() - 1);
    auto unitAt = [&](std::size_t i) -> std::uint32_t {
        auto a = static_cast<std::uint8_t>(bytes[2 * i]),
             b = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        return le ? (b << 8 | a) : (a << 8 | b);
    };
    result.text.reserve(bytes.size() / 2);
    for (std::size_t i = 1; i < units; ++i) {
        std::uint32_t c = unitAt(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
            std::uint32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        AppendUtf8(result.text, c);
    }
    return result;
}

std::string EncodeIniFile(IniEncoding encoding, std::string text, std::string_view oddByte) {
    if (encoding == IniEncoding::Ansi)
        return text;
    if (encoding == IniEncoding::Utf8)
        return std::string(kUtf8Mark).append(text);
    bool be = encoding == IniEncoding::Utf16Be;
    std::string out;
    out.reserve(text.size() * 2 + 2 + oddByte.size());
    AppendUnit(out, 0xFEFF, be);
    // The text came from DecodeIniFile or was checked with IsValidUtf8, so every
    // sequence is complete; a lone surrogate goes back as the unit it was.
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<std::uint8_t>(text[i]);
        std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        if (i + n > text.size())
            n = text.size() - i;
        std::uint32_t c = n == 1 ? b : b & (0xFF >> (n + 1));
        for (std::size_t k = 1; k < n; ++k)
            c = c << 6 | (static_cast<std::uint8_t>(text[i + k]) & 0x3F);
        if (c >= 0x10000) {
            c -= 0x10000;
            AppendUnit(out, static_cast<std::uint16_t>(0xD800 + (c >> 10)), be);
            AppendUnit(out, static_cast<std::uint16_t>(0xDC00 + (c & 0x3FF)), be);
        } else {
            AppendUnit(out, static_cast<std::uint16_t>(c), be);
        }
        i += n;
    }
    out += oddByte;
    return out;
}

std::size_t AsciiLength(std::string_view text) {
    return AsciiPrefix(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<std::uint8_t>(text[i]);
        if (b < 0x80) {
            i += AsciiLength(text.substr(i));
            continue;
        }
        std::size_t n;
        std::uint32_t c, min;
        if (b >= 0xC2 && b < 0xE0)
            n = 2, c = b & 0x1F, min = 0x80;
        else if (b >= 0xE0 && b < 0xF0)
            n = 3, c = b & 0x0F, min = 0x800;
        else if (b >= 0xF0 && b < 0xF5)
            n = 4, c = b & 0x07, min = 0x10000;
        else
            return false;
        if (i + n > text.size())
            return false;
        for (std::size_t k = 1; k < n; ++k) {
            auto t = static_cast<std::uint8_t>(text[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            c = c << 6 | (t & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return false;
        i += n;
    }
    return true;
}

const CodePage& UnicodeFileCodePage() {
    static const CodePage codePage = CodePage::Ascii();
    return codePage;
}

}  // namespace bk
