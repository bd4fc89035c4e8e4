// Speed of turning a full default label into its file: composition and the
// bitmap write together, and each on its own.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "BenchSupport.h"
#include "LabelBitmap.h"
#include "LabelCanvas.h"

namespace {

using lumo::bench::FullLabelText;
using lumo::bench::ScratchFolder;

lumo::LabelCanvas DefaultCanvas() {
  lumo::LabelCanvas canvas;
  if (!lumo::CreateCanvas(canvas, lumo::LabelSettings{})) throw std::runtime_error("no canvas");
  return canvas;
}

// Times `save` once per iteration; the file it wrote is removed untimed, so
// every iteration writes lumo000.bmp into an empty folder.
template <typename Save>
void TimeSaves(benchmark::State& state, Save save) {
  for (auto _ : state) {
    const lumo::Result<std::filesystem::path> saved = save();
    if (!saved) {
      state.SkipWithError(saved.error().message.c_str());
      break;
    }
    state.PauseTiming();
    std::filesystem::remove(*saved);
    state.ResumeTiming();
  }
}

void BM_RenderAndSaveFullDefaultLabel(benchmark::State& state) {
  const lumo::LabelSettings settings;
  lumo::LabelCanvas canvas = DefaultCanvas();
  const std::string text = FullLabelText();
  const ScratchFolder folder;
  TimeSaves(state, [&] {
    (void)lumo::RenderLabel(canvas, settings, text);
    return lumo::SaveLabelBitmap(canvas.image, settings.resolutionDpi, folder.path());
  });
}
BENCHMARK(BM_RenderAndSaveFullDefaultLabel)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveDefaultLabel(benchmark::State& state) {
  const lumo::LabelCanvas canvas = DefaultCanvas();
  const ScratchFolder folder;
  TimeSaves(state, [&] { return lumo::SaveLabelBitmap(canvas.image, 600.0, folder.path()); });
}
BENCHMARK(BM_SaveDefaultLabel)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
