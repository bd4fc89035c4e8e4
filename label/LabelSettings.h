// The six layout settings of a label, their 32-byte file form and the rules
// under which values entered by the user are accepted.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace lumo {

struct LabelSettings {
  double diameterMm = 120.0;
  double resolutionDpi = 600.0;
  std::int32_t charsPerCircle = 150;
  std::int32_t ringCount = 45;
  std::int32_t firstRing = 1;
  std::int32_t usedRings = 30;

  friend bool operator==(const LabelSettings&, const LabelSettings&) = default;
};

inline constexpr std::size_t kSettingsFileSize = 32;
using SettingsBytes = std::array<std::uint8_t, kSettingsFileSize>;

// Little-endian: two binary64 values, then four 32-bit two's complement values.
[[nodiscard]] SettingsBytes EncodeSettings(const LabelSettings& settings);

// Reads the first 32 bytes; bytes after them are ignored. Values are taken as
// they are (no range check). Fewer than 32 bytes give nothing.
[[nodiscard]] std::optional<LabelSettings> DecodeSettings(std::span<const std::uint8_t> bytes);

// The six whole numbers of the settings dialog, in the order of LabelSettings.
using EnteredSettings = std::array<std::int32_t, 6>;

// The dialog's view of settings: the two doubles truncated toward zero.
// Values beyond the int32 range (only possible from a settings file) saturate.
[[nodiscard]] EnteredSettings ToEntered(const LabelSettings& settings) noexcept;

// The settings the dialog's six whole numbers stand for.
[[nodiscard]] LabelSettings FromEntered(const EnteredSettings& values) noexcept;

// Which of the four acceptance rules the entered values pass, each rule on
// its own: 41 to 599 mm, 61 to 23999 dpi, 2 to 300 characters per circle, and
// the ring group (1 to 79 rings, at least one used ring, first ring + used
// rings, taken in 32-bit arithmetic, not above the ring count).
struct RuleVerdicts {
  bool diameter = false;
  bool resolution = false;
  bool charsPerCircle = false;
  bool ringGroup = false;
};
[[nodiscard]] RuleVerdicts CheckAcceptanceRules(const EnteredSettings& entered) noexcept;

// Applies the four acceptance rules to `entered`, each on its own (the ring
// group all or none); whatever fails keeps its value from `loaded`, the values
// the dialog was opened with. A diameter and a resolution that would give a
// canvas beyond the limit together keep both their loaded values.
[[nodiscard]] EnteredSettings ApplyAcceptanceRules(const EnteredSettings& loaded,
                                                   const EnteredSettings& entered) noexcept;

}  // namespace lumo
