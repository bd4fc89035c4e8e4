// Trim, split and the two halves of a composed label.
#include <gtest/gtest.h>

#include <algorithm>

#include "CanvasGeometry.h"
#include "LabelComposer.h"

namespace lumo {

TEST(LabelComposer, SplitsAfterTheUsedRingsLineBreakPairs) {
  // Text, used rings, upper half | lower half.
  const std::tuple<std::string, int, std::string> cases[] = {
      {"x\r\ny\r\nz", 30, "x\r\ny\r|z"},
      {"x\r\ny\r\nz\r\n", 30, "x\r\ny\r\nz\r|"},
      {"xyz", 30, "|xyz"},
      {"x\ny\nz", 30, "|x\ny\nz"},
      {"x\n\ry\r\nz", 1, "x\n|y\r\nz"},
      {"x\r\n\ry", 30, "x\r|\ry"},
      {"x\r\r\ny", 30, "x\r\r|y"},
      {"x\r\ny", 0, "|x\r\ny"},
      {"", 30, "|"},
      {std::string("a\r\nb\0c\r\nd", 9), 30, std::string("a\r|b\0c\r\nd", 9)},  // stops at NUL
  };
  for (const auto& [text, usedRings, expected] : cases) {
    const SplitText split = SplitAtLineBreaks(text, usedRings);
    EXPECT_EQ(std::string(split.upper) + "|" + std::string(split.lower), expected)
        << testing::PrintToString(text);
  }
}

TEST(LabelComposer, TrimsWholeCharactersByTheOneByteTest) {
  const std::tuple<std::string, int, std::string> cases[] = {
      {"abcd", 4, "abcd"},
      {"abcde", 4, "abcd"},
      {"ab\x82\xA0z", 4, "ab\x82\xA0"},
      {"abc\x82\xA0", 4, "abc"},
      {"abc", 0, "abc"},
      {"abc", -5, "abc"},
      // A trail byte in the lead-byte range is taken for a lead byte.
      {"ab\x88\x9Fz", 4, "ab\x88"}};
  for (const auto& [text, capacity, trimmed] : cases) {
    EXPECT_EQ(text.substr(0, TrimmedLength(text, capacity)), trimmed) << capacity;
  }
}

class Composed : public ::testing::Test {
 protected:
  LabelLayout Compose(std::string_view text) {
    return ComposeLayout(*ComputeCanvasGeometry(settings), settings, text);
  }
  LabelSettings settings;
};

TEST_F(Composed, UpperHalfFirstThenLowerFromTheSplit) {
  const LabelLayout layout = Compose("\x82\xA0\r\n\x82\xA2\r\nz");
  ASSERT_EQ(layout.glyphs.size(), 3u);
  EXPECT_EQ(std::tuple(layout.glyphs[1].half, layout.glyphs[2].half),
            std::tuple(LabelHalf::Upper, LabelHalf::Lower));
  EXPECT_EQ(std::tuple(layout.keptBytes, layout.lowerStart, layout.leftOffBytes),
            std::tuple(9u, 8u, 0u));
}

TEST_F(Composed, CountsWhatTheCapacityCutsAndWhatLiesBeyondTheWindow) {
  // Of 9036 bytes 9000 are kept; after い thirty LF leave the window, and the
  // line break that splits the halves belongs to neither.
  const LabelLayout layout =
      Compose("\x82\xA0\r\n\x82\xA2" + std::string(30, '\n') + std::string(9000, 'a'));
  EXPECT_EQ(std::tuple(layout.glyphs.size(), layout.keptBytes, layout.leftOffBytes,
                       layout.leftOffCharacters),
            std::tuple(2u, 9000u, 9000u, 9000u));
}

// Drawing is bounded: a settings file asking for thousands of glyphs as large
// as the canvas gets a few, the rest did not fit; what the dialog accepts is
// never cut, not even its largest cells on its largest canvas.
TEST_F(Composed, GlyphCellsStayWithinTheirBudget) {
  settings = {44, 4729, 536870912, 1, 0, 1};
  const LabelLayout hostile = Compose(std::string(10000, 'A'));
  const double side = ComputeCanvasGeometry(settings)->canvasRect.width;
  double area = 0;
  for (const PlacedGlyph& g : hostile.glyphs) area += 1.0 * g.font.height * g.font.height;
  EXPECT_LE(area, kDrawnAreaBudget * side * side);
  EXPECT_GT(hostile.glyphs.size(), 0u);
  EXPECT_EQ(hostile.leftOffBytes, 10000 - hostile.glyphs.size());
  settings = {346, 600, 300, 1, 0, 1};
  EXPECT_EQ(Compose(std::string(600, '\x88')).glyphs.size(), 148u);  // one ring's worth
}

}  // namespace lumo
