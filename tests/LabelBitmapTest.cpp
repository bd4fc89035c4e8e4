// The label's raster files: the bitmap's header fields, row order and pixels
// read back, and the PNG's pixels read back. The numbered series they are
// written into is SafeWrite's, tested there.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <random>
#include <utility>

#include "LabelBitmap.h"
#include "LabelPng.h"
#include "TestSupport.h"

namespace lumo {

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::string HeaderBytes(const Surface& image, double dpi) {
  const BitmapHeader header = EncodeBitmapHeader(image, dpi);
  return {header.begin(), header.end()};
}

TEST(LabelBitmapHeader, FieldsAndPixelsPerMetre) {
  const std::string header = HeaderBytes(Surface(2834, 2834), 600.0);
  EXPECT_EQ(header.substr(0, 2), "BM");
  // Offset and value; the height is positive (bottom row first), one plane of 32 bits.
  const std::pair<std::size_t, std::uint32_t> fields[] = {
      {2, 32'126'278}, {6, 0},         {10, 54}, {14, 40},         {18, 2834},
      {22, 2834},      {26, 0x200001}, {30, 0},  {34, 32'126'224}, {38, 23622},
      {42, 23622},     {46, 0},        {50, 0}};
  for (const auto& [at, value] : fields) EXPECT_EQ(U32At(header, at), value) << "offset " << at;
  for (const auto& [dpi, expected] : {std::pair{300.0, 11811u}, {1200.0, 47244u}, {61.0, 2401u}}) {
    EXPECT_EQ(U32At(HeaderBytes(Surface(98, 98), dpi), 38), expected) << dpi << " dpi";
    EXPECT_EQ(U32At(HeaderBytes(Surface(98, 98), dpi), 42), expected) << dpi << " dpi";
  }
}

// A canvas of 98 x 98 pixels (41 mm at 61 dpi) read back bottom row first.
TEST(LabelBitmapFile, ReadBackBottomRowFirstEqualsCanvas) {
  Surface image(98, 98);
  for (int y = 0; y < 98; ++y) {
    for (int x = 0; x < 98; ++x)
      image.row(y)[static_cast<std::size_t>(x)] = (x * 2654435761u + y * 40503u) & 0xFFFFFF;
  }
  const test::TempDir dir;
  const std::filesystem::path path = dir.path() / "label.bmp";
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_TRUE(WriteLabelBitmap(fd, image, 61.0));
  ::close(fd);
  const std::string file = test::ReadFileBytes(path);
  ASSERT_EQ(file.size(), 54u + 98 * 98 * 4);
  EXPECT_EQ(file.substr(0, 54), HeaderBytes(image, 61.0));
  for (int y = 0; y < 98; ++y) {
    for (int x = 0; x < 98; ++x) {
      const std::size_t at = 54 + (static_cast<std::size_t>(97 - y) * 98 + x) * 4;  // B G R X
      ASSERT_EQ(U32At(file, at) & 0xFFFFFF, image.pixel(x, y)) << x << "," << y;
    }
  }
}

// Greys far commoner than others (their codes would be deeper than deflate
// allows), then runs of every length from 1 to 300, over an image large
// enough to be deflated on two threads, in halves of unequal height.
TEST(LabelPngFile, AnyGreysAndRunsReadBackFromBothHalves) {
  Surface image(1100, 1101);
  std::mt19937 random(7);
  std::uint32_t length = 0;
  for (int y = 0; y < image.height(); ++y) {
    const std::span<Pixel> row = image.row(y);
    for (std::size_t x = 0; x < row.size();) {
      const std::uint32_t level =
          y < image.height() / 2 ? std::countr_zero(random() | 1u << 24) * 10 : random() & 0xFF;
      const std::size_t end = y < image.height() / 2 ? x + 1 : x + length++ % 300 + 1;
      for (; x < end && x < row.size(); ++x) row[x] = level * 0x010101;
    }
  }
  const test::TempDir dir;
  const std::filesystem::path path = dir.path() / "label.png";
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_TRUE(WriteLabelPng(fd, image, 300));
  ::close(fd);
  const test::Grey png = test::DecodePng(path);
  ASSERT_EQ(png.pixels.size(), image.pixels().size());
  for (std::size_t i = 0; i < png.pixels.size(); ++i) {
    ASSERT_EQ(png.pixels[i], image.pixels()[i] & 0xFF) << i;
  }
}

}  // namespace lumo
