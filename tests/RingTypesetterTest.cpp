// The ring walk: positions, font requests, line breaks, wrapping, the window.
#include "RingTypesetter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "CodePage932.h"

namespace lumo {
namespace {

struct Recorded {
  std::int32_t ring;
  std::int32_t x;
  std::int32_t y;
  FontRequest font;
  std::string bytes;
};

class RingTypesetter : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateCanvas(canvas, settings)); }

  std::vector<Recorded> Layout(std::string_view text, int start = 180, int sweep = 178) {
    std::vector<Recorded> glyphs;
    DrawArcText(
        canvas, settings, start, sweep, text,
        [&](const GlyphPlacement& g) {
          glyphs.push_back({g.ring, g.x, g.y, g.font, std::string(g.bytes)});
        },
        false);
    return glyphs;
  }

  static int CountOnRing(const std::vector<Recorded>& glyphs, int ring) {
    int n = 0;
    for (const Recorded& g : glyphs) n += g.ring == ring;
    return n;
  }

  LabelSettings settings;
  LabelCanvas canvas;
};

TEST_F(RingTypesetter, FirstGlyphOfEachHalfAtDefaultSettings) {
  const auto upper = Layout("\x82\xA0", 180);
  ASSERT_EQ(upper.size(), 1u);
  EXPECT_EQ(upper[0].ring, 1);
  EXPECT_EQ(upper[0].x, 31);
  EXPECT_EQ(upper[0].y, 1417);
  EXPECT_EQ(upper[0].font.height, 31);
  EXPECT_EQ(upper[0].font.width, 26);
  EXPECT_EQ(upper[0].font.escapement, 900);
  EXPECT_EQ(upper[0].font.orientation, 900);
  EXPECT_EQ(upper[0].font.weight, 400);
  EXPECT_EQ(upper[0].font.charSet, 128);
  EXPECT_EQ(upper[0].font.faceName, "MS UI Gotic");

  const auto lower = Layout("\x82\xA0", 360);
  ASSERT_EQ(lower.size(), 1u);
  EXPECT_EQ(lower[0].ring, 1);
  EXPECT_EQ(lower[0].x, 2802);
  EXPECT_EQ(lower[0].y, 1416);  // 1416.99999886... truncates
  EXPECT_EQ(lower[0].font.escapement, 2700);
}

TEST_F(RingTypesetter, OneArcHolds74TwoByteOr148OneByteCharacters) {
  std::string wide;
  for (int i = 0; i < 100; ++i) wide += "\x82\xA0";
  const auto glyphs = Layout(wide);
  EXPECT_EQ(CountOnRing(glyphs, 1), 74);
  EXPECT_EQ(CountOnRing(glyphs, 2), 26);
  EXPECT_EQ(glyphs[74].x, glyphs[0].x + 31);  // the next ring starts again at 180 degrees
  EXPECT_EQ(glyphs[74].font.width, 25);

  const auto narrow = Layout(std::string(200, 'a'));
  EXPECT_EQ(CountOnRing(narrow, 1), 148);
  EXPECT_EQ(CountOnRing(narrow, 2), 52);
}

TEST_F(RingTypesetter, TwoByteCharacterThatDoesNotFitOpensTheNextRing) {
  const auto glyphs = Layout(std::string(147, 'a') + "\x82\xA0");
  ASSERT_EQ(glyphs.size(), 148u);
  EXPECT_EQ(glyphs.back().ring, 2);
  EXPECT_EQ(glyphs.back().bytes, "\x82\xA0");
  EXPECT_EQ(glyphs.back().font.escapement, 900);
}

