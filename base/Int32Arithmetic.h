// The 32-bit integer arithmetic every number of a label uses: reals truncated
// toward zero into 32 bits, and sums and products that wrap as two's
// complement arithmetic has always given them, all defined for any input.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace lumo {

// Values beyond the int32 range saturate and NaN gives 0, so no setting or
// preview state can make a conversion undefined.
[[nodiscard]] constexpr std::int32_t TruncateToInt32(double value) noexcept {
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  if (value != value) return 0;
  if (value <= static_cast<double>(kMin)) return kMin;
  if (value >= static_cast<double>(kMax)) return kMax;
  return static_cast<std::int32_t>(value);
}

// a + b and a * b as 32-bit two's complement arithmetic has always given them.
[[nodiscard]] constexpr std::int32_t WrappingSum(std::int32_t a, std::int32_t b) noexcept {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
[[nodiscard]] constexpr std::int32_t WrappingProduct(std::int32_t a, std::int32_t b) noexcept {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

}  // namespace lumo
