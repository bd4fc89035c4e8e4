// The acceptance rules of the settings dialog.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "AcceptanceRules.h"

namespace lumo {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

const EnteredSettings kLoaded = ToEntered(LabelSettings{});  // 120 600 150 45 1 30

TEST(AcceptanceRules, SingleFieldBoundaries) {
  // Field, value, accepted.
  const std::tuple<std::size_t, int, bool> cases[] = {
      {0, 40, false}, {0, 41, true},  {0, 599, true},  {0, 600, false},   {0, -120, false},
      {1, 60, false}, {1, 61, true},  {1, 1200, true}, {1, 24000, false}, {2, 1, false},
      {2, 2, true},   {2, 300, true}, {2, 301, false}, {2, 0, false},
  };
  // At 61 dpi even 599 mm gives a canvas that can be made.
  EnteredSettings start = kLoaded;
  start[1] = 61;
  for (const auto& [field, value, accepted] : cases) {
    EnteredSettings entered = start;
    entered[field] = value;
    EXPECT_EQ(ApplyAcceptanceRules(start, entered)[field], accepted ? value : start[field])
        << "field " << field << " value " << value;
  }
}

TEST(AcceptanceRules, RingGroupIsAcceptedWholeOrNotAtAll) {
  for (const EnteredSettings& taken :
       {EnteredSettings{120, 600, 150, 45, 15, 30}, EnteredSettings{120, 600, 150, 79, 0, 79},
        EnteredSettings{120, 600, 150, 10, -5, 3}}) {
    EXPECT_EQ(ApplyAcceptanceRules(kLoaded, taken), taken);
  }
  for (const EnteredSettings& refused :
       {EnteredSettings{120, 600, 150, 45, 16, 30}, EnteredSettings{120, 600, 150, 80, 1, 30},
        EnteredSettings{120, 600, 150, 45, 1, 0}, EnteredSettings{120, 600, 150, 0, 0, 0}}) {
    EXPECT_EQ(ApplyAcceptanceRules(kLoaded, refused), kLoaded);
  }
  // A refused group leaves the other rules working.
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {100, 300, 200, 45, 16, 30}),
            (EnteredSettings{100, 300, 200, 45, 1, 30}));
  // The sum is taken in 32 bits: INT32_MAX + 1 wraps below the ring count.
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {120, 600, 150, 45, kMax, 1})[4], kMax);
}

TEST(AcceptanceRules, CanvasBeyondTheLimitKeepsDiameterAndResolution) {
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {599, 23999, 150, 45, 1, 30}), kLoaded);
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {41, 23999, 150, 45, 1, 30}), kLoaded);
  // 347 mm passes its rule but not at 600 dpi: both stay, the rest applies.
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {347, 600, 100, 45, 1, 30}),
            (EnteredSettings{120, 600, 100, 45, 1, 30}));
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {346, 600, 150, 45, 1, 30})[0], 346);
}

TEST(EnteredSettings, DoublesAreTruncatedAndSaturated) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ToEntered({120.9, -0.5, 1, 2, 3, 4}), (EnteredSettings{120, 0, 1, 2, 3, 4}));
  EXPECT_EQ(ToEntered({1e12, nan, 1, 2, 3, 4}), (EnteredSettings{kMax, 0, 1, 2, 3, 4}));
}

}  // namespace lumo
