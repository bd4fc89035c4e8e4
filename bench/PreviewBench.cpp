// One repaint of the preview without a window: a white back buffer of an
// 800 x 800 client and the scaled copy of the default 2834-pixel label.
#include <benchmark/benchmark.h>

#include <string>

#include "LabelSession.h"
#include "PreviewGeometry.h"
#include "Surface.h"
#include "TextIntake.h"

namespace {

constexpr int kClient = 800;

const lumo::LabelCanvas& DefaultLabel() {
  static const lumo::LabelCanvas canvas = [] {
    lumo::LabelSession session;
    session.SetLabelText(std::string(lumo::kStartupPrompt));
    session.ComposeLabel();
    return session.canvas();
  }();
  return canvas;
}

void Repaint(benchmark::State& state, const lumo::PreviewState& preview) {
  const lumo::LabelCanvas& canvas = DefaultLabel();
  if (canvas.image.empty()) {
    state.SkipWithError("no canvas");
    return;
  }
  const lumo::PreviewRect dest =
      lumo::PreviewDestination(preview, canvas.geometry.canvasRect.width, kClient);
  for (auto _ : state) {
    lumo::Surface backBuffer(kClient, kClient);
    lumo::ScaledCopy(backBuffer, dest.x, dest.y, dest.width, dest.height, canvas.image);
    benchmark::DoNotOptimize(backBuffer.pixels().data());
    benchmark::ClobberMemory();
  }
}

void BM_RepaintFitted(benchmark::State& state) {
  const int side = DefaultLabel().geometry.canvasRect.width;
  Repaint(state, lumo::FitToWidth({}, kClient, side, side));
}

void BM_RepaintZoom10(benchmark::State& state) {
  const int side = DefaultLabel().geometry.canvasRect.width;
  lumo::PreviewState preview = lumo::FitToWidth({}, kClient, side, side);
  preview.zoom = 10.0;
  Repaint(state, preview);
}

}  // namespace

BENCHMARK(BM_RepaintFitted)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_RepaintZoom10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
