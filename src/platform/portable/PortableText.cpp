// The text conversions of PortablePlatform, through iconv.

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/portable/PortablePlatform.h"

namespace bk {
namespace {

// Length of the UTF-8 sequence that `text` starts with, as far as its lead
// byte and continuation bytes go; 1 for a byte that starts none.
std::size_t Utf8SequenceLength(std::string_view text) {
    auto lead = static_cast<std::uint8_t>(text[0]);
    std::size_t n = lead >= 0xF5 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    for (std::size_t k = 1; k < n; ++k)
        if (k >= text.size() || (static_cast<std::uint8_t>(text[k]) & 0xC0) != 0x80)
            return k;
    return n;
}

std::string Convert(const std::string& to, const std::string& from, std::string_view text,
                    bool fromUtf8) {
    iconv_t cd = ::iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no converter from " + from + " to " + to);
    std::unique_ptr<void, int (*)(iconv_t)> closer(cd, &::iconv_close);
    std::string out;
    char buffer[4096];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* o = buffer;
        std::size_t oLeft = sizeof buffer;
        std::size_t r = ::iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer, static_cast<std::size_t>(o - buffer));
        if (r != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        // A byte or character that does not convert: one stand-in for it.
        std::size_t skip = fromUtf8 ? Utf8SequenceLength(std::string_view(in, inLeft)) : 1;
        if (errno == EINVAL)
            skip = inLeft;  // a sequence cut short by the end of the text
        out += '?';
        in += skip;
        inLeft -= skip;
    }
    return out;
}

std::string CodePageName(const CodePage& codePage) {
    return "CP" + std::to_string(codePage.Number());
}

}  // namespace

std::string PortablePlatform::AnsiFromUtf8(std::string_view utf8) {
    return Convert(CodePageName(AnsiCodePage()), "UTF-8", utf8, true);
}

std::string PortablePlatform::Utf8FromAnsi(std::string_view ansi) {
    return Convert("UTF-8", CodePageName(AnsiCodePage()), ansi, false);
}

}  // namespace bk
