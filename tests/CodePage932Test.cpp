// Code page 932 classification and conversions.
#include <gtest/gtest.h>

#include "CodePage932.h"

namespace lumo::cp932 {

TEST(CodePage932, FromUtf8) {
  EXPECT_EQ(FromUtf8("abc\r\nあｱ漢字①～"), "abc\r\n\x82\xA0\xB1\x8A\xBF\x8E\x9A\x87\x40\x81\x60");
  // Characters in two rows take the row Windows writes.
  EXPECT_EQ(FromUtf8("≒ⅰ￢"), "\x81\xE0\xFA\x40\x81\xCA");
  // No form, and every byte of a stray, overlong, surrogate or cut sequence: "?".
  EXPECT_EQ(FromUtf8("€😀x\x80\xC0\xAF\xED\xA0\x80z\xE3\x81"), "??x??????z??");
  EXPECT_EQ(FromUtf8(std::string_view("a\0b", 3)), std::string_view("a\0b", 3));
}

TEST(CodePage932, ToCodePointAndUtf8) {
  EXPECT_EQ(ToCodePoint("\x82\xA0"), U'あ');
  EXPECT_EQ(ToCodePoint("\xB1"), U'ｱ');
  EXPECT_EQ(ToCodePoint(std::string_view("\0", 1)), U'\0');
  EXPECT_EQ(ToCodePoint("\x82"), kNoCodePoint);  // a lone lead byte is no character
  EXPECT_EQ(ToCodePoint(""), kNoCodePoint);
}

}  // namespace lumo::cp932
