// Canvas geometry, its limit, and the canvas made from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "CanvasGeometry.h"
#include "LabelCanvas.h"

namespace lumo {

TEST(CanvasGeometry, WorkedValuesAtTheDefaults) {
  const CanvasGeometry geometry = ComputeCanvasGeometry(LabelSettings{}).value();
  EXPECT_EQ(geometry.outerRadiusPx, 1417.3228346456694);
  EXPECT_EQ(geometry.canvasRect, (CanvasRect{0, 0, 2834, 2834}));  // truncated, not 2835
  EXPECT_EQ(geometry.imageSize, 32'126'224);
  EXPECT_EQ(geometry.textCapacity, 9000);
}

TEST(CanvasGeometry, CapacityWrapsIn32Bits) {
  // 2 x 2 x 2^30 wraps to 0; -2^31 x -2^31 x 2 to 0 as well, without overflow.
  EXPECT_EQ(ComputeCanvasGeometry({120, 600, 2, 45, 1, 0x40000000})->textCapacity, 0);
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(ComputeCanvasGeometry({120, 600, kMin, 45, 1, kMin})->textCapacity, 0);
  EXPECT_EQ(ComputeCanvasGeometry({120, 600, 300, 45, 1, 0x7FFFFFFF})->textCapacity, -600);
}

TEST(CanvasGeometry, LimitIsASideOf8191Pixels) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  // 346.78 mm at 600 dpi gives 8191.6, 346.8 gives 8192.1.
  EXPECT_EQ(ComputeCanvasGeometry({346.78, 600, 150, 45, 1, 30})->canvasRect.width(),
            kMaxCanvasSide);
  for (const auto& [diameter, resolution] : {std::pair{346.8, 600.0},
                                             {599.0, 23999.0},
                                             {nan, 600.0},
                                             {120.0, inf},
                                             {-inf, 600.0},
                                             {1e300, 1e300}}) {
    EXPECT_FALSE(ComputeCanvasGeometry({diameter, resolution, 150, 45, 1, 30}))
        << diameter << " " << resolution;
  }
}

TEST(LabelCanvas, RefusedSettingsKeepThePreviousCanvas) {
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, LabelSettings{120, 300, 150, 45, 1, 30}));
  EXPECT_TRUE(std::all_of(canvas.image.pixels().begin(), canvas.image.pixels().end(),
                          [](Pixel p) { return p == kWhite; }));
  EXPECT_FALSE(CreateCanvas(canvas, {599, 23999, 150, 45, 1, 30}));
  EXPECT_EQ(canvas.image.width(), 1417);
  EXPECT_EQ(canvas.geometry.canvasRect.width(), 1417);
}

TEST(LabelCanvas, SideOfZeroOrLessGivesAnEmptyCanvas) {
  for (const auto& [diameter, resolution] :
       {std::pair{0.0, 600.0}, {-120.0, 600.0}, {120.0, -600.0}, {0.01, 1.0}}) {
    LabelCanvas canvas;
    ASSERT_TRUE(CreateCanvas(canvas, {diameter, resolution, 150, 45, 1, 30}));
    EXPECT_TRUE(canvas.image.empty());
    EXPECT_EQ(canvas.geometry.canvasRect, (CanvasRect{0, 0, 0, 0}));
  }
}

}  // namespace lumo
