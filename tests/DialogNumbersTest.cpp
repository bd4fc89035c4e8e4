// How the settings dialog's boxes show and read numbers, and its dialog units.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "DialogNumbers.h"

namespace lumo {

TEST(DialogNumbers, ShownUnsignedAndReadBackUnchanged) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(FormatUnsignedBox(120), "120");
  EXPECT_EQ(FormatUnsignedBox(-1), "4294967295");
  EXPECT_EQ(FormatUnsignedBox(kMin), "2147483648");
  for (const std::int32_t v : {0, 41, 23999, std::numeric_limits<std::int32_t>::max(), -1, kMin}) {
    EXPECT_EQ(ParseUnsignedBox(FormatUnsignedBox(v)), v) << v;
  }
}

TEST(DialogNumbers, ReadsDigitsBetweenBlanksAndAnythingElseAsZero) {
  EXPECT_EQ(ParseUnsignedBox("  \t700  "), 700);
  EXPECT_EQ(ParseUnsignedBox("000000000000000000000120"), 120);
  for (const std::string text : {"4294967296", "18446744073709551616", "", "   ", "abc", "12abc",
                                 "1 2", "12.5", "-1", "+5", "0x10", "１２０"}) {
    EXPECT_EQ(ParseUnsignedBox(text), 0) << text;
  }
  EXPECT_EQ(ParseUnsignedBox(std::string(200, '9')), 0);
  EXPECT_EQ(ParseUnsignedBox(std::string("1\0003", 3)), 0);  // NUL is no digit
}

TEST(DialogNumbers, DialogUnitsFollowTheFont) {
  EXPECT_EQ(HorizontalBaseUnit(338), 7);  // 6.5 on average rounds up
  EXPECT_EQ(HorizontalBaseUnit(312), 6);
  EXPECT_EQ(DialogUnitsToPixelsX(138, 6), 207);
  EXPECT_EQ(DialogUnitsToPixelsX(30, 7), 53);    // 52.5 rounds up
  EXPECT_EQ(DialogUnitsToPixelsY(77, 12), 116);  // 115.5 rounds up
  EXPECT_EQ(DialogUnitsToPixelsY(-1, 12), -2);   // halves round away from zero
}

}  // namespace lumo
