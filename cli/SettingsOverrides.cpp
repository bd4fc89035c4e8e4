// The settings lumo-render works with: a settings file or the defaults, then
// the single values given as options, under the settings dialog's rules.
#include "SettingsOverrides.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <span>

#include "FileStart.h"
#include "LabelCanvas.h"

namespace lumo::cli {
namespace {

enum Field : std::size_t { kDiameter, kResolution, kChars, kRings, kFirst, kUsed };

std::string FormatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string Option(std::size_t field, std::int32_t value) {
  return std::string(kSettingOptions[field]) + " " + std::to_string(value);
}

struct ReadOutcome {
  std::optional<LabelSettings> settings;
  std::string error;
};

// Only the first 32 bytes count; a longer file is read no further.
ReadOutcome ReadSettingsFile(const std::string& path) {
  ReadOutcome out;
  const FileStart start = ReadFileStart(path, kSettingsFileSize);
  if (start.error != 0) {
    out.error = "cannot read settings file " + path + ": " + std::strerror(start.error);
  } else if (start.bytes.size() < kSettingsFileSize) {
    out.error = "cannot read settings file " + path + ": it has " +
                std::to_string(start.bytes.size()) + " bytes, a settings file has " +
                std::to_string(kSettingsFileSize);
  } else {
    out.settings = DecodeSettings(std::span(
        reinterpret_cast<const std::uint8_t*>(start.bytes.data()), start.bytes.size()));
  }
  return out;
}

// The rule a given value breaks, judged on the entered values alone, or empty.
std::string BrokenRule(const CommandLine& line, const EnteredSettings& entered) {
  const auto& given = line.overrides;
  const RuleVerdicts verdicts = CheckAcceptanceRules(entered);
  if (given[kDiameter] && !verdicts.diameter) {
    return Option(kDiameter, entered[kDiameter]) + " refused: the diameter must be 41 to 599 mm";
  }
  if (given[kResolution] && !verdicts.resolution) {
    return Option(kResolution, entered[kResolution]) +
           " refused: the resolution must be 61 to 23999 dpi";
  }
  if (given[kChars] && !verdicts.charsPerCircle) {
    return Option(kChars, entered[kChars]) + " refused: characters per circle must be 2 to 300";
  }
  if ((!given[kRings] && !given[kFirst] && !given[kUsed]) || verdicts.ringGroup) return {};
  // The three ring values are accepted together or not at all.
  std::string named;
  for (const std::size_t field : {kRings, kFirst, kUsed}) {
    if (given[field]) named += (named.empty() ? "" : " ") + Option(field, entered[field]);
  }
  return named + " refused: the rings must be 1 to 79, the used rings at least 1, and first ring" +
         " + used rings (" + std::to_string(entered[kFirst]) + " + " +
         std::to_string(entered[kUsed]) + ") may not exceed the rings (" +
         std::to_string(entered[kRings]) + ")";
}

}  // namespace

SettingsOutcome ResolveSettings(const CommandLine& line) {
  SettingsOutcome out;
  LabelSettings base;
  if (line.settingsFile) {
    ReadOutcome read = ReadSettingsFile(*line.settingsFile);
    if (!read.settings) {
      out.exitStatus = 1;
      out.error = std::move(read.error);
      return out;
    }
    base = *read.settings;
  }

  const EnteredSettings loaded = ToEntered(base);
  EnteredSettings entered = loaded;
  for (std::size_t field = 0; field < entered.size(); ++field) {
    if (line.overrides[field]) entered[field] = *line.overrides[field];
  }
  const EnteredSettings accepted = ApplyAcceptanceRules(loaded, entered);

  if (std::string broken = BrokenRule(line, entered); !broken.empty()) {
    out.exitStatus = 2;
    out.error = std::move(broken);
    return out;
  }
  // With every rule of its own met, a value can only have been kept back
  // because the diameter and the resolution together exceed the canvas limit.
  std::string keptBack;
  for (const std::size_t field : {kDiameter, kResolution}) {
    if (line.overrides[field] && accepted[field] != entered[field]) {
      keptBack += (keptBack.empty() ? "" : " ") + Option(field, entered[field]);
    }
  }
  if (!keptBack.empty()) {
    out.exitStatus = 2;
    out.error = keptBack + " refused: a " + std::to_string(entered[kDiameter]) + " mm label at " +
                std::to_string(entered[kResolution]) + " dpi needs more than " +
                std::to_string(kMaxCanvasSide) + " pixels a side";
    return out;
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

  if (!std::isfinite(settings.diameterMm) || !std::isfinite(settings.resolutionDpi)) {
    out.exitStatus = 2;
    out.error = "settings refused: the diameter (" + FormatNumber(settings.diameterMm) +
                ") and the resolution (" + FormatNumber(settings.resolutionDpi) +
                ") must be finite numbers";
    return out;
  }
  if (!CanvasWithinLimit(settings)) {
    out.exitStatus = 2;
    out.error = "settings refused: a " + FormatNumber(settings.diameterMm) + " mm label at " +
                FormatNumber(settings.resolutionDpi) + " dpi needs more than " +
                std::to_string(kMaxCanvasSide) + " pixels a side";
    return out;
  }
  out.ok = true;
  out.settings = settings;
  return out;
}

}  // namespace lumo::cli
