// The label's file formats and writing a label in any of them: the next file
// of the numbered series, or a file under a chosen name.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

#include "FileWrite.h"
#include "LabelCanvas.h"
#include "LabelLayout.h"
#include "Result.h"

namespace lumo {

// Bmp (the default) and Png are the canvas's pixels; Pdf and Svg are drawn
// from the layout alone.
enum class LabelFormat { Bmp, Png, Pdf, Svg };
inline constexpr std::array kLabelFormats = {LabelFormat::Bmp, LabelFormat::Png, LabelFormat::Pdf,
                                             LabelFormat::Svg};

// "bmp", "png", "pdf", "svg": the file extension and the format's name.
[[nodiscard]] std::string_view FormatName(LabelFormat format) noexcept;
// The format of that name (lower case, as FormatName gives it), if any.
[[nodiscard]] std::optional<LabelFormat> FormatNamed(std::string_view name) noexcept;
// Whether the format needs the canvas's image drawn; the vector formats read
// only its geometry and the layout.
[[nodiscard]] constexpr bool IsRaster(LabelFormat format) noexcept {
  return format == LabelFormat::Bmp || format == LabelFormat::Png;
}

// A label as drawn: the canvas (for a vector format only its geometry need be
// set) and the layout drawn on it.
struct LabelPicture {
  const LabelCanvas& canvas;
  const LabelLayout& layout;
  double resolutionDpi = 0;
};

// Writes the next free lumoNNN.<format> in `directory`, as WriteNumberedFile.
// A canvas without pixels writes nothing.
[[nodiscard]] Result<std::filesystem::path> SaveLabel(LabelFormat format,
                                                      const LabelPicture& picture,
                                                      const std::filesystem::path& directory);

// Writes the label to `path`, replacing a file there only once the new one is
// complete.
[[nodiscard]] Result<std::filesystem::path> ExportLabel(LabelFormat format,
                                                        const LabelPicture& picture,
                                                        const std::filesystem::path& path);

}  // namespace lumo
