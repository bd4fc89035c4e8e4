// Canvas geometry from the settings.
#include "CanvasGeometry.h"

#include <cmath>

#include "Int32Arithmetic.h"

namespace lumo {

std::optional<CanvasGeometry> ComputeCanvasGeometry(const LabelSettings& settings) noexcept {
  // Evaluated left to right, as the radius has always been computed.
  const double outerRadius = settings.resolutionDpi * settings.diameterMm * 0.5 / 25.4;
  const double twoR = 2.0 * outerRadius;
  // A diameter or resolution of 0 or less is no label at all, however a
  // settings file came to hold it.
  if (!std::isfinite(settings.diameterMm) || !std::isfinite(settings.resolutionDpi) ||
      !(settings.diameterMm > 0) || !(settings.resolutionDpi > 0) || !std::isfinite(twoR) ||
      twoR >= kMaxCanvasSide + 1.0) {
    return std::nullopt;
  }
  CanvasGeometry geometry;
  geometry.outerRadiusPx = outerRadius;
  const auto side = static_cast<std::int32_t>(twoR);  // below one pixel: an empty canvas
  geometry.canvasRect = {side, side};
  // In 32-bit arithmetic that wraps, as the capacity has always been taken;
  // the dialog's rules keep it at 4 or more.
  geometry.textCapacity =
      WrappingProduct(WrappingProduct(settings.usedRings, settings.charsPerCircle), 2);
  return geometry;
}

Error NoCanvasFor(const LabelSettings& settings) {
  Error error(ErrorReason::SettingsNoCanvas);
  error.diameterMm = settings.diameterMm;
  error.resolutionDpi = settings.resolutionDpi;
  return error;
}

}  // namespace lumo
