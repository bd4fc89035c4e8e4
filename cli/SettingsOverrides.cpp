// The settings lumo-render works with: a settings file or the defaults, then
// the single values given as options, under the settings dialog's rules.
#include "SettingsOverrides.h"

#include <cmath>
#include <cstdio>

#include "AcceptanceRules.h"
#include "CanvasGeometry.h"
#include "SettingsFile.h"

namespace lumo::cli {
namespace {

enum Field : std::size_t { kDiameter, kResolution, kChars, kRings, kFirst, kUsed };

constexpr int kUnreadable = 1;
constexpr int kRefused = 2;

std::string FormatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string Option(std::size_t field, std::int32_t value) {
  return std::string(kSettingOptions[field]) + " " + std::to_string(value);
}

std::string Range(RuleRange range) {
  return std::to_string(range.min) + " to " + std::to_string(range.max);
}

Failure TooLarge(double diameterMm, double resolutionDpi, std::string refused) {
  return {kRefused, std::move(refused) + " refused: a " + FormatNumber(diameterMm) +
                        " mm label at " + FormatNumber(resolutionDpi) + " dpi needs more than " +
                        std::to_string(kMaxCanvasSide) + " pixels a side"};
}

Failure FileFailure(const std::string& path, const SettingsFileError& error) {
  using Reason = SettingsFileError::Reason;
  switch (error.reason) {
    case Reason::Unreadable:
      return {kUnreadable, error.message};
    case Reason::TooShort:
      return {kUnreadable, "cannot read settings file " + path + ": it has " +
                               std::to_string(error.size) + " bytes, a settings file has " +
                               std::to_string(kSettingsFileSize)};
    case Reason::NoCanvas:
      break;
  }
  const LabelSettings& s = error.settings;
  if (!std::isfinite(s.diameterMm) || !std::isfinite(s.resolutionDpi)) {
    return {kRefused, "settings refused: the diameter (" + FormatNumber(s.diameterMm) +
                          ") and the resolution (" + FormatNumber(s.resolutionDpi) +
                          ") must be finite numbers"};
  }
  return TooLarge(s.diameterMm, s.resolutionDpi, "settings");
}

// The rule a given value breaks, judged on the entered values alone, or empty.
std::string BrokenRule(const CommandLine& line, const EnteredSettings& entered) {
  const auto& given = line.overrides;
  const RuleVerdicts verdicts = CheckAcceptanceRules(entered);
  if (given[kDiameter] && !verdicts.diameter) {
    return Option(kDiameter, entered[kDiameter]) + " refused: the diameter must be " +
           Range(kDiameterRule) + " mm";
  }
  if (given[kResolution] && !verdicts.resolution) {
    return Option(kResolution, entered[kResolution]) + " refused: the resolution must be " +
           Range(kResolutionRule) + " dpi";
  }
  if (given[kChars] && !verdicts.charsPerCircle) {
    return Option(kChars, entered[kChars]) + " refused: characters per circle must be " +
           Range(kCharsPerCircleRule);
  }
  if ((!given[kRings] && !given[kFirst] && !given[kUsed]) || verdicts.ringGroup) return {};
  // The three ring values are accepted together or not at all.
  std::string named;
  for (const std::size_t field : {kRings, kFirst, kUsed}) {
    if (given[field]) named += (named.empty() ? "" : " ") + Option(field, entered[field]);
  }
  return named + " refused: the rings must be " + Range(kRingCountRule) +
         ", the used rings at least 1, and first ring + used rings (" +
         std::to_string(entered[kFirst]) + " + " + std::to_string(entered[kUsed]) +
         ") may not exceed the rings (" + std::to_string(entered[kRings]) + ")";
}

}  // namespace

Result<ResolvedSettings, Failure> ResolveSettings(const CommandLine& line) {
  LabelSettings base;
  if (line.settingsFile) {
    const auto loaded = LoadSettingsFile(*line.settingsFile);
    if (!loaded) return FileFailure(*line.settingsFile, loaded.error());
    base = *loaded;
  }

  const EnteredSettings loaded = ToEntered(base);
  EnteredSettings entered = loaded;
  for (std::size_t field = 0; field < entered.size(); ++field) {
    if (line.overrides[field]) entered[field] = *line.overrides[field];
  }
  if (std::string broken = BrokenRule(line, entered); !broken.empty()) {
    return Failure{kRefused, std::move(broken)};
  }
  const EnteredSettings accepted = ApplyAcceptanceRules(loaded, entered);
  // With every rule of its own met, a value can only have been kept back
  // because the diameter and the resolution together exceed the canvas limit.
  std::string keptBack;
  for (const std::size_t field : {kDiameter, kResolution}) {
    if (line.overrides[field] && accepted[field] != entered[field]) {
      keptBack += (keptBack.empty() ? "" : " ") + Option(field, entered[field]);
    }
  }
  if (!keptBack.empty()) return TooLarge(entered[kDiameter], entered[kResolution], keptBack);

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
  const std::optional<CanvasGeometry> geometry = ComputeCanvasGeometry(settings);
  if (!geometry) return TooLarge(settings.diameterMm, settings.resolutionDpi, "settings");
  return ResolvedSettings{settings, *geometry};
}

}  // namespace lumo::cli
