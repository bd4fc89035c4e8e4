// The numbers a label's canvas derives from the settings: outer radius,
// canvas rectangle and text capacity.
#pragma once

#include <cstdint>
#include <optional>

#include "LabelSettings.h"
#include "Result.h"

namespace lumo {

// The canvas rectangle (0, 0, width, height): its origin is always the corner.
struct CanvasRect {
  std::int32_t width = 0;
  std::int32_t height = 0;

  friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

struct CanvasGeometry {
  double outerRadiusPx = 0.0;
  CanvasRect canvasRect;          // side x side; side 0 when 2R is below 1
  std::int32_t textCapacity = 0;  // bytes of text the composer keeps

  friend bool operator==(const CanvasGeometry&, const CanvasGeometry&) = default;
};

// The largest side whose image, counted in bits (32 x side x side), stays
// below 2^31: 8191 pixels.
inline constexpr std::int32_t kMaxCanvasSide = 8191;

// The geometry of the canvas for `settings`, or nothing when that canvas
// cannot be made: a diameter or resolution that is not a finite number above
// 0, or a side beyond kMaxCanvasSide. A side below one pixel gives an empty
// canvas.
[[nodiscard]] std::optional<CanvasGeometry> ComputeCanvasGeometry(
    const LabelSettings& settings) noexcept;

// Why `settings` give no canvas: SettingsNoCanvas with their diameter and
// resolution.
[[nodiscard]] Error NoCanvasFor(const LabelSettings& settings);

}  // namespace lumo
