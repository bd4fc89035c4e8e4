// The raster surface: new surfaces, glyphs clipped at its edges, scaled copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "FontFace.h"
#include "Surface.h"

namespace lumo {

void Set(Surface& surface, int x, int y, Pixel value) {
  surface.row(y)[static_cast<std::size_t>(x)] = value;
}

PlacedGlyph Glyph(FontRequest font, int x, int y, std::string_view bytes) {
  PlacedGlyph glyph{LabelHalf::Upper, 0, x, y, font};
  glyph.length = static_cast<std::uint8_t>(bytes.copy(glyph.code.data(), 2));
  return glyph;
}

TEST(Surface, NewSurfacesAreWhiteOrEmpty) {
  EXPECT_TRUE(Surface(0, 5).empty());
  EXPECT_TRUE(Surface(-3, -3).empty());
  Surface none;
  const PlacedGlyph glyph = Glyph({31, 26, 0}, 0, 0, "a");
  DrawGlyphs(none, {&glyph, 1});  // nothing to draw on, no crash
}

TEST(Surface, GlyphsFarLargerThanTheSurfaceAreClippedOnEverySide) {
  // A black square, turned each way, its middle on the surface's middle.
  Surface clipped(50, 50);
  for (const auto& [escapement, x, y] :
       {std::tuple{0, -1475, -975}, {900, -975, 1525}, {1800, 1525, 1025}, {2700, 1025, -1475}}) {
    clipped.FillWhite();
    const PlacedGlyph square = Glyph({2000, 1500, escapement}, x, y, "\x81\xA1");
    DrawGlyphs(clipped, {&square, 1});
    EXPECT_EQ(clipped.pixel(25, 25), kBlack) << escapement;
  }
}

TEST(Surface, ShrinkingKeepsDarkStrokesPerChannel) {
  Surface src(4, 4);
  Set(src, 1, 2, kBlack);  // a single dark pixel in the lower-left quarter
  Set(src, 3, 0, 0x00FF80FF);
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
  Set(src, 1, 0, kBlack);
  Set(src, 1, 1, kBlack);
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
