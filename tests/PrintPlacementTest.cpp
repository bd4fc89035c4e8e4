// Where a printed label lands on the paper, and the calibration's limits.
#include <gtest/gtest.h>

#include <limits>

#include "PrintPlacement.h"

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

}  // namespace lumo
