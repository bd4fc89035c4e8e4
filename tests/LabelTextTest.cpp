// UTF-8 to label text: code page 932 where it has a form (Linux's JIS forms
// folded as glibc folds them), every other grapheme cluster kept whole beside
// a placeholder of its width.
#include <gtest/gtest.h>

#include "CanvasGeometry.h"
#include "LabelComposer.h"
#include "LabelText.h"

namespace lumo {

using Extras = std::vector<ExtraCharacter>;

TEST(LabelText, CodePage932FormsAsGlibcWritesThem) {
  const LabelText text = LabelTextFromUtf8("a〜‖−—¢£¬あ\x80\xC0\xAF\xED\xA0\x80z\xE3\x81");
  EXPECT_EQ(text.bytes, "a\x81\x60\x81\x61\x81\x7C\x81\x5C\x81\x91\x81\x92\x81\xCA\x82\xA0"
                        "??????z??");  // each byte of an invalid or cut sequence
  EXPECT_TRUE(text.extras.empty());
  EXPECT_EQ(LabelTextFromUtf8(std::string_view("a\0b", 3)).bytes, std::string_view("a\0b", 3));
}

TEST(LabelText, ClustersBeyondCodePage932StandAsPlaceholdersOfTheirWidth) {
  // UTF-8, bytes, extras.
  const std::tuple<std::string, std::string, Extras> cases[] = {
      {"Café €5 ™", "Caf? ?5 ?", {{3, U"é"}, {5, U"€"}, {8, U"™"}}},
      {"𠮷野家", "\x81\x48\x96\xec\x89\xc6", {{0, U"𠮷"}}},
      // Composed first: e + U+0301 is é, か + U+3099 is が, which has a form.
      {"e\u0301か\u3099", "?\x82\xaa", {{0, U"é"}}},
      // Selectors, joiners and modifiers take no step of their own; a base with a
      // two-byte form, or a wide one, makes the cluster wide.
      {"❤\uFE0F☆\uFE0F👍🏽", "?\x81\x48\x81\x48",
       {{0, U"❤\uFE0F"}, {1, U"☆\uFE0F"}, {3, U"👍🏽"}}},
      // A mark with nothing to sit on is narrow.
      {"\u0301x", "?x", {{0, U"\u0301"}}},
      // ¥ and ‾ are drawn as themselves, never as a backslash and a tilde.
      {"¥500‾\xff", "?500??", {{0, U"¥"}, {4, U"‾"}}},
  };
  for (const auto& [utf8, bytes, extras] : cases) {
    const LabelText text = LabelTextFromUtf8(utf8);
    EXPECT_EQ(text.bytes, bytes) << utf8;
    EXPECT_EQ(text.extras, extras) << utf8;
  }
}

TEST(LabelText, TruncateKeepsWholePlaceholdersAndAppendMovesThem) {
  LabelText text = LabelTextFromUtf8("é𠮷");
  text.Append(LabelTextFromUtf8("x€"));
  EXPECT_EQ(text.bytes, "?\x81\x48x?");
  EXPECT_EQ(text.extras, (Extras{{0, U"é"}, {1, U"𠮷"}, {4, U"€"}}));
  text.Truncate(2);  // half of 𠮷's placeholder: a lone lead byte, as a cut character
  EXPECT_EQ(text.bytes, "?\x81");
  EXPECT_EQ(text.extras, (Extras{{0, U"é"}}));
}

TEST(LabelText, PlacedPlaceholdersNameTheirCharacters) {
  const LabelSettings settings{40, 300, 40, 8, 0, 1};
  const LabelText text = LabelTextFromUtf8("é\r\n€ab¥");
  const LabelLayout layout =
      ComposeLayout(ComputeCanvasGeometry(settings).value(), settings, text.bytes, text.extras);
  std::vector<int> named;
  for (const PlacedGlyph& glyph : layout.glyphs) named.push_back(glyph.extra);
  EXPECT_EQ(named, (std::vector{0, 1, -1, -1, 2}));
  EXPECT_EQ(layout.extras, (std::vector<std::u32string>{U"é", U"€", U"¥"}));
}

}  // namespace lumo
