// Preview arithmetic: fit, wheel steps and their bounds, the drawn rectangle,
// and keeping the view across a canvas of another size.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "PreviewGeometry.h"

namespace lumo {
namespace {

constexpr std::int32_t kCanvas = 2834;  // 120 mm at 600 dpi
constexpr std::int32_t kClient = 800;

PreviewState Fit() { return FitToWidth({}, kClient, kCanvas, kCanvas); }

PreviewState Steps(PreviewState s, int count, int delta) {
  for (int i = 0; i < count; ++i) s = WheelStep(s, delta, 400, 400, kClient);
  return s;
}

TEST(PreviewGeometryTest, FitAndWhereTheLabelIsDrawn) {
  EXPECT_EQ(Fit(), (PreviewState{0.2822865208186309, 1417.0, 1417.0}));
  EXPECT_EQ(PreviewDestination(Fit(), kCanvas, kClient), (PreviewRect{0, 0, 800, 800}));
  // Truncated, not rounded: one white column stays at the right edge.
  EXPECT_EQ(PreviewDestination(FitToWidth({}, 1919, kCanvas, kCanvas), kCanvas, 1919),
            (PreviewRect{0, 0, 1918, 1918}));
  // Toward zero for negative positions; a window 2d wider moves the label d both ways.
  EXPECT_EQ(PreviewDestination({1.0, 12.7, 12.7}, 100, 0), (PreviewRect{-12, -12, 100, 100}));
  EXPECT_EQ(PreviewDestination(Fit(), kCanvas, 820), (PreviewRect{10, 10, 800, 800}));
  // States no window reaches still convert without overflow.
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(PreviewDestination({1e9, 1e9, -1e9}, 8191, kClient),
            (PreviewRect{kMin, kMax, kMax, kMax}));
  EXPECT_EQ(TruncateToInt(std::nan("")), 0);
}

TEST(PreviewGeometryTest, FitNeverGivesAZeroOrInfiniteZoom) {
  const PreviewState previous{0.75, 10.0, 20.0};
  EXPECT_EQ(FitToWidth(previous, 0, kCanvas, kCanvas), (PreviewState{0.75, 1417.0, 1417.0}));
  EXPECT_EQ(FitToWidth(previous, kClient, 0, 0), (PreviewState{0.75, 0.0, 0.0}));
  EXPECT_EQ(FitToWidth({0.0, 0, 0}, kClient, 0, 0).zoom, 1.0);
  EXPECT_EQ(FitToWidth({std::nan(""), 0, 0}, -3, 10, 10).zoom, 1.0);
  EXPECT_EQ(FitToWidth({HUGE_VAL, 0, 0}, 0, 10, 10).zoom, 1.0);
}

TEST(PreviewGeometryTest, WheelStepsAndTheirBounds) {
  EXPECT_EQ(WheelStep(Fit(), 120, 400, 400, kClient).zoom, 0.3387438249823571);
  EXPECT_EQ(WheelStep(Fit(), -120, 400, 400, kClient).zoom, 0.23523876734885912);
  // Zero counts as up; the size of the delta does not matter.
  EXPECT_EQ(WheelStep(Fit(), 0, 400, 400, kClient), WheelStep(Fit(), 960, 400, 400, kClient));
  EXPECT_EQ(WheelStep(Fit(), -1, 400, 400, kClient), WheelStep(Fit(), -32768, 400, 400, kClient));

  const PreviewState up = Steps({1.0, 100, 100}, 13, 120);
  EXPECT_EQ(up.zoom, 10.699320537907196);
  EXPECT_EQ(WheelStep(up, 120, 10, 700, kClient), up);  // refused: the centre stays too
  const PreviewState down = Steps({1.0, 100, 100}, 21, -120);
  EXPECT_EQ(down.zoom, 0.021736711087157377);
  EXPECT_EQ(WheelStep(down, -120, 10, 700, kClient), down);
  // Beyond the bounds (after a fit) only steps back toward them are taken.
  EXPECT_EQ(WheelStep({15.0, 1, 1}, 120, 0, 0, kClient).zoom, 15.0);
  EXPECT_EQ(WheelStep({15.0, 1, 1}, -120, 0, 0, kClient).zoom, 15.0 * kWheelZoomOut);
  EXPECT_EQ(WheelStep({0.01, 1, 1}, -120, 0, 0, kClient).zoom, 0.01);
}

TEST(PreviewGeometryTest, WheelKeepsThePointUnderTheCursor) {
  // Below the horizontal middle too: the vertical anchor is half the width.
  const double px = 123.0, py = 1000.0;
  const auto under = [&](const PreviewState& s) {
    return std::pair{s.viewCenterX + (px - 400) / s.zoom, s.viewCenterY + (py - 400) / s.zoom};
  };
  PreviewState s = Fit();
  const auto [cx, cy] = under(s);
  for (int delta : {120, 120, -120, 120, -120, -120, -120}) {
    s = WheelStep(s, delta, px, py, kClient);
    EXPECT_NEAR(under(s).first, cx, 1e-9);
    EXPECT_NEAR(under(s).second, cy, 1e-9);
  }
  const PreviewRect r = PreviewDestination(s, kCanvas, kClient);
  EXPECT_NEAR(r.x + cx * s.zoom, px, 1.0);
  EXPECT_NEAR(r.y + cy * s.zoom, py, 1.0);
}

TEST(PreviewGeometryTest, RatiosKeepThePreviewAcrossACanvasRebuild) {
  // 600 dpi down to 300 dpi after a fit: the zoom doubles exactly.
  const auto fitRatios = CapturePreviewRatios(Fit(), kCanvas, kCanvas, kClient);
  ASSERT_TRUE(fitRatios.has_value());
  EXPECT_EQ(RestorePreview(Fit(), fitRatios, kClient, 1417, 1417),
            (PreviewState{0.2822865208186309 * 2.0, 708.5, 708.5}));

  // After a wheel step the same relative point stays at the anchor.
  const PreviewState s = WheelStep(Fit(), 120, 250, 600, kClient);
  const PreviewState half =
      RestorePreview(s, CapturePreviewRatios(s, kCanvas, kCanvas, kClient), kClient, 1417, 1417);
  EXPECT_DOUBLE_EQ(half.zoom, s.zoom * 2.0);
  EXPECT_DOUBLE_EQ(half.viewCenterX / 1417.0, s.viewCenterX / kCanvas);
  EXPECT_DOUBLE_EQ(half.viewCenterY / 1417.0, s.viewCenterY / kCanvas);
}

TEST(PreviewGeometryTest, RatiosFallBackToAFitWhenTheyCannotBeKept) {
  const PreviewState s{0.5, 100, 100};
  EXPECT_FALSE(CapturePreviewRatios(s, 0, 0, kClient).has_value());
  EXPECT_FALSE(CapturePreviewRatios(s, 100, 100, 0).has_value());
  EXPECT_FALSE(CapturePreviewRatios({0.0, 1, 1}, 100, 100, kClient).has_value());
  // From an empty canvas, and onto one.
  EXPECT_EQ(RestorePreview(s, std::nullopt, kClient, 400, 400), FitToWidth(s, kClient, 400, 400));
  const auto ratios = CapturePreviewRatios(s, 100, 100, kClient);
  EXPECT_EQ(RestorePreview(s, ratios, kClient, 0, 0), (PreviewState{0.5, 0.0, 0.0}));
}

}  // namespace
}  // namespace lumo
