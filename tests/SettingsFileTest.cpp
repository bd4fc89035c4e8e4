// The settings file's 32 bytes; which files open is checked through the document.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "SettingsFile.h"

namespace lumo {

TEST(SettingsFile, BytesAndRoundTrip) {
  const SettingsBytes defaults = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x5E, 0x40, 0x00, 0x00, 0x00,
                                  0x00, 0x00, 0xC0, 0x82, 0x40, 0x96, 0x00, 0x00, 0x00, 0x2D, 0x00,
                                  0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1E, 0x00, 0x00, 0x00};
  EXPECT_EQ(EncodeSettings(LabelSettings{}), defaults);
  const LabelSettings odd{120.5, -3.25, -1, 200, std::numeric_limits<std::int32_t>::min(), 0};
  EXPECT_EQ(DecodeSettings(EncodeSettings(odd)), odd);
  LabelSettings nan;
  nan.diameterMm = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(DecodeSettings(EncodeSettings(nan)).value().diameterMm));
  // Short files are refused, bytes after the 32nd ignored.
  EXPECT_FALSE(DecodeSettings({}).has_value());
  EXPECT_FALSE(DecodeSettings(std::span(defaults).first(31)).has_value());
  std::vector<std::uint8_t> longer(defaults.begin(), defaults.end());
  longer.insert(longer.end(), {0xFF, 0xFF, 0xFF});
  EXPECT_EQ(DecodeSettings(longer), LabelSettings{});
}

}  // namespace lumo
