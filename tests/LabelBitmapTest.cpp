// The label bitmap file: header fields, row order and pixels read back. The
// numbered series it is written into is FileWrite's, tested there.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "LabelBitmap.h"
#include "LabelCanvas.h"
#include "TestSupport.h"

namespace lumo {

namespace fs = std::filesystem;
using test::ReadFileBytes;

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::string HeaderBytes(const LabelCanvas& canvas, double dpi) {
  const BitmapHeader header = EncodeBitmapHeader(canvas.image, dpi);
  return {header.begin(), header.end()};
}

TEST(LabelBitmapHeader, FieldsAndPixelsPerMetre) {
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, LabelSettings{}));
  const std::string header = HeaderBytes(canvas, 600.0);
  EXPECT_EQ(header.substr(0, 2), "BM");
  // Offset and value; the height is positive (bottom row first), one plane of 32 bits.
  const std::pair<std::size_t, std::uint32_t> fields[] = {
      {2, 32'126'278}, {6, 0},         {10, 54}, {14, 40},         {18, 2834},
      {22, 2834},      {26, 0x200001}, {30, 0},  {34, 32'126'224}, {38, 23622},
      {42, 23622},     {46, 0},        {50, 0}};
  for (const auto& [at, value] : fields) EXPECT_EQ(U32At(header, at), value) << "offset " << at;
  for (const auto& [dpi, expected] : {std::pair{300.0, 11811u}, {1200.0, 47244u}, {61.0, 2401u}}) {
    EXPECT_EQ(U32At(HeaderBytes(canvas, dpi), 38), expected) << dpi << " dpi";
    EXPECT_EQ(U32At(HeaderBytes(canvas, dpi), 42), expected) << dpi << " dpi";
  }
  // Values from a settings file can be anything; the field saturates.
  EXPECT_EQ(PixelsPerMetre(1e300), 2147483647);
  EXPECT_EQ(PixelsPerMetre(-1e300), -2147483647 - 1);
  EXPECT_EQ(PixelsPerMetre(std::nan("")), 0);
}

// 41 mm at 61 dpi: a canvas of 98 x 98 pixels.
TEST(LabelBitmapFile, ReadBackBottomRowFirstEqualsCanvas) {
  constexpr std::size_t kFileSize = 54 + 98 * 98 * 4;
  const LabelSettings settings{41, 61, 150, 45, 1, 30};
  const test::TempDir dir;
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, settings));
  for (int y = 0; y < 98; ++y) {
    for (int x = 0; x < 98; ++x)
      canvas.image.row(y)[static_cast<std::size_t>(x)] = (x * 2654435761u + y * 40503u) & 0xFFFFFF;
  }
  const auto saved = SaveLabelBitmap(canvas.image, 61.0, dir.path());
  ASSERT_TRUE(saved) << saved.error().message;
  const std::string file = ReadFileBytes(*saved);
  ASSERT_EQ(file.size(), kFileSize);
  EXPECT_EQ(file.substr(0, 54), HeaderBytes(canvas, 61.0));
  for (int y = 0; y < 98; ++y) {
    for (int x = 0; x < 98; ++x) {
      const std::size_t at = 54 + (static_cast<std::size_t>(97 - y) * 98 + x) * 4;  // B G R X
      ASSERT_EQ(U32At(file, at) & 0xFFFFFF, canvas.image.pixel(x, y)) << x << "," << y;
    }
  }
  // Composed from no text, the label is the white fill alone.
  (void)RenderLabel(canvas, settings, "");
  const auto blank = SaveLabelBitmap(canvas.image, 61.0, dir.path());
  ASSERT_TRUE(blank) << blank.error().message;
  const std::string white = ReadFileBytes(*blank);
  ASSERT_EQ(white.size(), kFileSize);
  for (std::size_t at = 54; at < white.size(); at += 4)
    ASSERT_EQ(U32At(white, at) & 0xFFFFFF, kWhite) << at;
}

}  // namespace lumo
