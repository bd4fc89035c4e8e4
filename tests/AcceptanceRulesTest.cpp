// The acceptance rules of the settings dialog.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

#include "AcceptanceRules.h"

namespace lumo {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

const EnteredSettings kLoaded = ToEntered(LabelSettings{});  // 120 600 150 45 1 30

TEST(AcceptanceRules, SingleFieldBoundaries) {
  constexpr auto kDiameter = &EnteredSettings::diameter;
  constexpr auto kResolution = &EnteredSettings::resolution;
  constexpr auto kChars = &EnteredSettings::charsPerCircle;
  // Field, value, accepted.
  const std::tuple<std::int32_t EnteredSettings::*, int, bool> cases[] = {
      {kDiameter, 40, false},  {kDiameter, 41, true},     {kDiameter, 599, true},
      {kDiameter, 600, false}, {kDiameter, -120, false},  {kResolution, 60, false},
      {kResolution, 61, true}, {kResolution, 1200, true}, {kResolution, 24000, false},
      {kChars, 1, false},      {kChars, 2, true},         {kChars, 300, true},
      {kChars, 301, false},    {kChars, 0, false},
  };
  // At 61 dpi even 599 mm gives a canvas that can be made.
  EnteredSettings start = kLoaded;
  start.resolution = 61;
  for (const auto& [field, value, accepted] : cases) {
    EnteredSettings entered = start;
    entered.*field = value;
    EXPECT_EQ(ApplyAcceptanceRules(start, entered).*field, accepted ? value : start.*field)
        << value;
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
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {120, 600, 150, 45, kMax, 1}).firstRing, kMax);
}

TEST(AcceptanceRules, CanvasBeyondTheLimitKeepsDiameterAndResolution) {
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {599, 23999, 150, 45, 1, 30}), kLoaded);
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {41, 23999, 150, 45, 1, 30}), kLoaded);
  // 347 mm passes its rule but not at 600 dpi: both stay, the rest applies.
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {347, 600, 100, 45, 1, 30}),
            (EnteredSettings{120, 600, 100, 45, 1, 30}));
  EXPECT_EQ(ApplyAcceptanceRules(kLoaded, {346, 600, 150, 45, 1, 30}).diameter, 346);
  // The dialog shows the two doubles truncated.
  EXPECT_EQ(ToEntered({120.9, 61.5, 1, 2, 3, 4}), (EnteredSettings{120, 61, 1, 2, 3, 4}));
}

}  // namespace lumo
