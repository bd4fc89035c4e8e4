// Canvas geometry from the settings, and the canvas rebuild.
#include "LabelCanvas.h"

#include <cmath>

namespace lumo {

CanvasGeometry ComputeCanvasGeometry(const LabelSettings& settings) noexcept {
  CanvasGeometry geometry;
  // Evaluated left to right, as the radius has always been computed.
  geometry.outerRadiusPx = settings.resolutionDpi * settings.diameterMm * 0.5 / 25.4;
  // Wraps as the 32-bit product always did; the dialog keeps it at 4 or more.
  geometry.textCapacity = static_cast<std::int32_t>(static_cast<std::int64_t>(settings.usedRings) *
                                                    settings.charsPerCircle * 2);
  const double twoR = 2.0 * geometry.outerRadiusPx;
  if (!std::isfinite(settings.diameterMm) || !std::isfinite(settings.resolutionDpi) ||
      !std::isfinite(twoR) || twoR >= kMaxCanvasSide + 1.0) {
    geometry.withinLimit = false;
    return geometry;
  }
  geometry.withinLimit = true;
  geometry.side = twoR >= 1.0 ? static_cast<std::int32_t>(twoR) : 0;
  geometry.imageSize = 4 * geometry.side * geometry.side;
  return geometry;
}

bool CanvasWithinLimit(const LabelSettings& settings) noexcept {
  return ComputeCanvasGeometry(settings).withinLimit;
}

bool CreateCanvas(LabelCanvas& canvas, const LabelSettings& settings) {
  const CanvasGeometry geometry = ComputeCanvasGeometry(settings);
  if (!geometry.withinLimit) return false;
  canvas.image = Surface(geometry.side, geometry.side);
  canvas.outerRadiusPx = geometry.outerRadiusPx;
  canvas.canvasRect = {0, 0, geometry.side, geometry.side};
  canvas.imageSize = geometry.imageSize;
  canvas.textCapacity = geometry.textCapacity;
  return true;
}

}  // namespace lumo
