// Where a printed label lands on the paper or on a sheet's places, and the
// calibration's limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "PrintPlacement.h"
#include "Sheet.h"

namespace lumo {

void ExpectRect(const PrintRect& r, double left, double top, double side) {
  EXPECT_NEAR(r.left, left, 1e-9);
  EXPECT_NEAR(r.top, top, 1e-9);
  EXPECT_NEAR(r.width, side, 1e-9);
  EXPECT_NEAR(r.height, side, 1e-9);
}

TEST(PrintPlacement, CentredOnThePaperThenMovedAndScaled) {
  // A4: 210 x 297 mm; a 120 mm label.
  ExpectRect(PlaceLabel(210, 297, 120, {}), 45, 88.5, 120);
  ExpectRect(PlaceLabel(210, 297, 120, {2.5, -1.5, 100}), 47.5, 87, 120);
  // 102 % of 120 mm is 122.4 mm, about the same centre.
  ExpectRect(PlaceLabel(210, 297, 120, {0, 0, 102}), 43.8, 87.3, 122.4);
  ExpectRect(PlaceLabel(215.9, 279.4, 120, {-3, 4, 95}), 50.95 - 3, 82.7 + 4, 114);
}

TEST(PrintPlacement, CalibrationIsKeptInItsRangesAndTenths) {
  EXPECT_EQ(ClampCalibration({30.04, -30.04, 110.04}), (PrintCalibration{30, -30, 110}));
  EXPECT_EQ(ClampCalibration({45, -99, 250}), (PrintCalibration{30, -30, 110}));
  EXPECT_EQ(ClampCalibration({0.26, -0.24, 89}), (PrintCalibration{0.3, -0.2, 90}));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(ClampCalibration({nan, inf, nan}), (PrintCalibration{0, 0, 100}));
  // A stored value beyond the ranges places the label as its limit does.
  ExpectRect(PlaceLabel(210, 297, 120, {1e9, 0, 0}), 45 + 30 + 6, 88.5 + 6, 108);
}

TEST(PrintPlacement, FitsOnlyWhollyOnThePaper) {
  EXPECT_TRUE(FitsOnPaper(PlaceLabel(210, 297, 120, {30, 30, 110}), 210, 297));
  EXPECT_TRUE(FitsOnPaper(PlaceLabel(120, 120, 120, {}), 120, 120));
  EXPECT_FALSE(FitsOnPaper(PlaceLabel(120, 120, 120, {0.1, 0, 100}), 120, 120));
  EXPECT_FALSE(FitsOnPaper(PlaceLabel(210, 297, 200, {-10, 0, 100}), 210, 297));
  EXPECT_FALSE(FitsOnPaper(PlaceLabel(210, 297, 599, {}), 210, 297));
}

TEST(PrintPlacement, OnASheetEachLabelIsMovedAndScaledAboutItsOwnPlace) {
  // A 120 mm label; the calibration moves it 2.5 right and 1.5 up and makes
  // it 122.4 mm about the same centre.
  struct Case {
    const char* sheet;
    int position;
    double left, top, calibratedLeft, calibratedTop;
  };
  const Case cases[] = {
      {"a4-2", 0, 45, 19.9, 46.3, 17.2},
      {"a4-2", 1, 45, 158.3, 46.3, 155.6},
      {"a4-2-small-hole", 0, 45, 20.5, 46.3, 17.8},
      {"a4-2-small-hole", 1, 45, 157.5, 46.3, 154.8},
      {"letter-2", 0, 47.95, 16.2, 49.25, 13.5},
      {"letter-2", 1, 47.95, 143.2, 49.25, 140.5},
      {"centred-a4", 0, 45, 88.5, 46.3, 85.8},
      {"centred-letter", 0, 47.95, 79.7, 49.25, 77},
  };
  const auto sheets = BuiltInSheets();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.sheet) + " " + std::to_string(c.position));
    const Sheet& sheet = *std::find_if(sheets.begin(), sheets.end(),
                                       [&](const Sheet& s) { return s.name == c.sheet; });
    const int at[] = {c.position};
    const auto place = [&](const PrintCalibration& calibration) {
      return PlaceOnSheet(sheet, sheet.pageWidthMm, sheet.pageHeightMm, at, 120, calibration)
          .value()
          .at(0);
    };
    ExpectRect(place({}), c.left, c.top, 120);
    ExpectRect(place({2.5, -1.5, 102}), c.calibratedLeft, c.calibratedTop, 122.4);
  }
}

TEST(PrintPlacement, TheCentredSheetPlacesAsThePaperDoes) {
  const int first[] = {0};
  const PrintCalibration c{-3, 4, 95};
  const PrintRect expected = PlaceLabel(200, 250, 120, c);
  const PrintRect placed = PlaceOnSheet(CentredSheet(), 200, 250, first, 120, c)->at(0);
  EXPECT_TRUE(placed.left == expected.left && placed.top == expected.top &&
              placed.width == expected.width);
  // Nothing chosen, a place the sheet lacks, a label moved off the paper.
  EXPECT_EQ(PlaceOnSheet(CentredSheet(), 200, 250, {}, 120, c).error().reason,
            ErrorReason::NothingToPrint);
  const int second[] = {1};
  EXPECT_EQ(PlaceOnSheet(CentredSheet(), 200, 250, second, 120, c).error().size, 2u);
  EXPECT_EQ(PlaceOnSheet(BuiltInSheets()[0], 210, 297, first, 120, {0, -20, 100}).error().reason,
            ErrorReason::LabelOffPaper);
  // Only a label larger than the sheet's disc goes beyond it.
  EXPECT_TRUE(LabelBleeds(BuiltInSheets()[0], 117.1));
  EXPECT_FALSE(LabelBleeds(BuiltInSheets()[0], 117));
  EXPECT_FALSE(LabelBleeds(CentredSheet(), 300));
}

}  // namespace lumo
