#include "settings/ByteScan.h"

#include <cstdint>
#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define BK_SSE2 1
#ifdef __i386__
#include <cpuid.h>
#endif
#endif

namespace bk {
namespace {

using Word = std::uintptr_t;
constexpr Word kOnes = ~Word{0} / 0xFF;
constexpr Word kHighBits = kOnes * 0x80;

#ifdef BK_SSE2
bool HasSse2() {
#ifdef __x86_64__
    return true;
#else
    // Asked on the first scan, not when the library is loaded: the compiler's
    // own check (__builtin_cpu_supports) brings a constructor that questions
    // the processor at every attach, and CPUID is slow in a virtual machine.
    static const bool has = [] {
        unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
        return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (edx & bit_SSE2) != 0;
    }();
    return has;
#endif
}

// AsciiBlocks stops at the first block of 16 that holds a byte above 0x7F,
// LineEndBlocks at the first CR or LF itself; both at the last 15 bytes at
// the latest, from which the caller goes on.
__attribute__((target("sse2"))) std::size_t AsciiBlocks(const unsigned char* data, std::size_t pos,
                                                        std::size_t end) {
    for (; pos + 16 <= end; pos += 16)
        if (_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos))))
            break;
    return pos;
}

__attribute__((target("sse2"))) std::size_t LineEndBlocks(const unsigned char* data,
                                                          std::size_t pos, std::size_t end) {
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    for (; pos + 16 <= end; pos += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
        const int found =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
        if (found)
            return pos + static_cast<unsigned>(__builtin_ctz(static_cast<unsigned>(found)));
    }
    return pos;
}

__attribute__((target("sse2"))) std::size_t ByteBlocks(const unsigned char* data, std::size_t pos,
                                                       std::size_t end, unsigned char byte) {
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(byte));
    for (; pos + 16 <= end; pos += 16) {
        const int found = _mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos)), wanted));
        if (found)
            return pos + static_cast<unsigned>(__builtin_ctz(static_cast<unsigned>(found)));
    }
    return pos;
}
#endif

}  // namespace

std::size_t AsciiPrefix(const unsigned char* data, std::size_t size) {
    std::size_t i = 0;
#ifdef BK_SSE2
    if (HasSse2())
        i = AsciiBlocks(data, 0, size);
#endif
    for (Word w; i + sizeof w <= size; i += sizeof w) {
        std::memcpy(&w, data + i, sizeof w);
        if (w & kHighBits)
            break;
    }
    while (i < size && data[i] < 0x80) ++i;
    return i;
}

std::size_t FindByte(const unsigned char* data, std::size_t pos, std::size_t end,
                     unsigned char byte) {
#ifdef BK_SSE2
    if (HasSse2())
        pos = ByteBlocks(data, pos, end, byte);
#endif
    const void* found = std::memchr(data + pos, byte, end - pos);
    return found ? static_cast<std::size_t>(static_cast<const unsigned char*>(found) - data) : end;
}

std::size_t FindCrOrLf(const unsigned char* data, std::size_t pos, std::size_t end) {
#ifdef BK_SSE2
    if (HasSse2()) {
        pos = LineEndBlocks(data, pos, end);
        if (pos + 16 <= end)
            return pos;  // found in a whole block
    }
#endif
    for (Word w; pos + sizeof w <= end; pos += sizeof w) {
        std::memcpy(&w, data + pos, sizeof w);
        const Word lf = w ^ (kOnes * '\n'), cr = w ^ (kOnes * '\r');
        // Exact for whether some byte of lf or cr is zero (some byte of w is LF or CR).
        if ((((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighBits)
            break;
    }
    while (pos < end && data[pos] != '\n' && data[pos] != '\r') ++pos;
    return pos;
}

}  // namespace bk
