// The raster surface the label is drawn on: one plane of 32-bit pixels (bytes
// B, G, R, X), top row first, with the few operations the label needs.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace lumo {

// A pixel as a little-endian 32-bit word: 0x00RRGGBB.
using Pixel = std::uint32_t;
inline constexpr Pixel kWhite = 0x00FFFFFF;
inline constexpr Pixel kBlack = 0x00000000;

// Gives a surface's pixels back the way they were taken: a large image lies
// on whole pages of its own, which the kernel may back with huge pages.
struct SurfacePixelsDeleter {
  std::size_t mappedBytes = 0;  // 0: taken with new
  void operator()(Pixel* pixels) const noexcept;
};

class Surface {
 public:
  Surface() = default;
  // A surface of width x height white pixels; a side of 0 or less gives an
  // empty surface.
  Surface(int width, int height);
  // The same with pixels of no particular value, for a caller that fills
  // every row itself (and may do so on several threads).
  [[nodiscard]] static Surface Unfilled(int width, int height);

  Surface(const Surface& other);
  Surface& operator=(const Surface& other);
  Surface(Surface&&) noexcept = default;
  Surface& operator=(Surface&&) noexcept = default;
  ~Surface() = default;

  [[nodiscard]] int width() const noexcept { return width_; }
  [[nodiscard]] int height() const noexcept { return height_; }
  [[nodiscard]] bool empty() const noexcept { return pixels_ == nullptr; }
  [[nodiscard]] Pixel pixel(int x, int y) const { return pixels_[index(x, y)]; }
  [[nodiscard]] std::span<const Pixel> row(int y) const {
    return {pixels_.get() + index(0, y), static_cast<std::size_t>(width_)};
  }
  [[nodiscard]] std::span<Pixel> row(int y) {
    return {pixels_.get() + index(0, y), static_cast<std::size_t>(width_)};
  }
  [[nodiscard]] std::span<const Pixel> pixels() const noexcept {
    return {pixels_.get(), index(0, height_)};
  }

  void FillWhite() { FillWhite(0, height_); }
  // Rows [top, bottom) only.
  void FillWhite(int top, int bottom);

 private:
  using Pixels = std::unique_ptr<Pixel[], SurfacePixelsDeleter>;

  Surface(int width, int height, Pixels pixels) noexcept
      : width_(width), height_(height), pixels_(std::move(pixels)) {}
  [[nodiscard]] std::size_t index(int x, int y) const noexcept {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  Pixels pixels_;
};

// A label is drawn in greys only, so a pixel's green byte is its grey level;
// writes one level per pixel of `row` to `out`.
void GreyRow(std::span<const Pixel> row, std::uint8_t* out) noexcept;

// Copies `src` whole onto the rectangle (dstX, dstY, dstWidth, dstHeight) of
// `dst`, clipped to `dst`; only the visible part is computed. Shrinking keeps
// dark strokes (per-channel minimum of the source pixels that fall together);
// enlarging takes the nearest pixel.
void ScaledCopy(Surface& dst, int dstX, int dstY, int dstWidth, int dstHeight, const Surface& src);

}  // namespace lumo
