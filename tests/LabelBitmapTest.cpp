// The label bitmap file: header fields, row order, pixels read back, and the
// scan for a free name that never touches an existing file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "LabelBitmap.h"
#include "LabelCanvas.h"
#include "TestSupport.h"

namespace lumo {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

std::uint32_t U32At(const std::vector<unsigned char>& bytes, std::size_t offset) {
  return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
         std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

std::uint16_t U16At(const std::vector<unsigned char>& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// 41 mm at 61 dpi: a canvas of 98 x 98 pixels, quick to write many times.
LabelCanvas SmallCanvas() {
  LabelSettings settings;
  settings.diameterMm = 41;
  settings.resolutionDpi = 61;
  LabelCanvas canvas;
  EXPECT_TRUE(CreateCanvas(canvas, settings));
  return canvas;
}

std::vector<std::string> Entries(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(LabelBitmapHeader, DefaultLabelFieldByField) {
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, LabelSettings{}));
  TempDir dir;
  const SaveResult saved = SaveLabelBitmap(canvas, 600.0, dir.path());
  ASSERT_TRUE(saved.ok) << saved.error;
  EXPECT_EQ(saved.path, dir.path() / "lumo000.bmp");

  const std::vector<unsigned char> file = ReadFileBytes(saved.path);
  ASSERT_EQ(file.size(), 32'126'278u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32At(file, 2), 32'126'278u);  // bfSize
  EXPECT_EQ(U16At(file, 6), 0);            // reserved
  EXPECT_EQ(U16At(file, 8), 0);
  EXPECT_EQ(U32At(file, 10), 54u);  // bfOffBits
  EXPECT_EQ(U32At(file, 14), 40u);  // biSize
  EXPECT_EQ(U32At(file, 18), 2834u);
  EXPECT_EQ(U32At(file, 22), 2834u);  // positive: bottom row first
  EXPECT_EQ(U16At(file, 26), 1);
  EXPECT_EQ(U16At(file, 28), 32);
  EXPECT_EQ(U32At(file, 30), 0u);  // BI_RGB
  EXPECT_EQ(U32At(file, 34), 32'126'224u);
  EXPECT_EQ(U32At(file, 38), 23622u);
  EXPECT_EQ(U32At(file, 42), 23622u);
  EXPECT_EQ(U32At(file, 46), 0u);
  EXPECT_EQ(U32At(file, 50), 0u);
}

TEST(LabelBitmapHeader, PixelsPerMetreTruncatesAfterMultiplying) {
  const LabelCanvas canvas = SmallCanvas();
  for (const auto& [dpi, expected] : {std::pair{300.0, 11811u}, std::pair{1200.0, 47244u},
                                      std::pair{61.0, 2401u}, std::pair{600.0, 23622u}}) {
    const BitmapHeader header = EncodeBitmapHeader(canvas, dpi);
    const std::vector<unsigned char> bytes(header.begin(), header.end());
    EXPECT_EQ(U32At(bytes, 38), expected) << dpi << " dpi";
    EXPECT_EQ(U32At(bytes, 42), expected) << dpi << " dpi";
  }
  // Values from a settings file can be anything; the field saturates.
  EXPECT_EQ(PixelsPerMetre(1e300), 2147483647);
  EXPECT_EQ(PixelsPerMetre(-1e300), -2147483647 - 1);
  EXPECT_EQ(PixelsPerMetre(std::nan("")), 0);
}

TEST(LabelBitmapPixels, ReadBackBottomRowFirstEqualsCanvas) {
  LabelCanvas canvas = SmallCanvas();
  Surface& image = canvas.image;
  ASSERT_EQ(image.width(), 98);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      image.setPixel(x, y, static_cast<Pixel>((x * 2654435761u + y * 40503u) & 0x00FFFFFF));
    }
  }
  image.setPixel(0, 0, 0x00123456);  // top-left corner

