#pragma once
// The two scans that a large file's bytes go through, 16 bytes a step where the
// processor has SSE2 (asked once on the 32-bit build, which runs on any x86;
// always there on x86-64) and a machine word a step elsewhere.

#include <cstddef>

namespace bk {

// How many bytes from the start of data[0, size) are below 0x80.
std::size_t AsciiPrefix(const unsigned char* data, std::size_t size);

// Offset of the first `byte` of data[pos, end), or `end`.
std::size_t FindByte(const unsigned char* data, std::size_t pos, std::size_t end,
                     unsigned char byte);

// Offset of the first CR or LF of data[pos, end), or `end`.
std::size_t FindCrOrLf(const unsigned char* data, std::size_t pos, std::size_t end);

}  // namespace bk
