// Conversion of a real to a 32-bit integer the way every number of a label is
// converted: truncated toward zero, and defined for any double.
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

}  // namespace lumo
