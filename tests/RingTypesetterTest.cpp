// The ring walk: positions, font requests, line breaks, wrapping, the window,
// and settings that could make it endless.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "CodePage932.h"
#include "LabelComposer.h"
#include "RingTypesetter.h"
#include "TestSupport.h"

namespace lumo {

using test::Repeat;

class RingTypesetter : public ::testing::Test {
 protected:
  std::vector<PlacedGlyph> Layout(std::string_view text, int start = 180, int sweep = 178) {
    std::vector<PlacedGlyph> glyphs;
    double budget = 1e18;
    used = LayOutArcText(*ComputeCanvasGeometry(settings), settings, start, sweep, text,
                         LabelHalf::Upper, budget, glyphs);
    return glyphs;
  }
  std::vector<int> Rings(std::string_view text) {
    std::vector<int> rings;
    for (const PlacedGlyph& g : Layout(text)) rings.push_back(g.ring);
    return rings;
  }

  LabelSettings settings;
  std::size_t used = 0;
};

TEST_F(RingTypesetter, OneArcHolds74TwoByteOr148OneByteCharacters) {
  const auto wide = Layout(Repeat("\x82\xA0", 100));
  EXPECT_EQ(std::tuple(wide[73].ring, wide[74].ring), std::tuple(1, 2));
  EXPECT_EQ(wide[74].x, wide[0].x + 31);  // the next ring starts again at 180 degrees
  EXPECT_EQ(wide[74].font.width, 25);
  const auto narrow = Layout(std::string(200, 'a'));
  EXPECT_EQ(std::tuple(narrow[147].ring, narrow[148].ring), std::tuple(1, 2));
}

TEST_F(RingTypesetter, FitTestIsStrictAtTheEndAngle) {
  // Two characters a circle: a one-byte step is exactly a quarter turn, so
  // over 90 degrees the trailing edge lands on the end angle.
  settings.charsPerCircle = 2;
  EXPECT_TRUE(Layout("ab", 180, 90).empty());
  EXPECT_EQ(used, 0u);
}

TEST_F(RingTypesetter, LineBreakPairsMoveOneRingInward) {
  EXPECT_EQ(Rings("a\r\nb"), (std::vector<int>{1, 2}));
  EXPECT_EQ(Rings("a\n\rb"), (std::vector<int>{1, 2}));
  EXPECT_EQ(Rings("a\n\nb"), (std::vector<int>{1, 3}));          // LF LF leaves one ring empty
  EXPECT_EQ(Rings(Repeat("\x82\xA0", 74) + "\r\nb").back(), 2);  // no empty ring after a full one
  // Lines are counted apart from rings: a pair, or a lone CR or LF, ends one.
  std::vector<int> lines;
  for (const PlacedGlyph& g : Layout("a\r\nb\rc\n\rd\n\ne\r\n\rf")) lines.push_back(g.line);
  EXPECT_EQ(lines, (std::vector<int>{0, 1, 2, 3, 5, 7}));
}

TEST_F(RingTypesetter, SettingsThatGiveNoRingsPlaceNothing) {
  EXPECT_TRUE(Layout("abc", 180, 0).empty());
  EXPECT_TRUE(Layout("abc", 180, -10).empty());
  // Characters per circle, ring count, first ring, used rings; the window's end may wrap.
  const int cases[][4] = {{0, 45, 1, 30},      {-150, 45, 1, 30},     {150, 0, 1, 30},
                          {150, -45, 1, 30},   {150, 45, 1, 0},       {150, 45, 1, INT_MAX},
                          {150, 45, 1000, 30}, {150, 45, INT_MIN, 5}, {150, 45, -30, 30}};
  for (const auto& [chars, count, first, window] : cases) {
    settings = LabelSettings{120, 600, chars, count, first, window};
    EXPECT_TRUE(Layout("abc\r\ndef").empty())
        << chars << " " << count << " " << first << " " << window;
  }
  settings = LabelSettings{0.001, 600, 150, 45, 1, 30};  // a canvas below a pixel
  EXPECT_TRUE(Layout("abc").empty());
}

// Settings files can ask for billions of rings: each layout must still take
// no time, and place what the walk would.
TEST_F(RingTypesetter, HostileSettingsLayOutAtOnce) {
  const std::string text = Repeat(LabelTextFromUtf8("あa\r\n").bytes, 40) + Repeat("\n", 1000) + "b";
  // Characters per circle, ring count, first ring, used rings, glyphs placed:
  // one character a circle fits no 178-degree arc; a pitch below one pixel
  // gives no font; a window beyond the last ring of positive radius; a
  // capacity that wraps to 2 bytes keeps the first character only.
  const int cases[][5] = {{1, INT_MAX, 0, INT_MAX, 0},
                          {150, INT_MAX, 0, INT_MAX, 0},
                          {150, 2000, 0, 2000, 0},
                          {150, 45, INT_MAX - 10, 10, 0},
                          {150, 1417, 1400, INT_MAX - 1400, 36},
                          {INT_MAX, 1, 0, INT_MAX, 1}};
  for (const auto& [chars, count, first, window, glyphs] : cases) {
    settings = LabelSettings{120, 600, chars, count, first, window};
    const auto started = std::chrono::steady_clock::now();
    const LabelLayout layout = ComposeLayout(*ComputeCanvasGeometry(settings), settings, text);
    EXPECT_EQ(layout.glyphs.size(), std::size_t(glyphs)) << chars << " " << count;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(200));
  }
}

}  // namespace lumo
