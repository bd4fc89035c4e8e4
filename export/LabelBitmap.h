// Writes a label canvas as a numbered bottom-up 32-bit BMP file
// (lumo000.bmp ... lumo999.bmp) and the compose-then-save sequence.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "LabelCanvas.h"
#include "LabelSettings.h"

namespace lumo {

struct SaveResult {
  bool ok = false;
  std::filesystem::path path;  // the file written, when ok
  std::string error;           // why nothing was written, when !ok (one line)
};

// File header (14 bytes) and info header (40 bytes); no colour table follows.
inline constexpr std::size_t kBitmapHeaderSize = 54;
using BitmapHeader = std::array<std::uint8_t, kBitmapHeaderSize>;

// The series has a thousand names: lumo000.bmp ... lumo999.bmp.
inline constexpr int kLabelFileCount = 1000;

// resolutionDpi x 1000 / 25.4 truncated toward zero; values beyond the field's
// range saturate and a value that is not a number gives 0.
[[nodiscard]] std::int32_t PixelsPerMetre(double resolutionDpi) noexcept;

// The header of the file that SaveLabelBitmap writes for `canvas`. It describes
// the pixels actually written: the image's width and height, one plane of 32
// bits per pixel, rows bottom first.
[[nodiscard]] BitmapHeader EncodeBitmapHeader(const LabelCanvas& canvas, double resolutionDpi);

// "lumoNNN.bmp" for 0 <= number < kLabelFileCount.
[[nodiscard]] std::string LabelFileName(int number);

// Writes `canvas` under the first free name of the series in `directory`; a
// name that exists in any form (file, folder, dangling link, unreadable) is
// taken. A file is never overwritten or emptied, and a failed write leaves no
// file. An empty canvas (no pixels) and a full series write nothing.
[[nodiscard]] SaveResult SaveLabelBitmap(const LabelCanvas& canvas, double resolutionDpi,
                                         const std::filesystem::path& directory);

// ComposeLabel followed by SaveLabelBitmap.
SaveResult RenderAndSave(LabelCanvas& canvas, const LabelSettings& settings, std::string& labelText,
                         std::string& lowerText, const std::filesystem::path& directory);

}  // namespace lumo
