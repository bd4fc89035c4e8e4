// The rules under which values entered by the user are accepted, and the six
// whole numbers the settings dialog shows and reads.
#pragma once

#include <array>
#include <cstdint>

#include "LabelSettings.h"

namespace lumo {

// The six whole numbers of the settings dialog, one per setting.
struct EnteredSettings {
  std::int32_t diameter = 0;
  std::int32_t resolution = 0;
  std::int32_t charsPerCircle = 0;
  std::int32_t ringCount = 0;
  std::int32_t firstRing = 0;
  std::int32_t usedRings = 0;

  friend bool operator==(const EnteredSettings&, const EnteredSettings&) = default;
};

// The fields in the order of LabelSettings, which is the dialog's tab order.
inline constexpr std::array<std::int32_t EnteredSettings::*, 6> kEnteredFields = {
    &EnteredSettings::diameter,  &EnteredSettings::resolution, &EnteredSettings::charsPerCircle,
    &EnteredSettings::ringCount, &EnteredSettings::firstRing,  &EnteredSettings::usedRings};

// The dialog's view of settings: the two doubles truncated toward zero.
// Values beyond the int32 range (only possible from a settings file) saturate.
[[nodiscard]] EnteredSettings ToEntered(const LabelSettings& settings) noexcept;

// The settings the dialog's six whole numbers stand for.
[[nodiscard]] LabelSettings FromEntered(const EnteredSettings& values) noexcept;

// An inclusive range of whole numbers a rule accepts.
struct RuleRange {
  std::int32_t min;
  std::int32_t max;
  [[nodiscard]] constexpr bool contains(std::int32_t v) const noexcept {
    return v >= min && v <= max;
  }
};

inline constexpr RuleRange kDiameterRule{41, 599};
inline constexpr RuleRange kResolutionRule{61, 23999};
inline constexpr RuleRange kCharsPerCircleRule{2, 300};
// The ring group: the ring count in this range, at least one used ring, and
// first ring + used rings (32-bit arithmetic) not above the ring count.
inline constexpr RuleRange kRingCountRule{1, 79};

// Which of the four acceptance rules the entered values pass, each on its own.
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
