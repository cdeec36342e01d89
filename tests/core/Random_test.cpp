#include "core/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace bk {
namespace {

TEST(Random, ReproducesTheSequenceOfASeed) {
    // seed' = seed * 134775813 + 1 (mod 2^32); index = upper half of seed' * n.
    Random r(12345);
    std::vector<std::uint32_t> got;
    for (std::uint32_t n : {10u, 10u, 10u, 7u, 1000000u, 2u}) got.push_back(r.Below(n));
    EXPECT_EQ(got, (std::vector<std::uint32_t>{3, 2, 0, 3, 633675, 0}));

    Random z(0);
    z.Below(3);
    EXPECT_EQ(z.Seed(), 1u);
    z.Below(3);
    EXPECT_EQ(z.Seed(), 134775814u);
    EXPECT_EQ(z.Below(3), 2u);
    EXPECT_EQ(z.Seed(), 3698175007u);
}

TEST(Random, IndexIsAlwaysBelowN) {
    Random r(0xFFFFFFFFu);
    for (std::uint32_t n : {1u, 2u, 3u, 1000u, 0xFFFFFFFFu})
        for (int i = 0; i < 1000; ++i) ASSERT_LT(r.Below(n), n);
}

// A seeded run is uniform: chi-square over 12 buckets stays below the 0.1%
// critical value for 11 degrees of freedom (31.26). Fixed seeds, so the
// outcome never changes from run to run.
TEST(Random, ManyDrawsAreUniform) {
    constexpr int kBuckets = 12, kDraws = 120000;
    for (std::uint32_t seed : {0u, 1u, 86399999u, 43200000u}) {
        Random r(seed);
        std::vector<int> counts(kBuckets);
        for (int i = 0; i < kDraws; ++i) ++counts[r.Below(kBuckets)];
        double expected = double(kDraws) / kBuckets, chi2 = 0;
        for (int c : counts) chi2 += (c - expected) * (c - expected) / expected;
        EXPECT_LT(chi2, 31.26) << "seed " << seed;
    }
}

}  // namespace
}  // namespace bk
