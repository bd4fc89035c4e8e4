// Writes a label image as a numbered bottom-up 32-bit BMP file
// (lumo000.bmp ... lumo999.bmp).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "LabelFace.h"
#include "Result.h"
#include "Surface.h"

namespace lumo {

// File header (14 bytes) and info header (40 bytes); no colour table follows.
inline constexpr std::size_t kBitmapHeaderSize = 54;
using BitmapHeader = std::array<std::uint8_t, kBitmapHeaderSize>;

// resolutionDpi x 1000 / 25.4 truncated toward zero; values beyond the field's
// range saturate and a value that is not a number gives 0.
[[nodiscard]] std::int32_t PixelsPerMetre(double resolutionDpi) noexcept;

// The header of the file that WriteLabelBitmap writes for `image`. It describes
// the pixels actually written: the image's width and height, one plane of 32
// bits per pixel, rows bottom first.
[[nodiscard]] BitmapHeader EncodeBitmapHeader(const Surface& image, double resolutionDpi);

// Writes the file's bytes (header, then rows bottom first) to `fd`.
[[nodiscard]] Result<void> WriteLabelBitmap(int fd, const Surface& image, double resolutionDpi);

// The same while `draw` finishes the image: `draw` tells of each run of rows
// that is final, from the bottom row up (LabelFace::DrawBottomUp), and the
// runs go to the file as they come.
using BitmapDrawing = std::function<void(const LabelFace::RowsDrawn& drawn)>;
[[nodiscard]] Result<void> WriteLabelBitmapAsDrawn(int fd, const Surface& image,
                                                   double resolutionDpi,
                                                   const BitmapDrawing& draw);

}  // namespace lumo