  TempDir dir;
  const SaveResult saved = SaveLabelBitmap(canvas, 61.0, dir.path());
  ASSERT_TRUE(saved.ok) << saved.error;
  const std::vector<unsigned char> file = ReadFileBytes(saved.path);
  ASSERT_EQ(file.size(), 54u + 98u * 98u * 4u);

  // The canvas's top row is the file's last row; its first pixel is B, G, R, X.
  const std::size_t lastRow = 54 + 97u * 98u * 4u;
  EXPECT_EQ(file[lastRow + 0], 0x56);
  EXPECT_EQ(file[lastRow + 1], 0x34);
  EXPECT_EQ(file[lastRow + 2], 0x12);

  for (int fileRow = 0; fileRow < 98; ++fileRow) {
    const int canvasRow = 97 - fileRow;
    for (int x = 0; x < 98; ++x) {
      const std::size_t at = 54 + (static_cast<std::size_t>(fileRow) * 98 + x) * 4;
      const Pixel pixel = image.pixel(x, canvasRow);
      ASSERT_EQ(file[at + 0], pixel & 0xFF) << x << "," << canvasRow;
      ASSERT_EQ(file[at + 1], (pixel >> 8) & 0xFF) << x << "," << canvasRow;
      ASSERT_EQ(file[at + 2], (pixel >> 16) & 0xFF) << x << "," << canvasRow;
    }
  }
}

TEST(LabelBitmapPixels, WhiteFillAloneGivesAllWhitePixels) {
  LabelCanvas canvas = SmallCanvas();
  canvas.image.setPixel(10, 10, kBlack);  // left over from an earlier label
  std::string labelText;
  std::string lowerText;
  TempDir dir;
  const SaveResult saved = RenderAndSave(canvas, LabelSettings{41, 61, 150, 45, 1, 30}, labelText,
                                         lowerText, dir.path());
  ASSERT_TRUE(saved.ok) << saved.error;
  const std::vector<unsigned char> file = ReadFileBytes(saved.path);
  ASSERT_EQ(file.size(), 54u + 98u * 98u * 4u);
  for (std::size_t at = 54; at < file.size(); at += 4) {
    ASSERT_EQ(file[at] & file[at + 1] & file[at + 2], 0xFF) << "pixel byte " << at;
  }
}

TEST(LabelBitmapPixels, EmptyCanvasWritesNothing) {
  LabelSettings settings;
  settings.diameterMm = 0;
  LabelCanvas canvas;
  ASSERT_TRUE(CreateCanvas(canvas, settings));
  ASSERT_TRUE(canvas.image.empty());
  TempDir dir;
  const SaveResult saved = SaveLabelBitmap(canvas, 600.0, dir.path());
  EXPECT_FALSE(saved.ok);
  EXPECT_NE(saved.error.find("no pixels"), std::string::npos) << saved.error;
  EXPECT_TRUE(Entries(dir.path()).empty());
}

TEST(LabelBitmapNames, FirstGapIsFilledAndNothingIsOverwritten) {
  const LabelCanvas canvas = SmallCanvas();
  TempDir dir;
  const SaveResult first = SaveLabelBitmap(canvas, 61.0, dir.path());
  const SaveResult second = SaveLabelBitmap(canvas, 61.0, dir.path());
  ASSERT_TRUE(first.ok && second.ok);
  EXPECT_EQ(first.path.filename(), "lumo000.bmp");
  EXPECT_EQ(second.path.filename(), "lumo001.bmp");

  for (int n = 2; n <= 4; ++n) WriteFileBytes(dir.path() / LabelFileName(n), "keep me");
  fs::remove(dir.path() / "lumo001.bmp");
  fs::remove(dir.path() / "lumo003.bmp");

  const SaveResult gap = SaveLabelBitmap(canvas, 61.0, dir.path());
  ASSERT_TRUE(gap.ok) << gap.error;
  EXPECT_EQ(gap.path.filename(), "lumo001.bmp");
  const SaveResult nextGap = SaveLabelBitmap(canvas, 61.0, dir.path());
  EXPECT_EQ(nextGap.path.filename(), "lumo003.bmp");
  const SaveResult after = SaveLabelBitmap(canvas, 61.0, dir.path());
  EXPECT_EQ(after.path.filename(), "lumo005.bmp");

  for (const int n : {2, 4}) {
    const std::vector<unsigned char> kept = ReadFileBytes(dir.path() / LabelFileName(n));
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep me") << LabelFileName(n);
  }
}

