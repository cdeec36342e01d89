#pragma once
// What the fuzz targets share: taking choices and texts from the fuzzer's bytes,
// and stopping at the first property that does not hold.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace bk::fuzz {

// Stops the run; libFuzzer keeps the input that got here.
[[noreturn]] inline void Fail(const char* property) {
    std::fprintf(stderr, "\n*** property does not hold: %s\n", property);
    std::abort();
}

inline void Require(bool holds, const char* property) {
    if (!holds)
        Fail(property);
}

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : bytes_(reinterpret_cast<const char*>(data), size) {}

    bool Empty() const { return pos_ >= bytes_.size(); }
    // 0 once the input is used up.
    std::uint8_t Byte() { return Empty() ? 0 : static_cast<std::uint8_t>(bytes_[pos_++]); }
    // Up to `n` bytes as they are.
    std::string Bytes(std::size_t n) {
        std::string taken(bytes_.substr(pos_, n));
        pos_ += taken.size();
        return taken;
    }
    std::string Rest() { return Bytes(bytes_.size()); }

    // A short text: a length byte (up to `maxLength` characters), then one byte
    // per character that picks a character of `alphabet`, or, from 0xC0 up,
    // says that the next byte is the character itself. A small alphabet makes
    // names collide; the raw bytes reach everything else.
    std::string Text(std::string_view alphabet, std::size_t maxLength) {
        std::size_t length = Byte() % (maxLength + 1);
        std::string text;
        for (std::size_t i = 0; i < length && !Empty(); ++i) {
            std::uint8_t pick = Byte();
            text += pick >= 0xC0 ? static_cast<char>(Byte()) : alphabet[pick % alphabet.size()];
        }
        return text;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// The system code page a run uses, by one byte: 1252 (single-byte, Latin
// letters fold, 0xA0 a blank) or 932 (double-byte).
inline const CodePage& SystemCodePage(std::uint8_t choice) {
    static const CodePage western = CodePage::Western(), japanese = CodePage::Japanese();
    return choice & 1 ? japanese : western;
}

}  // namespace bk::fuzz
