// Preview arithmetic: fit to width and whole, wheel steps and their bounds, the drawn rectangle,
// keeping the view across a canvas of another size, wheel deltas and panning.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "PreviewGeometry.h"

namespace lumo {

constexpr std::int32_t kCanvas = 2834;  // 120 mm at 600 dpi
constexpr std::int32_t kClient = 800;

PreviewState Fit() { return FitToWidth({}, kClient, kCanvas, kCanvas); }

TEST(PreviewGeometryTest, FitAndWhereTheLabelIsDrawn) {
  EXPECT_EQ(Fit(), (PreviewState{0.2822865208186309, 1417.0, 1417.0}));
  EXPECT_EQ(PreviewDestination(Fit(), kCanvas, kClient), (PreviewRect{0, 0, 800, 800}));
  // Truncated, not rounded: one white column stays at the right edge.
  EXPECT_EQ(PreviewDestination(FitToWidth({}, 1919, kCanvas, kCanvas), kCanvas, 1919),
            (PreviewRect{0, 0, 1918, 1918}));
  // Toward zero for negative positions; a window 2d wider moves the label d both ways.
  EXPECT_EQ(PreviewDestination({1.0, 12.7, 12.7}, 100, 0), (PreviewRect{-12, -12, 100, 100}));
  EXPECT_EQ(PreviewDestination(Fit(), kCanvas, 820), (PreviewRect{10, 10, 800, 800}));
  // No client width or no canvas never gives a zoom of 0 or infinity.
  const PreviewState previous{0.75, 10.0, 20.0};
  EXPECT_EQ(FitToWidth(previous, 0, kCanvas, kCanvas), (PreviewState{0.75, 1417.0, 1417.0}));
  EXPECT_EQ(FitToWidth(previous, kClient, 0, 0), (PreviewState{0.75, 0.0, 0.0}));
  EXPECT_EQ(FitToWidth({0.0, 0, 0}, kClient, 0, 0).zoom, 1.0);
  EXPECT_EQ(FitToWidth({std::nan(""), 0, 0}, -3, 10, 10).zoom, 1.0);
  EXPECT_EQ(FitToWidth({HUGE_VAL, 0, 0}, 0, 10, 10).zoom, 1.0);
}

TEST(PreviewGeometryTest, FitWholeCentresTheWholeLabel) {
  // Wider than tall: the height decides, and the label is centred across.
  const PreviewState wide = FitWhole({}, kClient, 600, kCanvas, kCanvas);
  EXPECT_EQ(wide, (PreviewState{0.2117148906139732, 1417.0, 1889.3333333333333}));
  EXPECT_EQ(PreviewDestination(wide, kCanvas, kClient), (PreviewRect{100, 0, 600, 600}));
  // Taller than wide: the width decides, and the label is centred down.
  EXPECT_EQ(PreviewDestination(FitWhole({}, 400, 800, 1000, 1000), 1000, 400),
            (PreviewRect{0, 200, 400, 400}));
  // Without a client area the zoom stays.
  EXPECT_EQ(FitWhole({0.75, 1, 2}, kClient, 0, kCanvas, kCanvas),
            (PreviewState{0.75, 1417.0, 1417.0}));
}

TEST(PreviewGeometryTest, WheelStepsAndTheirBounds) {
  const auto step = [](PreviewState s, int delta, int times = 1) {
    for (int i = 0; i < times; ++i) s = WheelStep(s, delta, 400, 400, kClient);
    return s;
  };
  // (The first steps from a fit are checked through the window.) Zero counts as up.
  EXPECT_EQ(step(Fit(), 0), step(Fit(), 960));
  EXPECT_EQ(step(Fit(), -1), step(Fit(), -32768));
  const PreviewState up = step({1.0, 100, 100}, 120, 13);
  EXPECT_EQ(up.zoom, 10.699320537907196);
  EXPECT_EQ(WheelStep(up, 120, 10, 700, kClient), up);  // refused: the centre stays too
  const PreviewState down = step({1.0, 100, 100}, -120, 21);
  EXPECT_EQ(down.zoom, 0.021736711087157377);
  EXPECT_EQ(WheelStep(down, -120, 10, 700, kClient), down);
  EXPECT_EQ(step({10.0, 1, 1}, 120).zoom, 10.0);  // 10 x 1.2 is 12, not below the bound
  // Beyond the bounds (after a fit) only steps back toward them are taken.
  EXPECT_EQ(step({15.0, 1, 1}, 120).zoom, 15.0);
  EXPECT_EQ(step({15.0, 1, 1}, -120).zoom, 15.0 * kWheelZoomOut);
  EXPECT_EQ(step({0.01, 1, 1}, -120).zoom, 0.01);
}

TEST(PreviewGeometryTest, RatiosFallBackToAFit) {
  // Without usable ratios the label is fitted (kept ones are checked through the window).
  const PreviewState p{0.5, 100, 100};
  EXPECT_FALSE(CapturePreviewRatios(p, 0, 0, kClient).has_value());
  EXPECT_FALSE(CapturePreviewRatios(p, 100, 100, 0).has_value());
  EXPECT_FALSE(CapturePreviewRatios({0.0, 1, 1}, 100, 100, kClient).has_value());
  EXPECT_EQ(RestorePreview(p, std::nullopt, kClient, 400, 400), FitToWidth(p, kClient, 400, 400));
  EXPECT_EQ(RestorePreview(p, CapturePreviewRatios(p, 100, 100, kClient), kClient, 0, 0),
            (PreviewState{0.5, 0.0, 0.0}));
}

TEST(PreviewGeometryTest, DevicePixelsScaleTheRectangleBeforeTruncating) {
  EXPECT_EQ(DevicePreviewDestination({0.37, -5.5, 900}, kCanvas, kClient, 1.0),
            PreviewDestination({0.37, -5.5, 900}, kCanvas, kClient));
  // -12.7 window pixels are -19.05 device pixels at 1.5, not 1.5 x -12.
  EXPECT_EQ(DevicePreviewDestination({1.0, 12.7, 12.7}, 100, 0, 1.5),
            (PreviewRect{-19, -19, 150, 150}));
}

TEST(PreviewGeometryTest, WheelDeltasCountAStepPer120InOneDirection) {
  const auto add = [](std::initializer_list<int> deltas) {
    WheelAccumulator wheel;
    std::vector<int> steps;
    for (int delta : deltas) steps.push_back(wheel.Add(delta));
    return steps;
  };
  // A mouse notch is one step, as before; a touchpad's small deltas add up.
  EXPECT_EQ(add({120, -120, 360}), (std::vector{1, -1, 3}));
  EXPECT_EQ(add({40, 40, 40, 100, 100, 40}), (std::vector{0, 0, 1, 0, 1, 1}));
  EXPECT_EQ(add({-50, -50, 0, -20}), (std::vector{0, 0, 0, -1}));
  // Turning back starts afresh instead of cancelling what went the other way.
  EXPECT_EQ(add({100, -30, -90, -100, 30, 90}), (std::vector{0, 0, -1, 0, 0, 1}));
  constexpr int kMax = std::numeric_limits<int>::max();
  EXPECT_EQ(add({kMax, kMax, -kMax - 1}), (std::vector{kMax / 120, kMax / 120, -kMax / 120}));
}

// Panning itself is checked through the view's drag.
TEST(PreviewGeometryTest, PanningWithoutAUsableZoomLeavesTheView) {
  EXPECT_EQ(Pan({0.0, 100, 100}, 30, -10), (PreviewState{0.0, 100, 100}));
}

}  // namespace lumo
