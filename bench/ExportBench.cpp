// Speed and size of the label's other files for a full default label: the
// grey PNG from the drawn canvas, and the PDF and SVG pages from its layout.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>

#include "BenchSupport.h"
#include "LabelCanvas.h"
#include "LabelExport.h"

namespace {

// Times one numbered save per iteration; the file is measured and removed
// untimed, so every iteration writes lumo000.<format> into an empty folder.
void TimeSave(benchmark::State& state, lumo::LabelFormat format) {
  const lumo::LabelSettings settings;
  lumo::LabelCanvas canvas;
  if (!lumo::CreateCanvas(canvas, settings)) throw std::runtime_error("no canvas");
  const lumo::LabelLayout layout =
      lumo::RenderLabel(canvas, settings, lumo::bench::FullLabelText());
  const lumo::bench::ScratchFolder folder;
  for (auto _ : state) {
    const auto saved =
        lumo::SaveLabel(format, {canvas, layout, settings.resolutionDpi}, folder.path());
    if (!saved) {
      state.SkipWithError(saved.error().message.c_str());
      break;
    }
    state.PauseTiming();
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(*saved));
    std::filesystem::remove(*saved);
    state.ResumeTiming();
  }
}

void BM_SavePng(benchmark::State& state) { TimeSave(state, lumo::LabelFormat::Png); }
void BM_SavePdf(benchmark::State& state) { TimeSave(state, lumo::LabelFormat::Pdf); }
void BM_SaveSvg(benchmark::State& state) { TimeSave(state, lumo::LabelFormat::Svg); }
BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SavePdf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveSvg)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
