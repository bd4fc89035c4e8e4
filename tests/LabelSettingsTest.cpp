// Settings file bytes and the dialog's acceptance rules.
#include "LabelSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace lumo {
namespace {

TEST(SettingsFile, DefaultSettingsGiveTheKnownBytes) {
  const SettingsBytes expected = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x5E, 0x40,
                                  0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x82, 0x40,
                                  0x96, 0x00, 0x00, 0x00, 0x2D, 0x00, 0x00, 0x00,
                                  0x01, 0x00, 0x00, 0x00, 0x1E, 0x00, 0x00, 0x00};
  EXPECT_EQ(EncodeSettings(LabelSettings{}), expected);
}

TEST(SettingsFile, RoundTripKeepsOddValuesExactly) {
  const LabelSettings odd{120.5, -3.25, -1, 200, std::numeric_limits<std::int32_t>::min(), 0};
  const SettingsBytes bytes = EncodeSettings(odd);
  const auto back = DecodeSettings(bytes);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, odd);
}

TEST(SettingsFile, ShortFilesAreRefusedAndExtraBytesIgnored) {
  const SettingsBytes bytes = EncodeSettings(LabelSettings{});
  EXPECT_FALSE(DecodeSettings({}).has_value());
  EXPECT_FALSE(DecodeSettings(std::span(bytes).first(31)).has_value());
  std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
  longer.insert(longer.end(), {0xFF, 0xFF, 0xFF});
  ASSERT_TRUE(DecodeSettings(longer).has_value());
  EXPECT_EQ(*DecodeSettings(longer), LabelSettings{});
}

TEST(SettingsFile, NotANumberSurvivesTheRoundTrip) {
  LabelSettings settings;
  settings.diameterMm = std::numeric_limits<double>::quiet_NaN();
  const auto back = DecodeSettings(EncodeSettings(settings));
  ASSERT_TRUE(back.has_value());
  EXPECT_TRUE(std::isnan(back->diameterMm));
}

class AcceptanceRules : public ::testing::Test {
 protected:
  const EnteredSettings loaded = ToEntered(LabelSettings{});  // 120 600 150 45 1 30
};

TEST_F(AcceptanceRules, SingleFieldBoundaries) {
  struct Case {
    std::size_t field;
    std::int32_t value;
    bool accepted;
  };
  const Case cases[] = {
      {0, 40, false},  {0, 41, true},    {0, 599, true},    {0, 600, false}, {0, -120, false},
      {1, 60, false},  {1, 61, true},    {1, 1200, true},   {1, 24000, false},
      {2, 1, false},   {2, 2, true},     {2, 300, true},    {2, 301, false}, {2, 0, false},
  };
  // At 61 dpi even 599 mm gives a canvas that can be made.
  EnteredSettings start = loaded;
  start[1] = 61;
  for (const Case& c : cases) {
    EnteredSettings entered = start;
    entered[c.field] = c.value;
    const EnteredSettings result = ApplyAcceptanceRules(start, entered);
    EXPECT_EQ(result[c.field], c.accepted ? c.value : start[c.field])
        << "field " << c.field << " value " << c.value;
  }
}

TEST_F(AcceptanceRules, RingGroupIsAcceptedWholeOrNotAtAll) {
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {120, 600, 150, 45, 15, 30}),
            (EnteredSettings{120, 600, 150, 45, 15, 30}));
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {120, 600, 150, 45, 16, 30}), loaded);
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {120, 600, 150, 80, 1, 30}), loaded);
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {120, 600, 150, 45, 1, 0}), loaded);
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {120, 600, 150, 0, 0, 0}), loaded);
  // First ring 0 and a first ring far below zero are fine while the sum holds.
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {120, 600, 150, 79, 0, 79}),
            (EnteredSettings{120, 600, 150, 79, 0, 79}));
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {120, 600, 150, 10, -5, 3})[4], -5);
}

TEST_F(AcceptanceRules, RefusedGroupLeavesOtherRulesWorking) {
  const EnteredSettings result = ApplyAcceptanceRules(loaded, {100, 300, 200, 45, 16, 30});
  EXPECT_EQ(result, (EnteredSettings{100, 300, 200, 45, 1, 30}));
}

TEST_F(AcceptanceRules, SumIsTakenInThirtyTwoBits) {
  // INT32_MAX + 1 wraps below the ring count, as the dialog has always taken it.
  const EnteredSettings entered{120, 600, 150, 45, std::numeric_limits<std::int32_t>::max(), 1};
  EXPECT_EQ(ApplyAcceptanceRules(loaded, entered)[4], std::numeric_limits<std::int32_t>::max());
}

TEST_F(AcceptanceRules, CanvasBeyondTheLimitKeepsDiameterAndResolution) {
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {599, 23999, 150, 45, 1, 30}), loaded);
  // 347 mm passes its rule but not at 600 dpi: both stay, the rest applies.
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {347, 600, 100, 45, 1, 30}),
            (EnteredSettings{120, 600, 100, 45, 1, 30}));
  // The largest diameter at 600 dpi is still taken.
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {346, 600, 150, 45, 1, 30})[0], 346);
  // 23999 dpi passes its rule but no diameter the dialog takes fits it.
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {41, 23999, 150, 45, 1, 30}), loaded);
  // A diameter refused by its rule does not drag down an acceptable resolution.
  EXPECT_EQ(ApplyAcceptanceRules(loaded, {700, 300, 150, 45, 1, 30})[1], 300);
}

TEST(EnteredSettings, DoublesAreTruncatedAndSaturated) {
  LabelSettings settings;
  settings.diameterMm = 120.9;
  settings.resolutionDpi = -0.5;
  EXPECT_EQ(ToEntered(settings)[0], 120);
  EXPECT_EQ(ToEntered(settings)[1], 0);
  settings.diameterMm = 1e12;
  settings.resolutionDpi = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ToEntered(settings)[0], std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ToEntered(settings)[1], 0);
  EXPECT_EQ(FromEntered({41, 61, 2, 3, 4, 5}), (LabelSettings{41.0, 61.0, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace lumo
