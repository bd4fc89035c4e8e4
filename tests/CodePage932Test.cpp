// Code page 932 classification and conversions.
#include "CodePage932.h"

#include <gtest/gtest.h>

namespace lumo::cp932 {
namespace {

TEST(CodePage932, LeadByteRanges) {
  for (int b = 0; b < 256; ++b) {
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), lead) << b;
  }
  EXPECT_EQ(CharLength("\x82\xA0" "a", 0), 2u);
  EXPECT_EQ(CharLength("\x82\xA0" "a", 2), 1u);
  EXPECT_EQ(CharLength("\x82", 0), 2u);  // a lone lead byte still counts as two
  EXPECT_EQ(CharLength("a", 1), 0u);
}

TEST(CodePage932, FromUtf8) {
  EXPECT_EQ(FromUtf8("abc\r\n"), "abc\r\n");
  EXPECT_EQ(FromUtf8("あ"), "\x82\xA0");
  EXPECT_EQ(FromUtf8("　"), "\x81\x40");
  EXPECT_EQ(FromUtf8("ｱ"), "\xB1");
  EXPECT_EQ(FromUtf8("漢字"), "\x8A\xBF\x8E\x9A");
  EXPECT_EQ(FromUtf8("①"), "\x87\x40");
  EXPECT_EQ(FromUtf8("～"), "\x81\x60");
  EXPECT_EQ(FromUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(CodePage932, CharactersWithoutAFormBecomeQuestionMarks) {
  EXPECT_EQ(FromUtf8("€"), "?");
  EXPECT_EQ(FromUtf8("😀x"), "?x");
  // Every byte of an invalid sequence: a stray continuation, a cut sequence,
  // an overlong form and an encoded surrogate.
  EXPECT_EQ(FromUtf8("\x80"), "?");
  EXPECT_EQ(FromUtf8("a\xE3\x81"), "a??");
  EXPECT_EQ(FromUtf8("\xC0\xAF"), "??");
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), "???");
}

TEST(CodePage932, SharedCharactersTakeTheCodeWindowsWrites) {
  EXPECT_EQ(FromUtf8("≒"), "\x81\xE0");   // not the NEC row 0x8790
  EXPECT_EQ(FromUtf8("ⅰ"), "\xFA\x40");   // not the NEC-selected 0xEEEF
  EXPECT_EQ(FromUtf8("￢"), "\x81\xCA");
}

TEST(CodePage932, ToCodePointAndBack) {
  EXPECT_EQ(ToCodePoint("\x82\xA0"), U'あ');
  EXPECT_EQ(ToCodePoint("A"), U'A');
  EXPECT_EQ(ToCodePoint(std::string_view("\0", 1)), U'\0');
  EXPECT_EQ(ToCodePoint("\xB1"), U'ｱ');
  EXPECT_EQ(ToCodePoint("\x82"), kNoCodePoint);
  EXPECT_EQ(ToCodePoint(""), kNoCodePoint);
  EXPECT_EQ(ToUtf8("\x82\xA0\x8A\xBF" "A\xB1"), "あ漢Aｱ");
  EXPECT_EQ(ToUtf8("x\x82"), "x\uFFFD");
}

TEST(CodePage932, MultibyteUtf8Detection) {
  EXPECT_TRUE(LooksLikeMultibyteUtf8("abc あ"));
  EXPECT_FALSE(LooksLikeMultibyteUtf8("plain ascii"));
  EXPECT_FALSE(LooksLikeMultibyteUtf8("\x82\xA0"));  // Shift-JIS, not UTF-8
  EXPECT_FALSE(LooksLikeMultibyteUtf8("あ\xFF"));
  EXPECT_FALSE(LooksLikeMultibyteUtf8(""));
}

}  // namespace
}  // namespace lumo::cp932
