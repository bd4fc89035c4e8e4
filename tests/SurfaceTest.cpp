// The raster surface and what is drawn on it: glyph cells of the requested
// size, turned about their reference point, in greys only; glyphs clipped at
// the surface's edges; scaled copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "FontLocation.h"
#include "LabelFace.h"
#include "LabelText.h"
#include "Surface.h"
#include "TestSupport.h"

namespace lumo {

void Set(Surface& surface, int x, int y, Pixel value) {
  surface.row(y)[static_cast<std::size_t>(x)] = value;
}

PlacedGlyph Glyph(FontRequest font, int x, int y, std::string_view bytes) {
  PlacedGlyph glyph{LabelHalf::Upper, 0, 0, x, y, font};
  glyph.length = static_cast<std::uint8_t>(bytes.copy(glyph.code.data(), 2));
  return glyph;
}

const LabelFace& Face() { return *DefaultLabelFace().value(); }

// On black, a glyph's cell shows as the white it is painted: a one-byte
// character `width` wide, a two-byte one twice that, `height` high, turned
// counter-clockwise about the reference point; the glyph inside it in greys.
TEST(GlyphDrawing, CellsHaveTheRequestedSizeTurnedAboutTheReferencePoint) {
  struct Case {
    const char* bytes;
    int escapement, x, y;
    int left, top, right, bottom;  // the cell, right and bottom excluded
  };
  const Case cases[] = {{"a", 0, 10, 10, 10, 10, 30, 50},
                        {"\x82\xA0", 0, 10, 10, 10, 10, 50, 50},
                        {"a", 900, 10, 60, 10, 40, 50, 60},
                        {"\x82\xA0", 1800, 60, 60, 20, 20, 60, 60}};
  for (const Case& c : cases) {
    Surface surface(80, 80);
    for (int y = 0; y < 80; ++y) std::fill_n(surface.row(y).data(), 80, kBlack);
    const PlacedGlyph glyph = Glyph({40, 20, c.escapement}, c.x, c.y, c.bytes);
    Face().Draw(surface, {&glyph, 1});
    int left = 80, top = 80, right = 0, bottom = 0, greys = 0;
    for (int y = 0; y < 80; ++y) {
      for (int x = 0; x < 80; ++x) {
        const Pixel p = surface.pixel(x, y);
        ASSERT_EQ(p, (p & 0xFF) * 0x010101u) << "not grey at " << x << "," << y;
        if (p == kBlack) continue;
        left = std::min(left, x), top = std::min(top, y);
        right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
        greys += p != kWhite;
      }
    }
    EXPECT_EQ(std::tuple(left, top, right, bottom), std::tuple(c.left, c.top, c.right, c.bottom))
        << c.bytes << " at " << c.escapement;
    EXPECT_GT(greys, 0) << "no edge of the glyph is grey";
  }
}

TEST(GlyphDrawing, GlyphsFarLargerThanTheSurfaceAreClippedOnEverySide) {
  // A black square, turned each way, its middle on the surface's middle.
  Surface clipped(50, 50);
  for (const auto& [escapement, x, y] :
       {std::tuple{0, -1475, -975}, {900, -975, 1525}, {1800, 1525, 1025}, {2700, 1025, -1475}}) {
    clipped.FillWhite();
    const PlacedGlyph square = Glyph({2000, 1500, escapement}, x, y, "\x81\xA1");
    Face().Draw(clipped, {&square, 1});
    EXPECT_EQ(clipped.pixel(25, 25), kBlack) << escapement;
  }
}

// A long list is drawn by two threads, each on its half of the rows: every
// pixel still comes out as the glyphs drawn one by one, in order, leave it.
// Bands of rows drawn apart, on two threads, come out as the glyphs drawn one
// by one; each row is told of once, from the bottom up, and only when final.
TEST(GlyphDrawing, BandsDrawWhatOneGlyphAtATimeDrawsAndTellOfFinalRows) {
  std::vector<PlacedGlyph> glyphs;
  // Enough for two threads; most in the lowest band, so that the band above
  // it is often finished first.
  for (int i = 0; i < 300; ++i) {
    glyphs.push_back(Glyph({9 + i % 7, 4 + i % 5, i % 2 * (i * 137) % 3600}, (i * 37) % 90,
                           i % 4 == 0 ? 5 + (i * 53) % 290 : 262 + i % 36,
                           i % 3 == 0 ? "\x81\xA1" : "W"));
  }
  // Last, so that nothing covers them: squares whose lowest ink lies a pixel
  // or two either side of a band's edge (every 128 rows).
  for (int i = 0; i < 40; ++i) {
    glyphs.push_back(Glyph({10 + i % 5, 5, 0}, i * 7 % 95, 116 + i % 2 * 128 + i % 8, "\x81\xA1"));
  }
  Surface together(100, 300), apart(100, 300), whenTold(100, 300);
  std::vector<std::pair<int, int>> told;
  Face().DrawBottomUp(together, glyphs, {}, [&](int top, int bottom) {
    told.emplace_back(top, bottom);
    for (int y = top; y < bottom; ++y) std::ranges::copy(together.row(y), whenTold.row(y).begin());
  });
  for (const PlacedGlyph& glyph : glyphs) Face().Draw(apart, {&glyph, 1});
  EXPECT_TRUE(
      std::equal(together.pixels().begin(), together.pixels().end(), apart.pixels().begin()));
  EXPECT_TRUE(
      std::equal(whenTold.pixels().begin(), whenTold.pixels().end(), together.pixels().begin()));
  int next = 300;
  for (const auto& [top, bottom] : told) {
    EXPECT_TRUE(top < bottom && bottom == next) << top << " " << bottom;
    next = top;
  }
  EXPECT_EQ(next, 0);
}

// The glyph of `codePoint` in the face at `location`, as FreeType renders it
// `height` pixels high: what the drawn cell must look like.
test::Grey FreeTypeGlyph(const FontLocation& location, char32_t codePoint, int height) {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  test::Grey grey;
  if (FT_Init_FreeType(&library) != 0) return grey;
  if (FT_New_Face(library, location.path.c_str(), location.index, &face) == 0 &&
      FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(height)) == 0 &&
      FT_Load_Char(face, codePoint, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) == 0) {
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    grey = {static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows), {}};
    for (unsigned y = 0; y < bitmap.rows; ++y) {
      for (unsigned x = 0; x < bitmap.width; ++x) {
        grey.pixels.push_back(255 - bitmap.buffer[y * static_cast<unsigned>(bitmap.pitch) + x]);
      }
    }
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return grey;
}