TEST(LabelBitmapNames, EveryExistingKindOfNameIsTaken) {
  const LabelCanvas canvas = SmallCanvas();
  TempDir dir;
  fs::create_directory(dir.path() / "lumo000.bmp");
  WriteFileBytes(dir.path() / "lumo001.bmp", "private");
  fs::permissions(dir.path() / "lumo001.bmp", fs::perms::none);
  // A dangling link: following it would create a file elsewhere.
  fs::create_symlink(dir.path() / "elsewhere.bmp", dir.path() / "lumo002.bmp");

  const SaveResult saved = SaveLabelBitmap(canvas, 61.0, dir.path());
  ASSERT_TRUE(saved.ok) << saved.error;
  EXPECT_EQ(saved.path.filename(), "lumo003.bmp");
  EXPECT_FALSE(fs::exists(dir.path() / "elsewhere.bmp"));
  EXPECT_TRUE(fs::is_directory(dir.path() / "lumo000.bmp"));
  EXPECT_EQ(fs::file_size(dir.path() / "lumo001.bmp"), 7u);
}

TEST(LabelBitmapNames, FullSeriesWritesNothing) {
  const LabelCanvas canvas = SmallCanvas();
  TempDir dir;
  for (int n = 0; n < kLabelFileCount; ++n) WriteFileBytes(dir.path() / LabelFileName(n), "");
  const SaveResult saved = SaveLabelBitmap(canvas, 61.0, dir.path());
  EXPECT_FALSE(saved.ok);
  EXPECT_NE(saved.error.find("lumo999.bmp"), std::string::npos) << saved.error;
  EXPECT_EQ(saved.error.find('\n'), std::string::npos);
  const std::vector<std::string> names = Entries(dir.path());
  EXPECT_EQ(names.size(), 1000u);
  for (const std::string& name : names) EXPECT_EQ(fs::file_size(dir.path() / name), 0u) << name;
}

TEST(LabelBitmapNames, UnusableDirectoryIsReportedAndLeftAlone) {
  const LabelCanvas canvas = SmallCanvas();
  TempDir dir;
  const SaveResult missing = SaveLabelBitmap(canvas, 61.0, dir.path() / "missing");
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("No such file"), std::string::npos) << missing.error;

  WriteFileBytes(dir.path() / "plain", "x");
  const SaveResult underFile = SaveLabelBitmap(canvas, 61.0, dir.path() / "plain");
  EXPECT_FALSE(underFile.ok);
  EXPECT_NE(underFile.error.find("plain/lumo000.bmp"), std::string::npos) << underFile.error;
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"plain"});
}

TEST(LabelBitmapNames, ReadOnlyDirectoryIsReported) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
  const LabelCanvas canvas = SmallCanvas();
  TempDir dir;
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  const SaveResult saved = SaveLabelBitmap(canvas, 61.0, dir.path());
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_FALSE(saved.ok);
  EXPECT_NE(saved.error.find("Permission denied"), std::string::npos) << saved.error;
  EXPECT_TRUE(Entries(dir.path()).empty());
}

// A file-size limit makes the write come up short and then fail, as a full
// disk does; the incomplete file must go.
TEST(LabelBitmapNames, FailedWriteLeavesNoFile) {
  const LabelCanvas canvas = SmallCanvas();
  TempDir dir;
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const SaveResult result = SaveLabelBitmap(canvas, 61.0, dir.path());
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("lumo000.bmp"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find("removed"), std::string::npos) << result.error;
  EXPECT_TRUE(Entries(dir.path()).empty());
}

}  // namespace
}  // namespace lumo
