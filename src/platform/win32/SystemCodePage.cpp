#include "platform/win32/SystemCodePage.h"

#include "platform/win32/WindowsApi.h"

namespace bk {
namespace {

bool ToWide(unsigned number, char byte, wchar_t& wide) {
    return MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, &byte, 1, &wide, 1) == 1;
}

// The single byte that `wide` converts to exactly (no best fit, no default character).
bool ToSingleByte(unsigned number, wchar_t wide, char& byte) {
    char out[4];
    BOOL usedDefault = FALSE;
    bool utf = number == CP_UTF8 || number == CP_UTF7;  // these refuse the default-char flag
    int n = WideCharToMultiByte(number, WC_NO_BEST_FIT_CHARS, &wide, 1, out, sizeof out, nullptr,
                                utf ? nullptr : &usedDefault);
    wchar_t back;
    if (n != 1 || usedDefault || !ToWide(number, out[0], back) || back != wide)
        return false;
    byte = out[0];
    return true;
}

}  // namespace

CodePage SystemCodePage(unsigned number) {
    std::array<bool, 256> lead{};
    std::array<std::uint8_t, 256> upper{};
    std::array<bool, 256> blanks{};
    // The bytes that are characters of their own, and their Unicode forms.
    std::array<BYTE, 256> bytes{};
    std::array<wchar_t, 256> wide{};
    int count = 0;
    for (int b = 0; b < 256; ++b) {
        upper[b] = static_cast<std::uint8_t>(b);
        lead[b] = IsDBCSLeadByteEx(number, static_cast<BYTE>(b)) != FALSE;
        if (!lead[b] && ToWide(number, static_cast<char>(b), wide[count]))
            bytes[count++] = static_cast<BYTE>(b);
    }

    // One call each for the types and the upper-case forms of all of them, each
    // character mapped on its own. LCMapStringW rather than user32's
    // CharUpperBuffW (which calls it): the tables may be built while the loader
    // lock is held (a first file operation of attach asks for them).
    std::array<WORD, 256> types{};
    if (!GetStringTypeW(CT_CTYPE1, wide.data(), count, types.data()))
        types.fill(0);
    std::array<wchar_t, 256> up = wide;
    if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, wide.data(), count, up.data(), count) !=
        count)
        up = wide;
    for (int i = 0; i < count; ++i) {
        blanks[bytes[i]] = (types[i] & C1_SPACE) != 0;
        char byte;
        if (up[i] != wide[i] && ToSingleByte(number, up[i], byte))
            upper[bytes[i]] = static_cast<std::uint8_t>(byte);
    }
    return CodePage(number, lead, upper, blanks);
}

}  // namespace bk