// How alike two pictures' ink is, each seen on a 16 x 16 grid over its own
// ink's box: the share of grid points where both agree.
double InkAlike(const test::Grey& a, const test::Grey& b) {
  const test::InkBox boxA = test::InkOf(a), boxB = test::InkOf(b);
  int same = 0;
  for (int gy = 0; gy < 16; ++gy) {
    for (int gx = 0; gx < 16; ++gx) {
      const auto at = [&](const test::InkBox& box, int g, bool vertical) {
        const int from = vertical ? box.top : box.left, to = vertical ? box.bottom : box.right;
        return from + (to - from) * (2 * g + 1) / 32;
      };
      same += a.Dark(at(boxA, gx, false), at(boxA, gy, true)) ==
              b.Dark(at(boxB, gx, false), at(boxB, gy, true));
    }
  }
  return same / 256.0;
}

// A character beyond code page 932 is the glyph of a face that has it (the
// label's own where it has one), fitted and centred in its step's cell; one
// that no face has is a hollow box. A proportional face is centred too.
TEST(GlyphDrawing, EveryCharacterIsTheGlyphOfAFaceThatHasItCentredInItsCell) {
  const FontLocation gothic = LocateFace("").value(), proportional = FaceHaving(U'i').value();
  struct Case {
    std::u32string cluster;
    FontLocation label;
    std::string_view bytes;
  };
  const Case cases[] = {{U"𠮷", gothic, kWidePlaceholder},
                        {U"❤\uFE0F", gothic, kNarrowPlaceholder},
                        {U"\U000F0000", gothic, kNarrowPlaceholder},
                        {U"i", proportional, "i"}};
  for (const Case& c : cases) {
    const std::shared_ptr<LabelFace> face = LabelFace::Load(c.label).value();
    Surface surface(360, 200);
    for (int y = 0; y < 200; ++y) std::fill_n(surface.row(y).data(), 360, kBlack);
    PlacedGlyph glyph = Glyph({160, 80, 0}, 20, 20, c.bytes);
    glyph.extra = c.bytes == "i" ? -1 : 0;
    face->Draw(surface, {&glyph, 1}, {&c.cluster, 1});
    test::Grey cell{360, 200, {}};
    for (const Pixel p : surface.pixels()) cell.pixels.push_back(p == kBlack ? 255 : 0);
    const test::InkBox painted = test::InkOf(cell);
    const int width = static_cast<int>(c.bytes.size()) * 80;
    EXPECT_EQ(std::tuple(painted.left, painted.top, painted.right, painted.bottom),
              std::tuple(20, 20, 19 + width, 179));
    // Within the cell, the glyph's ink (black too) shows on white.
    test::Grey ink{360, 200, {}};
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 360; ++x) {
        const bool inCell = x >= 20 && x < 20 + width && y >= 20 && y < 180;
        ink.pixels.push_back(inCell ? surface.pixel(x, y) & 0xFF : 255);
      }
    }
    const test::InkBox drawn = test::InkOf(ink);
    EXPECT_NEAR(drawn.left + drawn.right, 40 + width - 1, 3) << "not centred";
    if (c.cluster == U"\U000F0000") {
      EXPECT_FALSE(ink.Dark((drawn.left + drawn.right) / 2, 100)) << "not hollow";
      LabelLayout layout;
      layout.glyphs = {glyph};
      layout.extras = {c.cluster};
      EXPECT_EQ(face->MissingCharacters(layout), 1u);
      continue;
    }
    const char32_t base = c.cluster.front();
    const FontLocation has = face->Has(base) ? c.label : FaceHaving(base).value();
    EXPECT_GT(InkAlike(ink, FreeTypeGlyph(has, base, 3 * (drawn.bottom - drawn.top))), 0.9)
        << static_cast<std::uint32_t>(base);
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
