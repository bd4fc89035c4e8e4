// The numbers a label's canvas derives from the settings: outer radius,
// canvas rectangle, image size and text capacity.
#pragma once

#include <cstdint>
#include <optional>

#include "LabelSettings.h"

namespace lumo {

struct CanvasRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  [[nodiscard]] std::int32_t width() const noexcept { return right - left; }
  [[nodiscard]] std::int32_t height() const noexcept { return bottom - top; }
  friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

struct CanvasGeometry {
  double outerRadiusPx = 0.0;
  CanvasRect canvasRect;          // (0, 0, side, side); side 0 when 2R is below 1
  std::int32_t imageSize = 0;     // bytes at one plane of 32 bits per pixel
  std::int32_t textCapacity = 0;  // bytes of text the composer keeps

  friend bool operator==(const CanvasGeometry&, const CanvasGeometry&) = default;
};

// The largest side whose image, counted in bits (32 x side x side), stays
// below 2^31: 8191 pixels.
inline constexpr std::int32_t kMaxCanvasSide = 8191;

// The geometry of the canvas for `settings`, or nothing when that canvas
// cannot be made: diameter or resolution not finite, or a side beyond
// kMaxCanvasSide. A side of 0 or less gives an empty canvas.
[[nodiscard]] std::optional<CanvasGeometry> ComputeCanvasGeometry(
    const LabelSettings& settings) noexcept;

}  // namespace lumo
