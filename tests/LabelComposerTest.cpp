// Trim, split and the two halves of a composed label.
#include <gtest/gtest.h>

#include <algorithm>

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
      {"x\r\ny\r\nz\r\nw", 2, "x\r\ny\r|z\r\nw"},
      {"x\r\ny", 0, "|x\r\ny"},
      {"", 30, "|"},
      {std::string("a\r\nb\0c\r\nd", 9), 30, std::string("a\r|b\0c\r\nd", 9)},  // stops at NUL
  };
  for (const auto& [text, usedRings, expected] : cases) {
    const SplitText split = SplitAtLineBreaks(text, usedRings);
    EXPECT_EQ(split.upper + "|" + split.lower, expected) << testing::PrintToString(text);
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
  for (auto [text, capacity, trimmed] : cases) {
    TrimToCapacity(text, capacity);
    EXPECT_EQ(text, trimmed) << capacity;
  }
}

TEST(LabelComposer, ComposesBothHalvesOnAWhiteCanvas) {
  LabelSettings settings;
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, settings));
  // After い, thirty LF leave the window: the rest is trimmed but never drawn.
  std::string labelText = "\x82\xA0\r\n\x82\xA2" + std::string(30, '\n') + std::string(9000, 'a');
  std::string lowerText = "left over";
  std::vector<LabelHalf> halves;
  const auto compose = [&] {
    halves.clear();
    ComposeLabel(canvas, settings, labelText, lowerText,
                 [&](LabelHalf half, const GlyphPlacement&) { halves.push_back(half); });
    return std::count(canvas.image.pixels().begin(), canvas.image.pixels().end(), kWhite);
  };
  const std::size_t all = canvas.image.pixels().size();
  EXPECT_LT(compose(), all);
  EXPECT_EQ(labelText.size(), 9000u);  // trimmed to the capacity
  EXPECT_EQ(lowerText, labelText.substr(4));
  EXPECT_EQ(halves, (std::vector<LabelHalf>{LabelHalf::Upper, LabelHalf::Lower}));
  labelText.clear();  // nothing to draw: the white fill alone
  EXPECT_EQ(compose(), all);
  EXPECT_TRUE(halves.empty() && lowerText.empty());
  settings.usedRings = 0;  // no rings in the window
  labelText = "a\r\nb";
  EXPECT_EQ(compose(), all);
  EXPECT_TRUE(halves.empty());
  EXPECT_EQ(lowerText, "a\r\nb");
}

}  // namespace lumo
