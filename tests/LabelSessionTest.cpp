// The label session as both front ends drive it: the canvas its settings
// give, text taken in and trimmed, every label drawn from white, files
// written, and sessions on two threads at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "CodePage932.h"
#include "LabelSession.h"
#include "TestSupport.h"
#include "TextIntake.h"

namespace lumo {

namespace fs = std::filesystem;

bool AllWhite(const Surface& image) {
  return std::all_of(image.pixels().begin(), image.pixels().end(),
                     [](Pixel p) { return p == kWhite; });
}

TEST(LabelSession, RefusedSettingsKeepTheCanvas) {
  const test::TempDir dir;
  LabelSession session(dir.path());
  ASSERT_TRUE(session.CreateCanvas({120, 300, 150, 45, 1, 30}));
  const auto refused = session.CreateCanvas({599, 23999, 150, 45, 1, 30});
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().reason, ErrorReason::SettingsNoCanvas);
  EXPECT_EQ(session.settings().resolutionDpi, 300.0);
  EXPECT_EQ(session.canvas().geometry.canvasRect.width, 1417);
  // A side of 0 is a canvas all the same, one without pixels.
  EXPECT_TRUE(session.CreateCanvas({0.01, 600, 150, 45, 1, 30}));
}

TEST(LabelSession, TextIsTrimmedSplitAndEveryLabelDrawnFromWhite) {
  const test::TempDir dir;
  LabelSession session(dir.path());
  // A capacity of 8 bytes: two used rings of two characters.
  ASSERT_TRUE(session.CreateCanvas({41, 61, 2, 45, 1, 2}));
  session.SetLabelText(std::string("x\r\ny\r\nzw\x82\xA0"));
  const LabelLayout& layout = session.ComposeLabel();
  EXPECT_EQ(session.labelText(), "x\r\ny\r\nzw");
  EXPECT_EQ(session.lowerText(), "zw");
  EXPECT_EQ(layout.leftOffBytes, 2u);
  EXPECT_FALSE(AllWhite(session.canvas().image));
  session.SetLabelText({});
  session.ComposeLabel();
  EXPECT_TRUE(AllWhite(session.canvas().image));
  // A capacity that wraps to 0 trims nothing, yet the ceiling bounds the text kept.
  ASSERT_TRUE(session.CreateCanvas({120, 600, 1 << 30, 45, 0, 2}));
  session.SetLabelText(std::string(6 << 20, 'y'));
  EXPECT_EQ(session.LayOutLabel().keptBytes, std::size_t{kTextCeiling});
  // A vector page needs no pixels, a bitmap does; each format has its own series.
  ASSERT_TRUE(session.CreateCanvas({41, 61, 150, 45, 1, 30}));
  EXPECT_EQ(session.RenderAndSave(LabelFormat::Pdf)->filename(), "lumo000.pdf");
  EXPECT_TRUE(session.canvas().image.empty());
  EXPECT_EQ(session.RenderAndSave()->filename(), "lumo000.bmp");
  EXPECT_EQ(fs::file_size(dir.path() / "lumo000.bmp"), 54u + 98 * 98 * 4);
}

TEST(LabelSession, ATextFileThatCannotBeReadChangesNothingAFolderEmptiesTheText) {
  const test::TempDir dir;
  LabelSession session(dir.path());
  test::WriteFileBytes(dir.path() / "notes.txt", "notes");
  ASSERT_TRUE(session.TakeTextFile(dir.path() / "notes.txt"));
  EXPECT_EQ(session.TakeTextFile(dir.path() / "gone.txt").error().reason, ErrorReason::NotFound);
  EXPECT_EQ(session.labelText(), "notes");
  EXPECT_EQ(session.TakeFolder((dir.path() / "gone").string()).error().reason,
            ErrorReason::NotFound);
  EXPECT_EQ(session.labelText(), "");
  ASSERT_TRUE(session.TakeFolder(dir.path().string()));
  EXPECT_NE(session.labelText().find("notes.txt 0.00 MB "), std::string::npos);
}

// Two sessions on two threads draw and write the same labels as one after
// the other would: they share only the face.
TEST(LabelSession, SessionsOnTwoThreadsAtOnceGiveWhatEachGivesAlone) {
  const std::string text = LabelTextFromUtf8(test::Repeat("円盤のラベル、abc。\r\n", 60)).bytes;
  const auto render = [&](const fs::path& folder) {
    LabelSession session(folder);
    session.SetLabelText(text);
    return std::pair(session.RenderAndSave(LabelFormat::Png).value(),
                     session.RenderAndSave(LabelFormat::Pdf).value());
  };
  const test::TempDir alone, first, second;
  const auto expected = render(alone.path());
  std::pair<fs::path, fs::path> one, two;
  {
    std::jthread a([&] { one = render(first.path()); });
    std::jthread b([&] { two = render(second.path()); });
  }
  for (const auto& files : {one, two}) {
    EXPECT_EQ(test::ReadFileBytes(files.first), test::ReadFileBytes(expected.first));
    EXPECT_EQ(test::ReadFileBytes(files.second).size(),
              test::ReadFileBytes(expected.second).size());
  }
}

}  // namespace lumo
