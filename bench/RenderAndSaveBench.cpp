// Speed of turning a full default label into its file: composition and the
// file write together through the session, in each of the four formats, and
// the composition alone.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchSupport.h"
#include "LabelSession.h"

namespace {

// Times one render and save per iteration; the file is measured and removed
// untimed, so every iteration writes lumo000.<format> into an empty folder.
void TimeRenderAndSave(benchmark::State& state, lumo::LabelFormat format) {
  const lumo::bench::ScratchFolder folder;
  lumo::LabelSession session(folder.path());
  const std::string text = lumo::bench::FullLabelText();
  for (auto _ : state) {
    session.SetLabelText(text);
    const auto saved = session.RenderAndSave(format);
    if (!saved) {
      state.SkipWithError("the label could not be written");
      break;
    }
    state.PauseTiming();
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(*saved));
    std::filesystem::remove(*saved);
    state.ResumeTiming();
  }
}

void BM_RenderAndSaveBmp(benchmark::State& state) {
  TimeRenderAndSave(state, lumo::LabelFormat::Bmp);
}
void BM_RenderAndSavePng(benchmark::State& state) {
  TimeRenderAndSave(state, lumo::LabelFormat::Png);
}
void BM_RenderAndSavePdf(benchmark::State& state) {
  TimeRenderAndSave(state, lumo::LabelFormat::Pdf);
}
void BM_RenderAndSaveSvg(benchmark::State& state) {
  TimeRenderAndSave(state, lumo::LabelFormat::Svg);
}
BENCHMARK(BM_RenderAndSaveBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderAndSavePng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderAndSavePdf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderAndSaveSvg)->Unit(benchmark::kMillisecond)->UseRealTime();

// Laying out and drawing alone: about 4,400 glyphs, 30 rings in each half.
void BM_ComposeFullDefaultLabel(benchmark::State& state) {
  lumo::LabelSession session;
  const std::string text = lumo::bench::FullLabelText();
  std::size_t glyphs = 0;
  for (auto _ : state) {
    session.SetLabelText(text);
    glyphs = session.ComposeLabel().glyphs.size();
    benchmark::DoNotOptimize(session.canvas().image.pixels().data());
  }
  state.counters["glyphs"] = static_cast<double>(glyphs);
}
BENCHMARK(BM_ComposeFullDefaultLabel)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
