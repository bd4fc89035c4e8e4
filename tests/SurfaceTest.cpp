// Plain and scaled copies of the raster surface.
#include "Surface.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

TEST(Surface, NewSurfacesAreWhiteAndEmptyOnesHaveNoPixels) {
  const Surface surface(3, 2);
  EXPECT_EQ(surface.pixels().size(), 6u);
  for (const Pixel p : surface.pixels()) EXPECT_EQ(p, kWhite);
  EXPECT_TRUE(Surface(0, 5).empty());
  EXPECT_TRUE(Surface(-3, -3).empty());
  Surface empty;
  empty.TextOut(FontRequest{31, 26}, 0, 0, "abc");  // nothing to draw on, no crash
  empty.FillWhite();
}

TEST(Surface, PlainCopyIsClipped) {
  Surface src(2, 2);
  src.setPixel(0, 0, 0x000000);
  src.setPixel(1, 1, 0x112233);
  Surface dst(3, 3);
  CopySurface(dst, 2, 2, src);
  EXPECT_EQ(dst.pixel(2, 2), 0x000000u);
  EXPECT_EQ(dst.pixel(1, 1), kWhite);
  CopySurface(dst, -1, -1, src);
  EXPECT_EQ(dst.pixel(0, 0), 0x112233u);
}

TEST(Surface, ShrinkingKeepsDarkStrokes) {
  Surface src(4, 4);
  src.setPixel(1, 2, kBlack);  // a single dark pixel in the lower-left quarter
  src.setPixel(3, 0, 0x00FF80FF);
  Surface dst(2, 2);
  ScaledCopy(dst, 0, 0, 2, 2, src);
  EXPECT_EQ(dst.pixel(0, 1), kBlack);
  EXPECT_EQ(dst.pixel(1, 0), 0x00FF80FFu);  // per channel
  EXPECT_EQ(dst.pixel(0, 0), kWhite);
  EXPECT_EQ(dst.pixel(1, 1), kWhite);
}

TEST(Surface, EnlargingTakesTheNearestPixelAndClips) {
  Surface src(2, 2);
  src.setPixel(1, 0, kBlack);
  Surface dst(5, 5);
  ScaledCopy(dst, -2, 1, 8, 8, src);  // each source pixel becomes 4 x 4
  EXPECT_EQ(dst.pixel(1, 1), kWhite);
  EXPECT_EQ(dst.pixel(2, 1), kBlack);
  EXPECT_EQ(dst.pixel(4, 4), kBlack);
  EXPECT_EQ(dst.pixel(4, 0), kWhite);  // above the destination rectangle: untouched
  ScaledCopy(dst, 0, 0, 0, 0, src);
  ScaledCopy(dst, 10, 10, 4, 4, src);  // wholly outside
}

TEST(Surface, ScaledCopyCoversOnlyItsRectangle) {
  Surface src(10, 10);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) src.setPixel(x, y, kBlack);
  }
  Surface dst(8, 8);
  ScaledCopy(dst, 1, 2, 3, 3, src);
  int dark = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 1 && x < 4 && y >= 2 && y < 5;
      EXPECT_EQ(dst.pixel(x, y) == kBlack, inside) << x << "," << y;
      dark += dst.pixel(x, y) == kBlack;
    }
  }
  EXPECT_EQ(dark, 9);
}

}  // namespace
}  // namespace lumo
