// The off-screen image of a whole label and the values derived from the
// settings with it: outer radius, canvas rectangle, image size, text capacity.
#pragma once

#include <cstdint>

#include "LabelSettings.h"
#include "Surface.h"

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

struct LabelCanvas {
  Surface image;
  double outerRadiusPx = 0.0;
  CanvasRect canvasRect;
  std::int32_t imageSize = 0;
  std::int32_t textCapacity = 0;
};

// The numbers a canvas would have for `settings`, without making it.
struct CanvasGeometry {
  double outerRadiusPx = 0.0;
  std::int32_t side = 0;        // 0 when 2R is below 1 (an empty canvas)
  std::int32_t imageSize = 0;   // bytes at one plane of 32 bits per pixel
  std::int32_t textCapacity = 0;
  bool withinLimit = false;     // false: the canvas cannot be made
};

// The largest side whose image, counted in bits (32 x side x side), stays
// below 2^31: 8191 pixels.
inline constexpr std::int32_t kMaxCanvasSide = 8191;

[[nodiscard]] CanvasGeometry ComputeCanvasGeometry(const LabelSettings& settings) noexcept;

// True when a canvas can be made for these settings: diameter and resolution
// finite and a side of at most kMaxCanvasSide. A side of 0 or less is allowed
// and gives an empty canvas.
[[nodiscard]] bool CanvasWithinLimit(const LabelSettings& settings) noexcept;

// Rebuilds the canvas from `settings`: a white image and every derived value.
// Beyond the limit nothing is touched and the result is false.
[[nodiscard]] bool CreateCanvas(LabelCanvas& canvas, const LabelSettings& settings);

}  // namespace lumo
