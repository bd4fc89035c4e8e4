// Setting a full default label: 30 rings of two-byte characters in each half.
#include <benchmark/benchmark.h>

#include <string>

#include "CodePage932.h"
#include "LabelCanvas.h"

namespace {

// 74 two-byte characters fill one ring at the default settings; 30 lines for
// the upper half, 30 more for the lower half.
std::string FullLabelText() {
  const std::string kana = lumo::cp932::FromUtf8(
      "いろはにほへとちりぬるをわかよたれそつねならむうゐのおくやまけふこえてあさきゆめみしゑひもせ"
      "す"
      "漢字仮名交じり文の試験");
  std::string text;
  for (int line = 0; line < 60; ++line) {
    std::string row;
    for (std::size_t i = 0; row.size() < 148; i = (i + 2 * line + 2) % kana.size()) {
      row += kana.substr(i, 2);
    }
    text += row + "\r\n";
  }
  return text;
}

void BM_ComposeFullDefaultLabel(benchmark::State& state) {
  const lumo::LabelSettings settings;
  lumo::LabelCanvas canvas;
  if (!lumo::CreateCanvas(canvas, settings)) {
    state.SkipWithError("no canvas");
    return;
  }
  const std::string text = FullLabelText();
  std::size_t glyphs = 0;
  for (auto _ : state) {
    glyphs = lumo::RenderLabel(canvas, settings, text).glyphs.size();
    benchmark::DoNotOptimize(canvas.image.pixels().data());
  }
  state.counters["glyphs"] = static_cast<double>(glyphs);
}
BENCHMARK(BM_ComposeFullDefaultLabel)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
