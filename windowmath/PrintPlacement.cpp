// The printed label's place on the paper.
#include "PrintPlacement.h"

#include <algorithm>
#include <cmath>

namespace lumo {
namespace {

double Tenths(double value, double neutral, double low, double high) {
  if (!std::isfinite(value)) return neutral;
  return std::round(std::clamp(value, low, high) * 10.0) / 10.0;
}

}  // namespace

PrintCalibration ClampCalibration(const PrintCalibration& c) noexcept {
  return {Tenths(c.offsetAcrossMm, 0.0, -kMaxPrintOffsetMm, kMaxPrintOffsetMm),
          Tenths(c.offsetDownMm, 0.0, -kMaxPrintOffsetMm, kMaxPrintOffsetMm),
          Tenths(c.scalePercent, 100.0, kMinPrintScalePercent, kMaxPrintScalePercent)};
}

PrintRect PlaceLabelAt(double centreXMm, double centreYMm, double labelSideMm,
                       const PrintCalibration& calibration) noexcept {
  const PrintCalibration c = ClampCalibration(calibration);
  const double side = labelSideMm * c.scalePercent / 100.0;
  const double centreX = centreXMm + c.offsetAcrossMm;
  const double centreY = centreYMm + c.offsetDownMm;
  return {centreX - side / 2.0, centreY - side / 2.0, side, side};
}

PrintRect PlaceLabel(double paperWidthMm, double paperHeightMm, double labelSideMm,
                     const PrintCalibration& calibration) noexcept {
  return PlaceLabelAt(paperWidthMm / 2.0, paperHeightMm / 2.0, labelSideMm, calibration);
}

bool FitsOnPaper(const PrintRect& label, double paperWidthMm, double paperHeightMm) noexcept {
  // Within a hundredth of a millimetre: a label as wide as its paper fits.
  constexpr double kSlack = 0.01;
  return label.left >= -kSlack && label.top >= -kSlack &&
         label.left + label.width <= paperWidthMm + kSlack &&
         label.top + label.height <= paperHeightMm + kSlack;
}

}  // namespace lumo
