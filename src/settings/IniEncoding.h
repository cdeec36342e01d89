#pragma once
// How the bytes of a settings file become the text the engine works on.
//
// A file that starts with a UTF-8 byte-order mark is UTF-8; one that starts
// with a UTF-16 mark (either byte order) is UTF-16; anything else is text of
// the system code page, taken byte for byte. The engine works on 8-bit text:
// for a UTF-16 file that is the file's UTF-8 form, made so that turning it back
// gives the very same bytes (an unpaired surrogate is kept as one 3-byte
// sequence, an odd last byte is kept aside). So untouched lines of a Unicode
// file stay byte for byte, and a file keeps its encoding and its mark.

#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace bk {

enum class IniEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct IniFileText {
    IniEncoding encoding = IniEncoding::Ansi;
    std::string text;     // without the byte-order mark
    std::string oddByte;  // a UTF-16 file's last byte when its length is odd
};

IniFileText DecodeIniFile(std::string bytes);

// True when a file starting with `bytes` reads as a Unicode file.
bool StartsWithByteOrderMark(std::string_view bytes);

// The bytes of a file of that encoding (mark included) holding `text`.
std::string EncodeIniFile(IniEncoding encoding, std::string text, std::string_view oddByte);

// True for well-formed UTF-8 (no surrogates, no overlong forms, nothing above
// U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Length of the run of bytes below 0x80 that `text` starts with, read a
// machine word at a time.
std::size_t AsciiLength(std::string_view text);

// The code page the engine steps and folds text of a Unicode file in: bytes
// only (UTF-8 never puts a byte below 0x80 inside a character), ASCII blanks
// and ASCII letter case.
const CodePage& UnicodeFileCodePage();

}  // namespace bk
