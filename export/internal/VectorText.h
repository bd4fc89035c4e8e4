// The text of a vector page as it is built: PDF content and SVG markup share
// one way of writing numbers. Private to the exporters.
#pragma once

#include <string>
#include <string_view>

namespace lumo {

class VectorText {
 public:
  VectorText& operator<<(std::string_view text) {
    text_ += text;
    return *this;
  }
  VectorText& operator<<(char c) {
    text_ += c;
    return *this;
  }
  // Fixed notation with at most `decimals` places, trailing zeros dropped:
  // neither PDF nor every SVG reader takes an exponent.
  VectorText& Fixed(double value, int decimals);
  // About `digits` significant digits, for scales that may be tiny or huge.
  VectorText& Significant(double value, int digits);
  // Both followed by a space, the separator PDF and SVG both take.
  VectorText& FixedSp(double value, int decimals) { return Fixed(value, decimals) << ' '; }
  VectorText& SignificantSp(double value, int digits) { return Significant(value, digits) << ' '; }

  // False once a number was not finite: such a page is refused, not written.
  [[nodiscard]] bool finite() const noexcept { return finite_; }
  [[nodiscard]] const std::string& str() const noexcept { return text_; }
  [[nodiscard]] std::string& str() noexcept { return text_; }

 private:
  std::string text_;
  bool finite_ = true;
};

}  // namespace lumo
