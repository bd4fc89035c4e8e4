// The raster surface: new surfaces, glyphs clipped at its edges, plain and scaled copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "Surface.h"

namespace lumo {

TEST(Surface, NewSurfacesClippedGlyphsAndPlainCopies) {
  EXPECT_TRUE(Surface(0, 5).empty());
  EXPECT_TRUE(Surface(-3, -3).empty());
  Surface().TextOut(FontRequest{31, 26}, 0, 0, "abc");  // nothing to draw on, no crash
  // A black square far larger than the surface, turned each way, its middle on the middle.
  Surface clipped(50, 50);
  for (const auto& [escapement, x, y] :
       {std::tuple{0, -1475, -975}, {900, -975, 1525}, {1800, 1525, 1025}, {2700, 1025, -1475}}) {
    clipped.FillWhite();
    clipped.TextOut(FontRequest{2000, 1500, escapement}, x, y, "\x81\xA1");
    EXPECT_EQ(clipped.pixel(25, 25), kBlack) << escapement;
  }
  Surface src(2, 2);
  EXPECT_EQ(std::vector(src.pixels().begin(), src.pixels().end()), std::vector(4, kWhite));
  src.setPixel(0, 0, kBlack);
  src.setPixel(1, 1, 0x112233);
  Surface dst(3, 3);
  CopySurface(dst, 2, 2, src);
  CopySurface(dst, -1, -1, src);
  EXPECT_EQ(std::vector(dst.pixels().begin(), dst.pixels().end()),
            (std::vector<Pixel>{0x112233, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite,
                                kBlack}));
}

TEST(Surface, ShrinkingKeepsDarkStrokesPerChannel) {
  Surface src(4, 4);
  src.setPixel(1, 2, kBlack);  // a single dark pixel in the lower-left quarter
  src.setPixel(3, 0, 0x00FF80FF);
  Surface dst(2, 2);
  ScaledCopy(dst, 0, 0, 2, 2, src);
  EXPECT_EQ(std::vector(dst.pixels().begin(), dst.pixels().end()),
            (std::vector<Pixel>{kWhite, 0x00FF80FF, kBlack, kWhite}));
  // Only the destination rectangle is painted.
  Surface black(10, 10), big(8, 8);
  for (int y = 0; y < 10; ++y) std::fill_n(black.row(y).data(), 10, kBlack);
  ScaledCopy(big, 1, 2, 3, 3, black);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(big.pixel(x, y) == kBlack, x >= 1 && x < 4 && y >= 2 && y < 5);
  }
}

TEST(Surface, EnlargingTakesTheNearestPixelWithinTheClippedRectangle) {
  Surface src(2, 2);
  src.setPixel(1, 0, kBlack);
  src.setPixel(1, 1, kBlack);
  Surface dst(6, 6);
  ScaledCopy(dst, -2, 1, 8, 8, src);  // each source pixel becomes 4 x 4: the right half is black
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(dst.pixel(x, y) == kBlack, x >= 2 && y >= 1) << x << "," << y;
  }
  ScaledCopy(dst, 0, 0, 0, 0, src);
  ScaledCopy(dst, 10, 10, 4, 4, src);  // wholly outside
}

}  // namespace lumo
