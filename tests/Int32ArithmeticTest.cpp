// The 32-bit arithmetic every number of a label goes through.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Int32Arithmetic.h"

namespace lumo {

TEST(Int32Arithmetic, TruncatesTowardZeroSaturatesAndWraps) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, std::int32_t> cases[] = {{2834.6456692913384, 2834},
                                                   {-12.7, -12},
                                                   {-0.5, 0},
                                                   {2147483647.9, kMax},
                                                   {1e12, kMax},
                                                   {-1e300, kMin},
                                                   {inf, kMax},
                                                   {std::nan(""), 0}};
  for (const auto& [value, truncated] : cases)
    EXPECT_EQ(TruncateToInt32(value), truncated) << value;
  EXPECT_EQ(WrappingSum(kMax, 1), kMin);
  EXPECT_EQ(WrappingProduct(0x40000000, 4), 0);
  EXPECT_EQ(WrappingProduct(kMin, -1), kMin);
}

}  // namespace lumo
