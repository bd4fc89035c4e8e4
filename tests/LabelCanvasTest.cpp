// Canvas geometry, its limit and rebuilds.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "LabelCanvas.h"

namespace lumo {

TEST(LabelCanvas, DerivedValues) {
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, LabelSettings{}));
  EXPECT_EQ(canvas.outerRadiusPx, 600.0 * 120.0 * 0.5 / 25.4);   // 1417.32...
  EXPECT_EQ(canvas.canvasRect, (CanvasRect{0, 0, 2834, 2834}));  // truncated, not 2835
  EXPECT_EQ(canvas.image.width() * canvas.image.height(), 2834 * 2834);
  EXPECT_EQ(canvas.imageSize, 32'126'224);
  EXPECT_EQ(canvas.textCapacity, 9000);
  EXPECT_TRUE(std::all_of(canvas.image.pixels().begin(), canvas.image.pixels().end(),
                          [](Pixel p) { return p == kWhite; }));
  const CanvasGeometry small = ComputeCanvasGeometry({41, 61, 100, 45, 1, 30});
  EXPECT_EQ(small.outerRadiusPx, 49.23228346456693);
  EXPECT_EQ(small.side, 98);
  EXPECT_EQ(small.imageSize, 4 * 98 * 98);
  EXPECT_EQ(small.textCapacity, 6000);
  // The capacity is taken in 32 bits: 2 x 2 x 2^30 wraps to 0.
  EXPECT_EQ(ComputeCanvasGeometry({120, 600, 2, 45, 1, 0x40000000}).textCapacity, 0);
}

TEST(LabelCanvas, LimitRefusesAndKeepsThePreviousCanvas) {
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, LabelSettings{120, 300, 150, 45, 1, 30}));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  // 8191 pixels is the largest side: 346.78 mm at 600 dpi gives 8191.6, 346.8 gives 8192.1.
  EXPECT_EQ(ComputeCanvasGeometry({346.78, 600, 150, 45, 1, 30}).side, kMaxCanvasSide);
  EXPECT_TRUE(CanvasWithinLimit({346.78, 600, 150, 45, 1, 30}));
  for (const auto& [diameter, resolution] : {std::pair{346.8, 600.0},
                                             {599.0, 23999.0},
                                             {nan, 600.0},
                                             {120.0, inf},
                                             {-inf, 600.0},
                                             {1e300, 1e300}}) {
    const LabelSettings settings{diameter, resolution, 150, 45, 1, 30};
    EXPECT_FALSE(CanvasWithinLimit(settings)) << diameter << " " << resolution;
    EXPECT_FALSE(CreateCanvas(canvas, settings)) << diameter << " " << resolution;
    EXPECT_EQ(canvas.image.width(), 1417);
  }
  ASSERT_TRUE(CreateCanvas(canvas, LabelSettings{}));
  EXPECT_EQ(canvas.image.width(), 2834);
}

TEST(LabelCanvas, SideOfZeroOrLessGivesAnEmptyCanvas) {
  for (const auto& [diameter, resolution] :
       {std::pair{0.0, 600.0}, {-120.0, 600.0}, {120.0, -600.0}, {0.01, 1.0}}) {
    LabelCanvas canvas;
    ASSERT_TRUE(CreateCanvas(canvas, {diameter, resolution, 150, 45, 1, 30}));
    EXPECT_TRUE(canvas.image.empty());
    EXPECT_EQ(canvas.canvasRect, (CanvasRect{0, 0, 0, 0}));
    EXPECT_EQ(canvas.imageSize, 0);
  }
}

}  // namespace lumo
