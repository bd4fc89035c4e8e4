// How the settings dialog's edit boxes show and read numbers, and how its
// dialog units become pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "DialogNumbers.h"

namespace lumo {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(DialogNumbers, FormatsTheUnsignedForm) {
  EXPECT_EQ(FormatUnsignedBox(0), "0");
  EXPECT_EQ(FormatUnsignedBox(120), "120");
  EXPECT_EQ(FormatUnsignedBox(kMax), "2147483647");
  EXPECT_EQ(FormatUnsignedBox(-1), "4294967295");
  EXPECT_EQ(FormatUnsignedBox(kMin), "2147483648");
}

TEST(DialogNumbers, EveryShownValueReadsBackUnchanged) {
  for (const std::int32_t v : {0, 1, 41, 599, 23999, kMax, -1, -2, -600, kMin}) {
    EXPECT_EQ(ParseUnsignedBox(FormatUnsignedBox(v)), v) << v;
  }
}

TEST(DialogNumbers, ReadsDecimalDigitsAroundBlanks) {
  EXPECT_EQ(ParseUnsignedBox("300"), 300);
  EXPECT_EQ(ParseUnsignedBox("  \t700"), 700);
  EXPECT_EQ(ParseUnsignedBox("700  "), 700);
  EXPECT_EQ(ParseUnsignedBox("000000000000000000000120"), 120);
  EXPECT_EQ(ParseUnsignedBox("0"), 0);
}

TEST(DialogNumbers, TextThatIsNotAWholeNumberReadsAsZero) {
  for (const char* text :
       {"", "   ", "abc", "12abc", "1 2", "12.5", "-1", "+5", "0x10", "１２０"}) {
    EXPECT_EQ(ParseUnsignedBox(text), 0) << '"' << text << '"';
  }
}

TEST(DialogNumbers, NumbersBeyondThirtyTwoBitsReadAsZero) {
  EXPECT_EQ(ParseUnsignedBox("4294967295"), -1);
  EXPECT_EQ(ParseUnsignedBox("4294967296"), 0);
  EXPECT_EQ(ParseUnsignedBox("18446744073709551616"), 0);
  EXPECT_EQ(ParseUnsignedBox(std::string(200, '9')), 0);
}

TEST(DialogNumbers, EmbeddedNulIsNotADigit) {
  std::string text = "123";
  text[1] = '\0';
  EXPECT_EQ(ParseUnsignedBox(text), 0);
}

TEST(DialogNumbers, DialogUnitsFollowTheFont) {
  // 52 letters of 338 pixels: 6.5 on average, which the base unit rounds to 7.
  EXPECT_EQ(HorizontalBaseUnit(338), 7);
  EXPECT_EQ(HorizontalBaseUnit(312), 6);
  EXPECT_EQ(HorizontalBaseUnit(0), 0);

  EXPECT_EQ(DialogUnitsToPixelsX(138, 6), 207);
  EXPECT_EQ(DialogUnitsToPixelsX(30, 7), 53);  // 52.5 rounds up
  EXPECT_EQ(DialogUnitsToPixelsX(0, 7), 0);
  EXPECT_EQ(DialogUnitsToPixelsY(77, 12), 116);  // 115.5 rounds up
  EXPECT_EQ(DialogUnitsToPixelsY(12, 12), 18);
  EXPECT_EQ(DialogUnitsToPixelsY(-1, 12), -2);  // halves round away from zero
}

}  // namespace
}  // namespace lumo
