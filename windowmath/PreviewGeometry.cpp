// Arithmetic of the zoomable label preview, kept free of any window system so
// that every number of the preview is tested on its own.
#include "PreviewGeometry.h"

#include <algorithm>
#include <cmath>

#include "Int32Arithmetic.h"

namespace lumo {

namespace {

[[nodiscard]] bool UsableZoom(double zoom) noexcept { return std::isfinite(zoom) && zoom > 0.0; }

}  // namespace

PreviewState FitToWidth(const PreviewState& previous, std::int32_t clientWidth,
                        std::int32_t canvasWidth, std::int32_t canvasHeight) noexcept {
  PreviewState fitted;
  if (clientWidth > 0 && canvasWidth > 0) {
    fitted.zoom = static_cast<double>(clientWidth) / static_cast<double>(canvasWidth);
  } else {
    fitted.zoom = UsableZoom(previous.zoom) ? previous.zoom : 1.0;
  }
  fitted.viewCenterX = static_cast<double>(canvasWidth) * 0.5;
  fitted.viewCenterY = static_cast<double>(canvasHeight) * 0.5;
  return fitted;
}

PreviewState FitWhole(const PreviewState& previous, std::int32_t clientWidth,
                      std::int32_t clientHeight, std::int32_t canvasWidth,
                      std::int32_t canvasHeight) noexcept {
  if (clientWidth <= 0 || clientHeight <= 0 || canvasWidth <= 0) {
    return FitToWidth(previous, 0, canvasWidth, canvasHeight);
  }
  PreviewState fitted;
  fitted.zoom =
      static_cast<double>(std::min(clientWidth, clientHeight)) / static_cast<double>(canvasWidth);
  fitted.viewCenterX = static_cast<double>(canvasWidth) * 0.5;
  // The anchor lies half the client width down, not half its height: the
  // centre moves by the difference to bring the label to the middle.
  fitted.viewCenterY = static_cast<double>(canvasHeight) * 0.5 +
                       static_cast<double>(clientWidth - clientHeight) * 0.5 / fitted.zoom;
  return fitted;
}

PreviewState WheelStep(const PreviewState& state, int delta, double pointerX, double pointerY,
                       std::int32_t clientWidth) noexcept {
  if (!UsableZoom(state.zoom)) return state;
  PreviewState next = state;
  const double oldZoom = state.zoom;
  if (delta >= 0) {
    const double candidate = state.zoom * kWheelZoomIn;
    if (candidate < kWheelZoomCeiling) next.zoom = candidate;
  } else {
    const double candidate = state.zoom * kWheelZoomOut;
    if (candidate > kWheelZoomFloor) next.zoom = candidate;
  }
  if (next.zoom == oldZoom) return next;
  const double e = 1.0 / next.zoom - 1.0 / oldZoom;
  // The anchor lies at half the client width on both axes.
  const double half = static_cast<double>(clientWidth) * 0.5;
  next.viewCenterX -= (pointerX - half) * e;
  next.viewCenterY -= (pointerY - half) * e;
  return next;
}

PreviewRect PreviewDestination(const PreviewState& state, std::int32_t canvasWidth,
                               std::int32_t clientWidth) noexcept {
  return DevicePreviewDestination(state, canvasWidth, clientWidth, 1.0);
}

std::optional<PreviewRatios> CapturePreviewRatios(const PreviewState& state,
                                                  std::int32_t canvasWidth,
                                                  std::int32_t canvasHeight,
                                                  std::int32_t clientWidth) noexcept {
  if (canvasWidth <= 0 || canvasHeight <= 0 || clientWidth <= 0 || !UsableZoom(state.zoom)) {
    return std::nullopt;
  }
  const PreviewRatios ratios{
      state.viewCenterX / static_cast<double>(canvasWidth),
      state.viewCenterY / static_cast<double>(canvasHeight),
      static_cast<double>(clientWidth) / (static_cast<double>(canvasWidth) * state.zoom)};
  if (!std::isfinite(ratios.x) || !std::isfinite(ratios.y) || !UsableZoom(ratios.zoom)) {
    return std::nullopt;
  }
  return ratios;
}

PreviewState RestorePreview(const PreviewState& previous,
                            const std::optional<PreviewRatios>& ratios, std::int32_t clientWidth,
                            std::int32_t canvasWidth, std::int32_t canvasHeight) noexcept {
  if (ratios && clientWidth > 0 && canvasWidth > 0 && canvasHeight > 0) {
    PreviewState restored;
    restored.viewCenterX = static_cast<double>(canvasWidth) * ratios->x;
    restored.viewCenterY = static_cast<double>(canvasHeight) * ratios->y;
    restored.zoom =
        static_cast<double>(clientWidth) / (static_cast<double>(canvasWidth) * ratios->zoom);
    if (UsableZoom(restored.zoom)) return restored;
  }
  return FitToWidth(previous, clientWidth, canvasWidth, canvasHeight);
}

PreviewRect DevicePreviewDestination(const PreviewState& state, std::int32_t canvasWidth,
                                     std::int32_t clientWidth, double devicePixelRatio) noexcept {
  const double ratio = devicePixelRatio;
  const std::int32_t side = TruncateToInt32(static_cast<double>(canvasWidth) * state.zoom * ratio);
  const double half = static_cast<double>(clientWidth) * 0.5;
  return PreviewRect{TruncateToInt32((half - state.viewCenterX * state.zoom) * ratio),
                     TruncateToInt32((half - state.viewCenterY * state.zoom) * ratio), side, side};
}

int WheelAccumulator::Add(int delta) noexcept {
  if ((pending_ > 0 && delta < 0) || (pending_ < 0 && delta > 0)) pending_ = 0;
  pending_ += delta;
  // Division truncates toward zero, so a remainder keeps the sign of its direction.
  const std::int64_t steps = pending_ / kWheelDeltaPerStep;
  pending_ -= steps * kWheelDeltaPerStep;
  return static_cast<int>(steps);
}

PreviewState Pan(const PreviewState& state, double dx, double dy) noexcept {
  if (!UsableZoom(state.zoom)) return state;
  PreviewState moved = state;
  moved.viewCenterX -= dx / state.zoom;
  moved.viewCenterY -= dy / state.zoom;
  return moved;
}

}  // namespace lumo
