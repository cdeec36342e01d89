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

}  // namespace
}  // namespace bk
