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
    for (int b = 0; b < 256; ++b) {
        upper[b] = static_cast<std::uint8_t>(b);
        lead[b] = IsDBCSLeadByteEx(number, static_cast<BYTE>(b)) != FALSE;
        wchar_t wide;
        if (lead[b] || !ToWide(number, static_cast<char>(b), wide))
            continue;

        WORD type = 0;
        blanks[b] = GetStringTypeW(CT_CTYPE1, &wide, 1, &type) && (type & C1_SPACE);

        // LCMapStringW rather than user32's CharUpperBuffW (which calls it): the
        // tables may be built while the loader lock is held (a first file
        // operation of attach asks for them).
        wchar_t up = wide;
        if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, &wide, 1, &up, 1) != 1)
            up = wide;
        char byte;
        if (up != wide && ToSingleByte(number, up, byte))
            upper[b] = static_cast<std::uint8_t>(byte);
    }
    return CodePage(number, lead, upper, blanks);
}

}  // namespace bk
