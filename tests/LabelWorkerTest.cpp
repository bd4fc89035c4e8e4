// Labels handed to the worker are drawn and written in the order given, each
// to its own file and exactly as a session alone writes it, and all of them
// before the worker goes; a label shown is not drawn over.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "LabelSession.h"
#include "LabelWorker.h"
#include "TestSupport.h"

namespace lumo {

TEST(LabelWorker, DrawsAndWritesEveryLabelInOrder) {
  const test::TempDir dir, alone;
  LabelSession session(alone.path());
  ASSERT_TRUE(session.CreateCanvas({60, 200, 40, 12, 0, 4}));
  std::mutex mutex;
  std::vector<std::uint64_t> drawn;
  std::vector<std::string> written;
  // A canvas handed out is never drawn on again while it is held.
  std::vector<std::pair<std::shared_ptr<const LabelCanvas>, std::vector<Pixel>>> held;
  {
    LabelWorker worker(
        [&](LabelWorker::Drawn label) {
          const std::lock_guard lock(mutex);
          drawn.push_back(label.job);
          EXPECT_EQ(label.canvas->image.width(), session.canvas().geometry.canvasRect.width);
          const auto pixels = label.canvas->image.pixels();
          held.emplace_back(label.canvas, std::vector<Pixel>(pixels.begin(), pixels.end()));
        },
        [&](LabelWorker::Written file) {
          const std::lock_guard lock(mutex);
          written.push_back(file.saved.value().filename().string());
        });
    for (const char* text : {"one", "two\r\nthree", "four"}) {
      session.SetLabelText(std::string(text));
      worker.Submit({session.canvas().geometry, session.LayOutLabel(), 200, session.face(),
                     LabelFormat::Png, dir.path()});
      ASSERT_TRUE(session.RenderAndSave(LabelFormat::Png));
    }
  }
  EXPECT_EQ(drawn, (std::vector<std::uint64_t>{1, 2, 3}));
  EXPECT_EQ(written, (std::vector<std::string>{"lumo000.png", "lumo001.png", "lumo002.png"}));
  for (const auto& [canvas, pixels] : held) {
    EXPECT_TRUE(std::ranges::equal(canvas->image.pixels(), pixels));
  }
  for (const std::string& name : written) {
    EXPECT_EQ(test::ReadFileBytes(dir.path() / name), test::ReadFileBytes(alone.path() / name));
  }
}

}  // namespace lumo
