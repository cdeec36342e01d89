// The text conversions of Win32Platform: through UTF-16, as the system's "A"
// functions convert.

#include <limits>
#include <new>

#include "platform/win32/Win32Platform.h"

namespace bk {
namespace {

int LengthOf(std::string_view text) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 2))
        throw std::bad_alloc();
    return static_cast<int>(text.size());
}

std::wstring Widen(unsigned codePage, std::string_view text) {
    std::wstring wide;
    if (text.empty())
        return wide;
    int n = MultiByteToWideChar(codePage, 0, text.data(), LengthOf(text), nullptr, 0);
    wide.resize(static_cast<std::size_t>(n));
    MultiByteToWideChar(codePage, 0, text.data(), LengthOf(text), wide.data(), n);
    return wide;
}

std::string Narrow(unsigned codePage, const std::wstring& wide) {
    std::string text;
    if (wide.empty())
        return text;
    int length = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(codePage, 0, wide.data(), length, text.data(), n, nullptr, nullptr);
    return text;
}

}  // namespace

std::string Win32Platform::AnsiFromUtf8(std::string_view utf8) {
    return Narrow(codePageNumber_, Widen(CP_UTF8, utf8));
}

std::string Win32Platform::Utf8FromAnsi(std::string_view ansi) {
    return Narrow(CP_UTF8, Widen(codePageNumber_, ansi));
}

}  // namespace bk
