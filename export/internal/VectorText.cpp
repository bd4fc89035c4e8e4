// Numbers as PDF and SVG read them: locale-free, fixed notation, short.
#include "VectorText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lumo {

VectorText& VectorText::Fixed(double value, int decimals) {
  char digits[64];
  const auto [end, error] =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  if (!std::isfinite(value) || error != std::errc{}) {
    finite_ = false;
    text_ += '0';
    return *this;
  }
  std::string_view number(digits, static_cast<std::size_t>(end - digits));
  if (number.find('.') != std::string_view::npos) {
    number.remove_suffix(number.size() - 1 - number.find_last_not_of('0'));
    if (number.back() == '.') number.remove_suffix(1);
  }
  text_ += number == "-0" ? "0" : number;
  return *this;
}

VectorText& VectorText::Significant(double value, int digits) {
  const int magnitude = value == 0 || !std::isfinite(value)
                            ? 0
                            : static_cast<int>(std::floor(std::log10(std::abs(value))));
  return Fixed(value, std::clamp(digits - 1 - magnitude, 0, 17));
}

}  // namespace lumo