TEST_F(RingTypesetter, LineBreaks) {
  auto rings = [&](std::string_view text) {
    std::vector<int> out;
    for (const Recorded& g : Layout(text)) out.push_back(g.ring);
    return out;
  };
  EXPECT_EQ(rings("a\r\nb"), (std::vector<int>{1, 2}));
  EXPECT_EQ(rings("a\n\rb"), (std::vector<int>{1, 2}));
  EXPECT_EQ(rings("a\n\nb"), (std::vector<int>{1, 3}));  // LF LF leaves one ring empty
  EXPECT_EQ(rings("\n\n\n\nb"), (std::vector<int>{5}));

  // A lone CR starts the same ring again: c lands where a was.
  const auto overdrawn = Layout("ab\rc");
  ASSERT_EQ(overdrawn.size(), 3u);
  EXPECT_EQ(overdrawn[2].ring, 1);
  EXPECT_EQ(overdrawn[2].x, overdrawn[0].x);
  EXPECT_EQ(overdrawn[2].y, overdrawn[0].y);

  // A full ring followed by CR LF: no empty ring in between.
  std::string full;
  for (int i = 0; i < 74; ++i) full += "\x82\xA0";
  const auto wrapped = Layout(full + "\r\nb");
  EXPECT_EQ(wrapped.back().ring, 2);
}

TEST_F(RingTypesetter, WindowIsCutAtTheCentre) {
  settings.firstRing = 40;
  settings.usedRings = 30;
  std::string text;
  for (int i = 0; i < 20; ++i) text += "x\r\n";
  const auto glyphs = Layout(text);
  ASSERT_EQ(glyphs.size(), 5u);  // rings 40 to 44; ring 45 has no radius left
  EXPECT_EQ(glyphs.front().ring, 40);
  EXPECT_EQ(glyphs.back().ring, 44);
}

TEST_F(RingTypesetter, TextBeyondTheWindowIsNotDrawn) {
  settings.usedRings = 2;
  const auto glyphs = Layout("a\r\nb\r\nc\r\nd");
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_EQ(glyphs[1].bytes, "b");
}

TEST_F(RingTypesetter, OddBytes) {
  // A lone lead byte at the end: one byte drawn, a two-byte step taken.
  const auto lead = Layout("a\x82");
  ASSERT_EQ(lead.size(), 2u);
  EXPECT_EQ(lead[1].bytes, "\x82");
  // A NUL byte is an ordinary one-byte character.
  const auto nul = Layout(std::string("a\0b", 3));
  ASSERT_EQ(nul.size(), 3u);
  EXPECT_EQ(nul[1].bytes, std::string(1, '\0'));
  EXPECT_TRUE(Layout("").empty());
}

TEST_F(RingTypesetter, SettingsThatGiveNoRingsDrawNothingAndEnd) {
  EXPECT_TRUE(Layout("abc", 180, 0).empty());
  EXPECT_TRUE(Layout("abc", 180, -10).empty());
  const LabelSettings defaults = settings;
  const LabelSettings odd[] = {
      {120, 600, 0, 45, 1, 30},     {120, 600, -150, 45, 1, 30},
      {120, 600, 150, 0, 1, 30},    {120, 600, 150, -45, 1, 30},
      {120, 600, 150, 45, 1, 0},    {120, 600, 150, 45, 1, INT_MAX},  // the window's end wraps
      {120, 600, 150, 45, 1000, 30}, {120, 600, 150, 45, INT_MIN, 5},
  };
  for (const LabelSettings& s : odd) {
    settings = s;
    EXPECT_TRUE(Layout("abc\r\ndef").empty())
        << s.charsPerCircle << " " << s.ringCount << " " << s.firstRing << " " << s.usedRings;
  }
  // A huge ring count ends as soon as the window is passed.
  settings = defaults;
  settings.ringCount = INT_MAX;
  settings.usedRings = 2;
  EXPECT_EQ(Layout("a\r\nb\r\nc").size(), 2u);
  // A canvas without radius draws nothing.
  LabelCanvas empty;
  EXPECT_TRUE(CreateCanvas(empty, {0, 600, 150, 45, 1, 30}));
  int seen = 0;
  DrawArcText(empty, defaults, 180, 178, "abc", [&](const GlyphPlacement&) { ++seen; });
  EXPECT_EQ(seen, 0);
}

