// The raster surface the label is drawn on: one plane of 32-bit pixels (bytes
// B, G, R, X), top row first, with the few operations the label needs.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace lumo {

// A pixel as a little-endian 32-bit word: 0x00RRGGBB.
using Pixel = std::uint32_t;
inline constexpr Pixel kWhite = 0x00FFFFFF;
inline constexpr Pixel kBlack = 0x00000000;

// A font as the ring typesetter asks for it. Height is the cell height and
// width the average character width, in pixels; escapement turns the glyph
// counter-clockwise, in tenths of a degree.
struct FontRequest {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 400;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 128;
  std::uint8_t outPrecision = 4;
  std::uint8_t clipPrecision = 48;
  std::uint8_t quality = 2;
  std::uint8_t pitchAndFamily = 1;
  std::string_view faceName = "MS UI Gotic";

  friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// One call of text output: `bytes` drawn with `font` from (x, y).
struct GlyphRun {
  FontRequest font;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::string_view bytes;
};

class Surface {
 public:
  Surface() = default;
  // A surface of width x height white pixels; a side of 0 or less gives an
  // empty surface.
  Surface(int width, int height);

  [[nodiscard]] int width() const noexcept { return width_; }
  [[nodiscard]] int height() const noexcept { return height_; }
  [[nodiscard]] bool empty() const noexcept { return pixels_.empty(); }
  [[nodiscard]] Pixel pixel(int x, int y) const { return pixels_[index(x, y)]; }
  void setPixel(int x, int y, Pixel value) { pixels_[index(x, y)] = value; }
  [[nodiscard]] std::span<const Pixel> row(int y) const {
    return {pixels_.data() + index(0, y), static_cast<std::size_t>(width_)};
  }
  [[nodiscard]] std::span<Pixel> row(int y) {
    return {pixels_.data() + index(0, y), static_cast<std::size_t>(width_)};
  }
  [[nodiscard]] std::span<const Pixel> pixels() const noexcept { return pixels_; }

  void FillWhite();

  // Draws `bytes` (code page 932) with the font `font`, the top-left corner of
  // the first cell at (x, y): each cell is painted white, then its glyph in
  // black with grey-level edges. The face is resolved once per process.
  void TextOut(const FontRequest& font, int x, int y, std::string_view bytes);

  // The same as one TextOut after the other; a long list is drawn by two
  // threads on the two halves of the rows, so the pixels do not change.
  void DrawRuns(std::span<const GlyphRun> runs);

 private:
  [[nodiscard]] std::size_t index(int x, int y) const noexcept {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

// Copies `src` whole onto `dst` with its top-left corner at (dstX, dstY),
// clipped to `dst`.
void CopySurface(Surface& dst, int dstX, int dstY, const Surface& src);

// Copies `src` whole onto the rectangle (dstX, dstY, dstWidth, dstHeight) of
// `dst`, clipped to `dst`; only the visible part is computed. Shrinking keeps
// dark strokes (per-channel minimum of the source pixels that fall together);
// enlarging takes the nearest pixel.
void ScaledCopy(Surface& dst, int dstX, int dstY, int dstWidth, int dstHeight, const Surface& src);

}  // namespace lumo
