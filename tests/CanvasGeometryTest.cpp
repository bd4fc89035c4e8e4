// Canvas geometry and its limit.
#include <gtest/gtest.h>

#include <limits>

#include "CanvasGeometry.h"

namespace lumo {

TEST(CanvasGeometry, WorkedValuesAtTheDefaults) {
  const CanvasGeometry geometry = ComputeCanvasGeometry(LabelSettings{}).value();
  EXPECT_EQ(geometry.outerRadiusPx, 1417.3228346456694);
  EXPECT_EQ(geometry.canvasRect, (CanvasRect{2834, 2834}));  // truncated, not 2835
  EXPECT_EQ(geometry.textCapacity, 9000);
  EXPECT_EQ(ComputeCanvasGeometry({41, 61, 150, 45, 1, 30})->canvasRect.width, 98);
  // The capacity is taken in 32 bits that wrap: 2 x 2 x 2^30 is 0.
  EXPECT_EQ(ComputeCanvasGeometry({120, 600, 2, 45, 1, 0x40000000})->textCapacity, 0);
  // A side below one pixel is an empty canvas, not a refused one.
  EXPECT_EQ(ComputeCanvasGeometry({0.01, 600, 150, 45, 1, 30})->canvasRect, CanvasRect{});
}

TEST(CanvasGeometry, LimitIsASideOf8191Pixels) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  // 346.78 mm at 600 dpi gives 8191.6, 346.8 gives 8192.1.
  EXPECT_EQ(ComputeCanvasGeometry({346.78, 600, 150, 45, 1, 30})->canvasRect.width, kMaxCanvasSide);
  for (const auto& [diameter, resolution] : {std::pair{346.8, 600.0},
                                             {599.0, 23999.0},
                                             {nan, 600.0},
                                             {120.0, inf},
                                             {-inf, 600.0},
                                             {0.0, 600.0},
                                             {-120.0, -600.0},
                                             {120.0, -0.0},
                                             {1e300, 1e300}}) {
    EXPECT_FALSE(ComputeCanvasGeometry({diameter, resolution, 150, 45, 1, 30}))
        << diameter << " " << resolution;
  }
}

}  // namespace lumo
