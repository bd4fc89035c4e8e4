// The acceptance rules of the settings dialog.
#include "AcceptanceRules.h"

#include "CanvasGeometry.h"
#include "Int32Arithmetic.h"

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
  return {static_cast<double>(values.diameter),
          static_cast<double>(values.resolution),
          values.charsPerCircle,
          values.ringCount,
          values.firstRing,
          values.usedRings};
}

RuleVerdicts CheckAcceptanceRules(const EnteredSettings& e) noexcept {
  return {kDiameterRule.contains(e.diameter), kResolutionRule.contains(e.resolution),
          kCharsPerCircleRule.contains(e.charsPerCircle),
          WrappingSum(e.firstRing, e.usedRings) <= e.ringCount &&
              kRingCountRule.contains(e.ringCount) && e.usedRings > 0};
}

EnteredSettings ApplyAcceptanceRules(const EnteredSettings& loaded,
                                     const EnteredSettings& entered) noexcept {
  EnteredSettings result = loaded;
  const RuleVerdicts verdicts = CheckAcceptanceRules(entered);
  if (verdicts.diameter) result.diameter = entered.diameter;
  if (verdicts.resolution) result.resolution = entered.resolution;
  if (verdicts.charsPerCircle) result.charsPerCircle = entered.charsPerCircle;
  if (verdicts.ringGroup) {
    result.ringCount = entered.ringCount;
    result.firstRing = entered.firstRing;
    result.usedRings = entered.usedRings;
  }
  // Each rule alone lets through a canvas that cannot be made (599 mm at
  // 23999 dpi); such a pair keeps the values the dialog was opened with.
  if (!ComputeCanvasGeometry(FromEntered(result))) {
    result.diameter = loaded.diameter;
    result.resolution = loaded.resolution;
  }
  return result;
}

}  // namespace lumo
