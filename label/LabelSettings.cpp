// Settings file form and the acceptance rules of the settings dialog.
#include "LabelSettings.h"

#include <bit>

#include "LabelCanvas.h"
#include "Truncate.h"

namespace lumo {
namespace {

void PutLittleEndian(std::uint8_t* out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t GetLittleEndian(const std::uint8_t* in, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= std::uint64_t{in[i]} << (8 * i);
  return value;
}

}  // namespace

SettingsBytes EncodeSettings(const LabelSettings& settings) {
  SettingsBytes bytes{};
  PutLittleEndian(&bytes[0], std::bit_cast<std::uint64_t>(settings.diameterMm), 8);
  PutLittleEndian(&bytes[8], std::bit_cast<std::uint64_t>(settings.resolutionDpi), 8);
  PutLittleEndian(&bytes[16], static_cast<std::uint32_t>(settings.charsPerCircle), 4);
  PutLittleEndian(&bytes[20], static_cast<std::uint32_t>(settings.ringCount), 4);
  PutLittleEndian(&bytes[24], static_cast<std::uint32_t>(settings.firstRing), 4);
  PutLittleEndian(&bytes[28], static_cast<std::uint32_t>(settings.usedRings), 4);
  return bytes;
}

std::optional<LabelSettings> DecodeSettings(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kSettingsFileSize) return std::nullopt;
  LabelSettings settings;
  settings.diameterMm = std::bit_cast<double>(GetLittleEndian(&bytes[0], 8));
  settings.resolutionDpi = std::bit_cast<double>(GetLittleEndian(&bytes[8], 8));
  auto int32At = [&](std::size_t offset) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLittleEndian(&bytes[offset], 4)));
  };
  settings.charsPerCircle = int32At(16);
  settings.ringCount = int32At(20);
  settings.firstRing = int32At(24);
  settings.usedRings = int32At(28);
  return settings;
}

EnteredSettings ToEntered(const LabelSettings& settings) noexcept {
  return {TruncateToInt32(settings.diameterMm), TruncateToInt32(settings.resolutionDpi),
          settings.charsPerCircle, settings.ringCount, settings.firstRing, settings.usedRings};
}

LabelSettings FromEntered(const EnteredSettings& values) noexcept {
  return {static_cast<double>(values[0]), static_cast<double>(values[1]), values[2], values[3],
          values[4], values[5]};
}

RuleVerdicts CheckAcceptanceRules(const EnteredSettings& entered) noexcept {
  const auto [diameter, resolution, chars, rings, first, used] = entered;
  // The sum wraps as 32-bit signed arithmetic does.
  const auto sum = static_cast<std::int32_t>(static_cast<std::uint32_t>(first) +
                                             static_cast<std::uint32_t>(used));
  return {diameter > 40 && diameter < 600, resolution > 60 && resolution < 24000,
          chars > 1 && chars <= 300, sum <= rings && rings > 0 && rings < 80 && used > 0};
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
  if (!CanvasWithinLimit(FromEntered(result))) {
    result[0] = loaded[0];
    result[1] = loaded[1];
  }
  return result;
}

}  // namespace lumo
