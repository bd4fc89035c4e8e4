// Text and layout arithmetic of the settings dialog, kept free of any toolkit
// so it can be tested on its own.
#include "DialogNumbers.h"

#include <cstdint>
#include <limits>

namespace lumo {
namespace {

[[nodiscard]] constexpr bool IsBlank(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

[[nodiscard]] constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// a * b / c rounded to the nearest integer, halves away from zero.
[[nodiscard]] int MulDivRounded(int a, int b, int c) noexcept {
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = c / 2;
  const std::int64_t rounded = product >= 0 ? (product + half) / c : (product - half) / c;
  return static_cast<int>(rounded);
}

}  // namespace

std::string FormatUnsignedBox(std::int32_t value) {
  return std::to_string(static_cast<std::uint32_t>(value));
}

std::int32_t ParseUnsignedBox(std::string_view text) noexcept {
  std::size_t begin = 0;
  while (begin < text.size() && IsBlank(text[begin])) ++begin;
  std::size_t end = text.size();
  while (end > begin && IsBlank(text[end - 1])) --end;
  if (begin == end) return 0;

  constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
  std::uint64_t value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (!IsDigit(text[i])) return 0;
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    // Checked per digit, so any number of digits cannot overflow the sum.
    if (value > kMax) return 0;
  }
  // Two's complement wrap, as the box shows negative values unsigned.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

int HorizontalBaseUnit(int widthOf52Letters) noexcept { return (widthOf52Letters / 26 + 1) / 2; }

int DialogUnitsToPixelsX(int units, int horizontalBaseUnit) noexcept {
  return MulDivRounded(units, horizontalBaseUnit, 4);
}

int DialogUnitsToPixelsY(int units, int fontHeight) noexcept {
  return MulDivRounded(units, fontHeight, 8);
}

}  // namespace lumo
