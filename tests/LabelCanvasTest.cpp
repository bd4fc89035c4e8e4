// Canvas geometry, its limit and rebuilds.
#include "LabelCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace lumo {
namespace {

bool AllWhite(const Surface& surface) {
  const auto pixels = surface.pixels();
  return std::all_of(pixels.begin(), pixels.end(), [](Pixel p) { return p == kWhite; });
}

TEST(LabelCanvas, DefaultSettings) {
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, LabelSettings{}));
  EXPECT_DOUBLE_EQ(canvas.outerRadiusPx, 1417.3228346456694);
  EXPECT_EQ(canvas.outerRadiusPx, 600.0 * 120.0 * 0.5 / 25.4);
  EXPECT_EQ(canvas.canvasRect, (CanvasRect{0, 0, 2834, 2834}));  // truncated, not 2835
  EXPECT_EQ(canvas.image.width(), 2834);
  EXPECT_EQ(canvas.image.height(), 2834);
  EXPECT_EQ(canvas.imageSize, 32'126'224);
  EXPECT_EQ(canvas.textCapacity, 9000);
  EXPECT_EQ(canvas.planes, 1);
  EXPECT_EQ(canvas.bitsPerPixel, 32);
  EXPECT_TRUE(AllWhite(canvas.image));
}

TEST(LabelCanvas, SmallestDialogCanvas) {
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, LabelSettings{41, 61, 150, 45, 1, 30}));
  EXPECT_EQ(canvas.outerRadiusPx, 49.23228346456693);
  EXPECT_EQ(canvas.canvasRect, (CanvasRect{0, 0, 98, 98}));
  EXPECT_EQ(canvas.imageSize, 4 * 98 * 98);
}

TEST(LabelCanvas, RebuildReplacesImageAndDerivedValues) {
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, LabelSettings{}));
  canvas.image.setPixel(5, 5, kBlack);
  LabelSettings settings;
  settings.resolutionDpi = 300;
  settings.usedRings = 10;
  ASSERT_TRUE(CreateCanvas(canvas, settings));
  EXPECT_EQ(canvas.canvasRect.width(), 1417);
  EXPECT_EQ(canvas.textCapacity, 3000);
  EXPECT_TRUE(AllWhite(canvas.image));
  // Only the capacity changes when the size does not.
  settings.charsPerCircle = 100;
  ASSERT_TRUE(CreateCanvas(canvas, settings));
  EXPECT_EQ(canvas.canvasRect.width(), 1417);
  EXPECT_EQ(canvas.textCapacity, 2000);
}

TEST(LabelCanvas, LimitRefusesAndKeepsThePreviousCanvas) {
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, LabelSettings{}));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const LabelSettings refused[] = {
      {347, 600, 150, 45, 1, 30},     // side 8196
      {599, 23999, 150, 45, 1, 30},   // passes every dialog rule
      {nan, 600, 150, 45, 1, 30},
      {120, inf, 150, 45, 1, 30},
      {-inf, 600, 150, 45, 1, 30},
      {1e300, 1e300, 150, 45, 1, 30},
  };
  for (const LabelSettings& settings : refused) {
    EXPECT_FALSE(CanvasWithinLimit(settings));
    EXPECT_FALSE(CreateCanvas(canvas, settings));
    EXPECT_EQ(canvas.canvasRect.width(), 2834);
    EXPECT_EQ(canvas.image.width(), 2834);
  }
  // 8191 pixels is the largest side: 346.78 mm at 600 dpi is 8191.6, 346.8 is 8192.1.
  EXPECT_TRUE(CanvasWithinLimit({346.78, 600, 150, 45, 1, 30}));
  EXPECT_EQ(ComputeCanvasGeometry({346.78, 600, 150, 45, 1, 30}).side, kMaxCanvasSide);
  EXPECT_FALSE(CanvasWithinLimit({346.8, 600, 150, 45, 1, 30}));
}

TEST(LabelCanvas, SideOfZeroOrLessGivesAnEmptyCanvas) {
  for (const LabelSettings& settings : {LabelSettings{0, 600, 150, 45, 1, 30},
                                        LabelSettings{-120, 600, 150, 45, 1, 30},
                                        LabelSettings{120, -600, 150, 45, 1, 30},
                                        LabelSettings{0.01, 1, 150, 45, 1, 30}}) {
    LabelCanvas canvas;
    ASSERT_TRUE(CreateCanvas(canvas, settings));
    EXPECT_TRUE(canvas.image.empty());
    EXPECT_EQ(canvas.canvasRect, (CanvasRect{0, 0, 0, 0}));
    EXPECT_EQ(canvas.imageSize, 0);
  }
}

TEST(LabelCanvas, CapacityWrapsInThirtyTwoBits) {
  LabelSettings settings;
  settings.usedRings = 0x40000000;
  settings.charsPerCircle = 2;  // 2^32: wraps to 0
  EXPECT_EQ(ComputeCanvasGeometry(settings).textCapacity, 0);
}

}  // namespace
}  // namespace lumo
