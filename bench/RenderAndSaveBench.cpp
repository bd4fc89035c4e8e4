// Speed of turning a full default label into its file: composition and the
// bitmap write together, and each on its own.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "CodePage932.h"
#include "LabelBitmap.h"
#include "LabelCanvas.h"

namespace {

// A folder for the label files, removed with what is in it at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumo-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

 private:
  std::filesystem::path path_;
};

// 9,000 bytes (the default capacity) of Japanese in lines of 73 characters,
// so both halves fill all their thirty rings: about 4,400 glyphs drawn.
std::string FullLabelText() {
  const std::string sentence = lumo::cp932::FromUtf8(
      "円盤のラベルに文字を同心円状に並べ、一文字ずつ向きを変えて描きます。"
      "漢字とかなとカタカナ、記号も混ぜて試験します。");
  std::string text;
  std::size_t next = 0;
  while (text.size() < 9000) {
    for (int n = 0; n < 73 && text.size() < 9000; ++n) {
      text.append(sentence, next, 2);
      next = (next + 2) % sentence.size();
    }
    text += "\r\n";
  }
  text.resize(9000);
  return text;
}

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
