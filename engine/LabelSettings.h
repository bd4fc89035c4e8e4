// The six layout settings of a label: the whole of a lumo document.
#pragma once

#include <cstdint>

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

}  // namespace lumo
