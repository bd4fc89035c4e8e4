// The formats a label file can have, by name: what the command line and the
// export dialog offer. Nothing here draws or writes.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace lumo {

// Bmp (the default) and Png are the canvas's pixels; Pdf and Svg are drawn
// from the layout alone.
enum class LabelFormat { Bmp, Png, Pdf, Svg };
inline constexpr std::array kLabelFormats = {LabelFormat::Bmp, LabelFormat::Png, LabelFormat::Pdf,
                                             LabelFormat::Svg};

// "bmp", "png", "pdf", "svg": the file extension and the format's name.
[[nodiscard]] constexpr std::string_view FormatName(LabelFormat format) noexcept {
  switch (format) {
    case LabelFormat::Bmp:
      return "bmp";
    case LabelFormat::Png:
      return "png";
    case LabelFormat::Pdf:
      return "pdf";
    case LabelFormat::Svg:
      break;
  }
  return "svg";
}

// The format of that name (lower case, as FormatName gives it), if any.
[[nodiscard]] constexpr std::optional<LabelFormat> FormatNamed(std::string_view name) noexcept {
  for (const LabelFormat format : kLabelFormats) {
    if (FormatName(format) == name) return format;
  }
  return std::nullopt;
}
// Whether the format needs the canvas's image drawn; the vector formats read
// only its geometry and the layout.
[[nodiscard]] constexpr bool IsRaster(LabelFormat format) noexcept {
  return format == LabelFormat::Bmp || format == LabelFormat::Png;
}

}  // namespace lumo
