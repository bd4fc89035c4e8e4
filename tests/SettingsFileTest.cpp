// The settings file: its 32 bytes, and which files open.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "SettingsFile.h"
#include "TestSupport.h"

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
}

TEST(SettingsFile, OpensWhatIsThereAndRefusesWhatCannotBeALabel) {
  const test::TempDir dir;
  const SettingsBytes bytes = EncodeSettings({120.5, 300.25, -7, 200, -1, 0});
  const std::string odd(bytes.begin(), bytes.end());
  // Values no dialog would accept are kept.
  test::WriteFileBytes(dir.path() / "odd.lum", odd);
  test::WriteFileBytes(dir.path() / "long.lum", odd + "trailing bytes");
  EXPECT_EQ(LoadSettingsFile(dir.path() / "odd.lum").value(),
            (LabelSettings{120.5, 300.25, -7, 200, -1, 0}));
  const SettingsBytes huge = EncodeSettings({600, 24000, 150, 45, 1, 30});
  test::WriteFileBytes(dir.path() / "huge.lum", std::string(huge.begin(), huge.end()));
  test::WriteFileBytes(dir.path() / "short.lum", odd.substr(0, 31));
  std::filesystem::create_directory(dir.path() / "folder.lum");
  const std::pair<const char*, ErrorReason> refused[] = {
      {"huge.lum", ErrorReason::SettingsNoCanvas},
      {"short.lum", ErrorReason::SettingsWrongSize},
      {"long.lum", ErrorReason::SettingsWrongSize},
      {"folder.lum", ErrorReason::IsFolder},
      {"gone.lum", ErrorReason::NotFound}};
  for (const auto& [name, reason] : refused) {
    const auto loaded = LoadSettingsFile(dir.path() / name);
    ASSERT_FALSE(loaded) << name;
    EXPECT_EQ(loaded.error().reason, reason) << name;
    EXPECT_EQ(loaded.error().path, (dir.path() / name).string());
  }
  EXPECT_EQ(LoadSettingsFile(dir.path() / "short.lum").error().size, 31u);
  EXPECT_EQ(LoadSettingsFile(dir.path() / "long.lum").error().size, 46u);
  EXPECT_EQ(LoadSettingsFile(dir.path() / "huge.lum").error().resolutionDpi, 24000.0);
}

}  // namespace lumo
