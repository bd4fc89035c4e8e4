// Arithmetic of the zoomable label preview: fit to width or whole, wheel steps about the
// cursor, where the scaled label lands, and keeping the view across a rebuild.
#pragma once

#include <cstdint>
#include <optional>

namespace lumo {

// zoom is window pixels per canvas pixel; (viewCenterX, viewCenterY) is the
// canvas point shown at the anchor (w / 2, w / 2) of a client area w wide.
struct PreviewState {
  double zoom = 1.0;
  double viewCenterX = 0.0;
  double viewCenterY = 0.0;

  friend bool operator==(const PreviewState&, const PreviewState&) = default;
};

inline constexpr double kWheelZoomIn = 1.2;
inline constexpr double kWheelZoomOut = 0.8333333333333334;
// A wheel step is refused when it would reach these bounds (both exclusive).
inline constexpr double kWheelZoomCeiling = 12.0;
inline constexpr double kWheelZoomFloor = 0.02;

// The label spans the client width with its top edge on the window's top edge.
// A client area or a canvas without width would give a zoom of 0 or infinity:
// then the previous zoom stays (1.0 when it is not a positive finite number).
[[nodiscard]] PreviewState FitToWidth(const PreviewState& previous, std::int32_t clientWidth,
                                      std::int32_t canvasWidth, std::int32_t canvasHeight) noexcept;

// The whole label in the client area, as large as it fits, in its middle:
// both sides from the canvas width, as the label is drawn. Without a client
// area or a canvas, the fit to the width's fallback.
[[nodiscard]] PreviewState FitWhole(const PreviewState& previous, std::int32_t clientWidth,
                                    std::int32_t clientHeight, std::int32_t canvasWidth,
                                    std::int32_t canvasHeight) noexcept;

// One wheel message: every delta of 0 or more is one step up, every negative
// delta one step down, whatever its size. (pointerX, pointerY) is the cursor in
// client pixels; the canvas point under it stays under it.
[[nodiscard]] PreviewState WheelStep(const PreviewState& state, int delta, double pointerX,
                                     double pointerY, std::int32_t clientWidth) noexcept;

struct PreviewRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  friend bool operator==(const PreviewRect&, const PreviewRect&) = default;
};

// Where the square canvas is drawn in the client area: both sides from the
// canvas width, both coordinates from half the client width.
[[nodiscard]] PreviewRect PreviewDestination(const PreviewState& state, std::int32_t canvasWidth,
                                             std::int32_t clientWidth) noexcept;

// The preview relative to its canvas, so that it survives a canvas of another
// size: the anchored point as a fraction of the canvas, and the label's
// on-screen size as a fraction of the client width.
struct PreviewRatios {
  double x = 0.0;
  double y = 0.0;
  double zoom = 0.0;
};

// Nothing when the ratios would not be finite (empty canvas, no client width).
[[nodiscard]] std::optional<PreviewRatios> CapturePreviewRatios(const PreviewState& state,
                                                                std::int32_t canvasWidth,
                                                                std::int32_t canvasHeight,
                                                                std::int32_t clientWidth) noexcept;

// The preview of `ratios` on the new canvas. Without ratios, or when they give
// no usable zoom on the new canvas, the label is fitted to the width instead.
[[nodiscard]] PreviewState RestorePreview(const PreviewState& previous,
                                          const std::optional<PreviewRatios>& ratios,
                                          std::int32_t clientWidth, std::int32_t canvasWidth,
                                          std::int32_t canvasHeight) noexcept;

// The rectangle of PreviewDestination in device pixels, for a screen with
// `devicePixelRatio` device pixels per window pixel: scaled before truncation,
// so a ratio of 1 gives exactly PreviewDestination.
[[nodiscard]] PreviewRect DevicePreviewDestination(const PreviewState& state,
                                                   std::int32_t canvasWidth,
                                                   std::int32_t clientWidth,
                                                   double devicePixelRatio) noexcept;

// A mouse wheel sends 120 per notch, a touchpad many small deltas; counting a
// step per 120 units moved in one direction makes both zoom alike.
inline constexpr int kWheelDeltaPerStep = 120;

class WheelAccumulator {
 public:
  // Adds one wheel delta and returns the steps it completes: positive up,
  // negative down. Turning back drops what was gathered the other way.
  [[nodiscard]] int Add(int delta) noexcept;

 private:
  // Wider than a delta, so no run of deltas overflows it.
  std::int64_t pending_ = 0;
};

// The preview dragged by (dx, dy) window pixels: the canvas point under the
// pointer moves with it. A state without a usable zoom stays as it is.
[[nodiscard]] PreviewState Pan(const PreviewState& state, double dx, double dy) noexcept;

}  // namespace lumo
