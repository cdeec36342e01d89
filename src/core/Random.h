#pragma once
// The picker's random generator: a 32-bit linear congruential generator whose
// sequence a test can reproduce from the seed.

#include <cstdint>

#include "platform/Platform.h"

namespace bk {

class Random {
public:
    // Milliseconds since midnight UTC, the seed taken at attach.
    static std::uint32_t SeedFrom(const UtcTime& t) {
        return ((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
    }

    explicit Random(std::uint32_t seed = 0) : seed_(seed) {}

    // An index below n (n >= 1): the seed steps once, and the index is the upper
    // 32 bits of seed * n. Without a rejection step some indices come slightly
    // more often (a relative bias up to n / 2^32); it stays so, as the picks
    // follow this exact sequence (Random_test pins it).
    std::uint32_t Below(std::uint32_t n) {
        seed_ = seed_ * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * n) >> 32);
    }

    std::uint32_t Seed() const { return seed_; }
    void SetSeed(std::uint32_t seed) { seed_ = seed; }

private:
    std::uint32_t seed_;
};

}  // namespace bk
