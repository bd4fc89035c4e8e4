// The settings file: its 32 bytes, and which files open.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
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
  // Short files are refused, bytes after the 32nd ignored.
  EXPECT_FALSE(DecodeSettings({}).has_value());
  EXPECT_FALSE(DecodeSettings(std::span(defaults).first(31)).has_value());
  std::vector<std::uint8_t> longer(defaults.begin(), defaults.end());
  longer.insert(longer.end(), {0xFF, 0xFF, 0xFF});
  EXPECT_EQ(DecodeSettings(longer), LabelSettings{});
}

using Reason = SettingsFileError::Reason;

TEST(SettingsFile, RefusesWhatCannotBeReadOrHasNoCanvas) {
  const test::TempDir dir;
  const auto reason = [&](const char* name) {
    const auto loaded = LoadSettingsFile(dir.path() / name);
    return loaded ? std::tuple(Reason::Unreadable, -1, 0ul)
                  : std::tuple(loaded.error().reason, loaded.error().errnum, loaded.error().size);
  };
  test::WriteFileBytes(dir.path() / "short.lum", std::string(31, '\0'));
  const SettingsBytes huge = EncodeSettings({600, 24000, 150, 45, 1, 30});
  test::WriteFileBytes(dir.path() / "huge.lum", std::string(huge.begin(), huge.end()));
  std::filesystem::create_directory(dir.path() / "folder.lum");
  EXPECT_EQ(reason("missing.lum"), std::tuple(Reason::Unreadable, ENOENT, 0ul));
  EXPECT_EQ(reason("folder.lum"), std::tuple(Reason::Unreadable, EISDIR, 0ul));
  EXPECT_EQ(reason("short.lum"), std::tuple(Reason::TooShort, 0, 31ul));
  EXPECT_EQ(reason("huge.lum"), std::tuple(Reason::NoCanvas, 0, 32ul));
}

}  // namespace lumo
