// Trim, split and the two halves of a composed label.
#include "LabelComposer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace lumo {
namespace {

TEST(SplitAtLineBreaks, WorkedSplits) {
  struct Case {
    std::string text;
    std::int32_t usedRings;
    std::string upper;
    std::string lower;
  };
  const Case cases[] = {
      {"x\r\ny\r\nz", 30, "x\r\ny\r", "z"},
      {"x\r\ny\r\nz\r\n", 30, "x\r\ny\r\nz\r", ""},
      {"xyz", 30, "", "xyz"},
      {"x\ny\nz", 30, "", "x\ny\nz"},
      {"x\n\ry\r\nz", 30, "x\n\ry\r", "z"},
      {"x\r\n\ry", 30, "x\r", "\ry"},
      {"x\r\ny\r\nz\r\nw", 2, "x\r\ny\r", "z\r\nw"},
      {"", 30, "", ""},
      {"x\r\ny", 0, "", "x\r\ny"},
      {"x\r\ny", -3, "", "x\r\ny"},
      {"x\r\r\ny", 30, "x\r\r", "y"},
  };
  for (const Case& c : cases) {
    const SplitText split = SplitAtLineBreaks(c.text, c.usedRings);
    EXPECT_EQ(split.upper, c.upper) << c.text;
    EXPECT_EQ(split.lower, c.lower) << c.text;
  }
}

TEST(SplitAtLineBreaks, LookUpStopsAtANulByte) {
  const std::string text("a\r\nb\0c\r\nd", 9);
  const SplitText split = SplitAtLineBreaks(text, 30);
  EXPECT_EQ(split.upper, "a\r");
  EXPECT_EQ(split.lower, std::string("b\0c\r\nd", 6));
}

TEST(TrimToCapacity, CutsWholeCharactersByTheOneByteTest) {
  std::string exact = "abcd";
  TrimToCapacity(exact, 4);
  EXPECT_EQ(exact, "abcd");

  std::string oneByte = "abcde";
  TrimToCapacity(oneByte, 4);
  EXPECT_EQ(oneByte, "abcd");

  std::string twoByte = "ab\x82\xA0" "e";  // lead byte at index 3 when capacity is 4
  TrimToCapacity(twoByte, 4);
  EXPECT_EQ(twoByte, "ab\x82\xA0");
  std::string cutLead = "abc\x82\xA0";
  TrimToCapacity(cutLead, 4);
  EXPECT_EQ(cutLead, "abc");

  // A trail byte in the lead-byte range is taken for a lead byte: the
  // character before it loses its second byte.
  std::string trailLikeLead = "ab\x88\x9F" "z";
  TrimToCapacity(trailLikeLead, 4);
  EXPECT_EQ(trailLikeLead, "ab\x88");

  std::string untouched = "abc";
  TrimToCapacity(untouched, 0);
  EXPECT_EQ(untouched, "abc");
  TrimToCapacity(untouched, -5);
  EXPECT_EQ(untouched, "abc");
}

class ComposeLabelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateCanvas(canvas, settings)); }

  std::vector<std::pair<LabelHalf, GlyphPlacement>> Compose(bool draw = false) {
    std::vector<std::pair<LabelHalf, GlyphPlacement>> glyphs;
    ComposeLabel(
        canvas, settings, labelText, lowerText,
        [&](LabelHalf half, const GlyphPlacement& g) { glyphs.emplace_back(half, g); }, draw);
    return glyphs;
  }

  LabelSettings settings;
  LabelCanvas canvas;
  std::string labelText;
  std::string lowerText = "left over";
};

TEST_F(ComposeLabelTest, HalvesStartOnTheFirstRingOfTheWindow) {
  labelText = "\x82\xA0\r\n\x82\xA2";
  const auto glyphs = Compose();
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_EQ(glyphs[0].first, LabelHalf::Upper);
  EXPECT_EQ(glyphs[0].second.x, 31);
  EXPECT_EQ(glyphs[0].second.y, 1417);
  EXPECT_EQ(glyphs[1].first, LabelHalf::Lower);
  EXPECT_EQ(glyphs[1].second.x, 2802);
  EXPECT_EQ(glyphs[1].second.y, 1416);
  EXPECT_EQ(lowerText, "\x82\xA2");
}

TEST_F(ComposeLabelTest, TrimsTheBufferAndReplacesTheLowerText) {
  labelText = std::string(9001, 'a');
  Compose();
  EXPECT_EQ(labelText.size(), 9000u);
  EXPECT_EQ(lowerText, labelText);  // no line break: everything goes below
}

TEST_F(ComposeLabelTest, EmptyTextGivesAWhiteCanvas) {
  labelText = "x";
  Compose(true);
  EXPECT_TRUE(std::any_of(canvas.image.pixels().begin(), canvas.image.pixels().end(),
                          [](Pixel p) { return p != kWhite; }));
  labelText.clear();
  EXPECT_TRUE(Compose(true).empty());
  EXPECT_TRUE(std::all_of(canvas.image.pixels().begin(), canvas.image.pixels().end(),
                          [](Pixel p) { return p == kWhite; }));
  EXPECT_EQ(lowerText, "");
}

TEST_F(ComposeLabelTest, NoRingsInTheWindowMeansNothingDrawn) {
  settings.usedRings = 0;
  labelText = "a\r\nb";
  EXPECT_TRUE(Compose().empty());
  EXPECT_EQ(lowerText, "a\r\nb");
}

TEST_F(ComposeLabelTest, EmptyCanvasIsHandled) {
  settings.diameterMm = -1;
  ASSERT_TRUE(CreateCanvas(canvas, settings));
  labelText = "abc";
  EXPECT_TRUE(Compose(true).empty());
  EXPECT_EQ(labelText, "abc");  // capacity is still 9000
}

}  // namespace
}  // namespace lumo
