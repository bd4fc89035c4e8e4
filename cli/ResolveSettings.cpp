// The settings lumo-render works with: a settings file or the defaults, then
// the single values given as options, under the settings dialog's rules.
#include "ResolveSettings.h"

#include "AcceptanceRules.h"
#include "CanvasGeometry.h"
#include "ErrorText.h"
#include "SettingsFile.h"

namespace lumo::cli {
namespace {

// Indices of kSettingOptions and kEnteredFields.
enum Field : std::size_t { kDiameter, kResolution, kChars, kRings, kFirst, kUsed };

std::string Option(std::size_t field, std::int32_t value) {
  return std::string(kSettingOptions[field]) + " " + std::to_string(value);
}

// The rule a given value breaks, judged on the entered values alone, or empty.
std::string BrokenRule(const CommandLine& line, const EnteredSettings& entered) {
  const auto& given = line.overrides;
  const RuleVerdicts verdicts = CheckAcceptanceRules(entered);
  if (given[kDiameter] && !verdicts.diameter) {
    return Option(kDiameter, entered.diameter) + " refused: the diameter must be " +
           RangeText(kDiameterRule) + " mm";
  }
  if (given[kResolution] && !verdicts.resolution) {
    return Option(kResolution, entered.resolution) + " refused: the resolution must be " +
           RangeText(kResolutionRule) + " dpi";
  }
  if (given[kChars] && !verdicts.charsPerCircle) {
    return Option(kChars, entered.charsPerCircle) + " refused: characters per circle must be " +
           RangeText(kCharsPerCircleRule);
  }
  if ((!given[kRings] && !given[kFirst] && !given[kUsed]) || verdicts.ringGroup) return {};
  // The three ring values are accepted together or not at all.
  std::string named;
  for (const std::size_t field : {kRings, kFirst, kUsed}) {
    if (given[field])
      named += (named.empty() ? "" : " ") + Option(field, entered.*kEnteredFields[field]);
  }
  return named + " refused: the rings must be " + RangeText(kRingCountRule) +
         ", the used rings at least 1, and first ring + used rings (" +
         std::to_string(entered.firstRing) + " + " + std::to_string(entered.usedRings) +
         ") may not exceed the rings (" + std::to_string(entered.ringCount) + ")";
}

}  // namespace

Result<LabelSettings, Failure> ResolveSettings(const CommandLine& line) {
  LabelSettings base;
  if (line.settingsFile) {
    Result<LabelSettings> loaded = LoadSettingsFile(*line.settingsFile);
    if (!loaded) return FailureOf(loaded.error());
    base = *loaded;
  }

  const EnteredSettings loaded = ToEntered(base);
  EnteredSettings entered = loaded;
  for (std::size_t field = 0; field < kEnteredFields.size(); ++field) {
    if (line.overrides[field]) entered.*kEnteredFields[field] = *line.overrides[field];
  }
  if (std::string broken = BrokenRule(line, entered); !broken.empty()) {
    return Failure{kExitUsage, std::move(broken)};
  }
  const EnteredSettings accepted = ApplyAcceptanceRules(loaded, entered);
  // With every rule of its own met, a value can only have been kept back
  // because the diameter and the resolution together exceed the canvas limit.
  std::string keptBack;
  for (const std::size_t field : {kDiameter, kResolution}) {
    if (line.overrides[field] &&
        accepted.*kEnteredFields[field] != entered.*kEnteredFields[field]) {
      keptBack += (keptBack.empty() ? "" : " ") + Option(field, entered.*kEnteredFields[field]);
    }
  }
  if (!keptBack.empty()) {
    return Failure{kExitUsage, NoCanvasText(entered.diameter, entered.resolution, keptBack)};
  }

  // Fields not given keep their exact values (a settings file may hold 120.5).
  const LabelSettings chosen = FromEntered(accepted);
  LabelSettings settings = base;
  if (line.overrides[kDiameter]) settings.diameterMm = chosen.diameterMm;
  if (line.overrides[kResolution]) settings.resolutionDpi = chosen.resolutionDpi;
  if (line.overrides[kChars]) settings.charsPerCircle = chosen.charsPerCircle;
  if (line.overrides[kRings]) settings.ringCount = chosen.ringCount;
  if (line.overrides[kFirst]) settings.firstRing = chosen.firstRing;
  if (line.overrides[kUsed]) settings.usedRings = chosen.usedRings;
  // An override of one of the two can still leave a file's other value
  // beyond what a canvas allows.
  if (!ComputeCanvasGeometry(settings)) {
    return Failure{kExitUsage,
                   NoCanvasText(settings.diameterMm, settings.resolutionDpi, "settings")};
  }
  return settings;
}

}  // namespace lumo::cli