// Dark pixels of a drawn glyph lie inside its turned cell, and the cell
// itself is painted white over whatever was there.
TEST(GlyphPixels, InkStaysInsideTheTurnedCell) {
  for (const int escapement : {0, 450, 900, 1800, 2700, -300}) {
    Surface surface(240, 240);
    for (int y = 0; y < 240; ++y) {
      for (int x = 0; x < 240; ++x) surface.setPixel(x, y, 0x00404040);
    }
    FontRequest font;
    font.height = 31;
    font.width = 26;
    font.escapement = escapement;
    const double theta = escapement * 3.14159265358979 / 1800;
    const double tx = std::cos(theta), ty = -std::sin(theta);  // along the text
    const double dx = std::sin(theta), dy = std::cos(theta);   // down the cell
    const double advance = 52, height = 31, slack = 1.5;
    surface.TextOut(font, 120, 120, "\x8A\xBF");  // a kanji with ink near its edges
    int ink = 0, whiteInside = 0;
    for (int y = 0; y < 240; ++y) {
      for (int x = 0; x < 240; ++x) {
        const double px = x + 0.5 - 120, py = y + 0.5 - 120;
        const double u = px * tx + py * ty, v = px * dx + py * dy;
        const bool inside = u > -slack && u < advance + slack && v > -slack && v < height + slack;
        const bool core = u > slack && u < advance - slack && v > slack && v < height - slack;
        const Pixel p = surface.pixel(x, y);
        if (!inside) {
          ASSERT_EQ(p, 0x00404040u) << "escapement " << escapement << " at " << x << "," << y;
        }
        if ((p & 0xFF) < 0x40) ++ink;
        if (core && p == kWhite) ++whiteInside;
      }
    }
    EXPECT_GT(ink, 60) << escapement;
    EXPECT_GT(whiteInside, 400) << escapement;  // the cell was painted
  }
}

TEST(GlyphPixels, HugeAndClippedGlyphsStayInBounds) {
  Surface surface(300, 300);
  FontRequest font;
  font.height = 2000;  // far larger than the surface: filled in strips, clipped on every side
  font.width = 1500;
  for (const int escapement : {0, 450, 1350, 2250, 3150}) {
    font.escapement = escapement;
    // Put the middle of a black square's cell on the middle of the surface.
    const double theta = escapement * 3.14159265358979 / 1800;
    const double halfAdvance = 1500, halfHeight = 1000;
    const double mx = halfAdvance * std::cos(theta) + halfHeight * std::sin(theta);
    const double my = -halfAdvance * std::sin(theta) + halfHeight * std::cos(theta);
    surface.FillWhite();
    surface.TextOut(font, static_cast<int>(150 - mx), static_cast<int>(150 - my), "\x81\xA1");
    EXPECT_EQ(surface.pixel(150, 150), kBlack) << escapement;
  }
}

TEST(GlyphPixels, TwoThreadDrawingMatchesOneByOne) {
  LabelSettings settings;
  LabelCanvas together, apart;
  ASSERT_TRUE(CreateCanvas(together, settings));
  ASSERT_TRUE(CreateCanvas(apart, settings));
  std::string text;
  for (int line = 0; line < 60; ++line) {
    text += cp932::FromUtf8("吾輩は猫である。名前はまだ無い。Hello ｱｲｳ 0123");
    text += line % 3 == 0 ? "\r\n" : "";
  }
  std::vector<GlyphRun> runs;
  for (const int start : {180, 360}) {
    DrawArcText(together, settings, start, 178, text,
                [&](const GlyphPlacement& g) { runs.push_back({g.font, g.x, g.y, g.bytes}); },
                false);
  }
  ASSERT_GT(runs.size(), 1000u);
  together.image.DrawRuns(runs);
  for (const GlyphRun& run : runs) apart.image.TextOut(run.font, run.x, run.y, run.bytes);
  EXPECT_TRUE(std::equal(together.image.pixels().begin(), together.image.pixels().end(),
                         apart.image.pixels().begin()));
}

}  // namespace
}  // namespace lumo
