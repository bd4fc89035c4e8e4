// The acceptance rules of the settings dialog.
#include "AcceptanceRules.h"

#include "CanvasGeometry.h"
#include "Truncate.h"

namespace lumo {

EnteredSettings ToEntered(const LabelSettings& settings) noexcept {
  return {TruncateToInt32(settings.diameterMm),
          TruncateToInt32(settings.resolutionDpi),
          settings.charsPerCircle,
          settings.ringCount,
          settings.firstRing,
          settings.usedRings};
}

LabelSettings FromEntered(const EnteredSettings& values) noexcept {
  return {static_cast<double>(values[0]),
          static_cast<double>(values[1]),
          values[2],
          values[3],
          values[4],
          values[5]};
}

RuleVerdicts CheckAcceptanceRules(const EnteredSettings& entered) noexcept {
  const auto [diameter, resolution, chars, rings, first, used] = entered;
  return {kDiameterRule.contains(diameter), kResolutionRule.contains(resolution),
          kCharsPerCircleRule.contains(chars),
          WrappingSum(first, used) <= rings && kRingCountRule.contains(rings) && used > 0};
}

EnteredSettings ApplyAcceptanceRules(const EnteredSettings& loaded,
                                     const EnteredSettings& entered) noexcept {
  EnteredSettings result = loaded;
  const RuleVerdicts verdicts = CheckAcceptanceRules(entered);
  if (verdicts.diameter) result[0] = entered[0];
  if (verdicts.resolution) result[1] = entered[1];
  if (verdicts.charsPerCircle) result[2] = entered[2];
  if (verdicts.ringGroup) {
    result[3] = entered[3];
    result[4] = entered[4];
    result[5] = entered[5];
  }
  // Each rule alone lets through a canvas that cannot be made (599 mm at
  // 23999 dpi); such a pair keeps the values the dialog was opened with.
  if (!ComputeCanvasGeometry(FromEntered(result))) {
    result[0] = loaded[0];
    result[1] = loaded[1];
  }
  return result;
}

}  // namespace lumo
