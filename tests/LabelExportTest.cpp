// The label's PNG, PDF and SVG files checked against the bitmap they stand
// beside: the PNG decoded pixel for pixel, the vector pages rasterised by
// poppler and librsvg and compared stroke for stroke, the PDF's text read back.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <regex>

#include "CodePage932.h"
#include "LabelBitmap.h"
#include "LabelCanvas.h"
#include "LabelExport.h"
#include "TestSupport.h"

namespace lumo {

namespace fs = std::filesystem;
using test::ReadFileBytes;

struct Grey {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  [[nodiscard]] bool Dark(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height &&
           pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)] < 128;
  }
};

// Decoded by libpng, any colour type turned grey.
Grey DecodePng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return {};
  image.format = PNG_FORMAT_GRAY;
  Grey grey{static_cast<int>(image.width), static_cast<int>(image.height),
            std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  if (png_image_finish_read(&image, nullptr, grey.pixels.data(), 0, nullptr) == 0) return {};
  return grey;
}

Grey GreyOf(const Surface& image) {
  Grey grey{image.width(), image.height(), {}};
  for (const Pixel pixel : image.pixels()) grey.pixels.push_back(pixel >> 8 & 0xFF);
  return grey;
}

// The share of `a`'s dark pixels with a dark pixel of `b` at most one pixel away.
double DarkCovered(const Grey& a, const Grey& b) {
  std::size_t dark = 0;
  std::size_t covered = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (!a.Dark(x, y)) continue;
      ++dark;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy) {
        for (int dx = -1; dx <= 1 && !near; ++dx) near = b.Dark(x + dx, y + dy);
      }
      covered += near ? 1 : 0;
    }
  }
  return dark == 0 ? 0.0 : static_cast<double>(covered) / static_cast<double>(dark);
}

// The pHYs chunk's fields, read by walking the file's chunks.
struct Physical {
  std::uint32_t x = 0, y = 0;
  int unit = -1;
};
Physical PhysicalOf(const std::string& file) {
  auto u32 = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
      value = value << 8 | static_cast<unsigned char>(file[at + i]);
    return value;
  };
  for (std::size_t at = 8; at + 8 <= file.size(); at += 12 + u32(at)) {
    if (file.compare(at + 4, 4, "pHYs") == 0) {
      return {u32(at + 8), u32(at + 12), static_cast<unsigned char>(file[at + 16])};
    }
  }
  return {};
}

// The characters of UTF-8 text, counted, without white space.
std::map<std::string, int> CharacterCounts(const std::string& utf8) {
  std::map<std::string, int> counts;
  for (std::size_t at = 0; at < utf8.size();) {
    std::size_t next = at + 1;
    while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) ++next;
    const std::string character = utf8.substr(at, next - at);
    if (character.find_first_of(" \t\r\n\f") == std::string::npos) ++counts[character];
    at = next;
  }
  return counts;
}

bool HaveTool(const char* name) {
  return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Output(const std::string& command) {
  const test::TempDir dir;
  const fs::path out = dir.path() / "out";
  if (std::system((command + " >'" + out.string() + "' 2>/dev/null").c_str()) != 0) return {};
  return ReadFileBytes(out);
}

// A label of 80 mm at 300 dpi whose whole text fits: Japanese, Latin letters,
// digits and signs, over both halves.
class LabelExport : public ::testing::Test {
 protected:
  static constexpr const char* kText =
      "円盤のラベルに文字を並べます。\r\nDisc label 2026: ring text!\r\n"
      "漢字とかなとカタカナ、記号（＊＋）も。\r\nlumo #42 ok?\r\n"
      "一文字ずつ向きを変えて描きます。\r\n最後の行です";
  void SetUp() override {
    ASSERT_TRUE(CreateCanvas(canvas, settings));
    layout = RenderLabel(canvas, settings, cp932::FromUtf8(kText));
    ASSERT_EQ(layout.leftOffBytes, 0u);
  }
  fs::path Save(LabelFormat format) {
    const auto saved = SaveLabel(format, {canvas, layout, settings.resolutionDpi}, dir.path());
    EXPECT_TRUE(saved) << saved.error().message;
    return saved ? *saved : fs::path();
  }
  void ExpectSameStrokes(const fs::path& rasterised) {
    const Grey page = DecodePng(rasterised);
    const Grey bitmap = GreyOf(canvas.image);
    ASSERT_EQ(page.width, bitmap.width);
    ASSERT_EQ(page.height, bitmap.height);
    EXPECT_GE(DarkCovered(bitmap, page), 0.95);
    EXPECT_GE(DarkCovered(page, bitmap), 0.95);
  }
  const LabelSettings settings{80, 300, 60, 20, 1, 3};
  LabelCanvas canvas;
  LabelLayout layout;
  test::TempDir dir;
};

TEST_F(LabelExport, PngHoldsTheBitmapsGreysAndResolution) {
  const fs::path png = Save(LabelFormat::Png);
  EXPECT_EQ(png.filename(), "lumo000.png");
  const Grey decoded = DecodePng(png);
  const Grey bitmap = GreyOf(canvas.image);
  ASSERT_EQ(decoded.width, bitmap.width);
  ASSERT_EQ(decoded.height, bitmap.height);
  EXPECT_TRUE(decoded.pixels == bitmap.pixels);
  EXPECT_LT(std::count(bitmap.pixels.begin(), bitmap.pixels.end(), 0xFF), bitmap.pixels.size());

  for (const auto& [dpi, perMetre] :
       {std::pair{61.0, 2401u}, {300.0, 11811u}, {600.0, 23622u}, {1200.0, 47244u}}) {
    const Physical physical =
        PhysicalOf(ReadFileBytes(*SaveLabel(LabelFormat::Png, {canvas, layout, dpi}, dir.path())));
    EXPECT_EQ(physical.x, perMetre) << dpi;
    EXPECT_EQ(physical.y, perMetre) << dpi;
    EXPECT_EQ(physical.unit, 1) << dpi;  // the metre
  }
}

TEST_F(LabelExport, PdfPageSizeTextAndStrokes) {
  if (!HaveTool("pdftoppm") || !HaveTool("pdftotext") || !HaveTool("pdfinfo")) {
    GTEST_SKIP() << "poppler-utils is not installed";
  }
  const fs::path pdf = Save(LabelFormat::Pdf);
  EXPECT_EQ(pdf.filename(), "lumo000.pdf");
  std::smatch size;
  const std::string info = Output("pdfinfo '" + pdf.string() + "'");
  ASSERT_TRUE(
      std::regex_search(info, size, std::regex(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)")))
      << info;
  const double side = canvas.image.width() * 25.4 / settings.resolutionDpi;
  EXPECT_NEAR(std::stod(size[1]) * 25.4 / 72, side, 0.01);
  EXPECT_NEAR(std::stod(size[2]) * 25.4 / 72, side, 0.01);

  // Text on rings has no reading order, so the characters are compared as a multiset.
  EXPECT_EQ(CharacterCounts(Output("pdftotext '" + pdf.string() + "' -")), CharacterCounts(kText));

  const fs::path page = dir.path() / "page";
  ASSERT_EQ(std::system(
                ("pdftoppm -r 300 -png -singlefile '" + pdf.string() + "' '" + page.string() + "'")
                    .c_str()),
            0);
  ExpectSameStrokes(page.string() + ".png");
}

TEST_F(LabelExport, SvgSizeInMillimetresAndStrokes) {
  if (!HaveTool("rsvg-convert")) GTEST_SKIP() << "librsvg2-bin is not installed";
  const fs::path svg = Save(LabelFormat::Svg);
  EXPECT_EQ(svg.filename(), "lumo000.svg");
  const std::string file = ReadFileBytes(svg);
  std::smatch size;
  ASSERT_TRUE(
      std::regex_search(file, size, std::regex(R"(width="([0-9.]+)mm" height="([0-9.]+)mm")")));
  const double side = canvas.image.width() * 25.4 / settings.resolutionDpi;
  EXPECT_NEAR(std::stod(size[1]), side, 0.01);
  EXPECT_NEAR(std::stod(size[2]), side, 0.01);

  const fs::path page = dir.path() / "page.png";
  ASSERT_EQ(std::system(("rsvg-convert --dpi-x 300 --dpi-y 300 -o '" + page.string() + "' '" +
                         svg.string() + "'")
                            .c_str()),
            0);
  ExpectSameStrokes(page);
}

TEST_F(LabelExport, EachFormatHasItsOwnSeriesAndExportReplacesWhole) {
  for (const LabelFormat format : kLabelFormats) {
    EXPECT_EQ(Save(format).filename(), "lumo000." + std::string(FormatName(format)));
  }
  EXPECT_EQ(Save(LabelFormat::Png).filename(), "lumo001.png");
  EXPECT_EQ(FormatNamed("pdf"), LabelFormat::Pdf);
  EXPECT_FALSE(FormatNamed("PDF"));
  EXPECT_FALSE(FormatNamed("jpg"));

  const fs::path chosen = dir.path() / "label.svg";
  test::WriteFileBytes(chosen, "old");
  ASSERT_TRUE(ExportLabel(LabelFormat::Svg, {canvas, layout, 300}, chosen));
  EXPECT_TRUE(ReadFileBytes(chosen).starts_with("<?xml"));
  EXPECT_EQ(test::Entries(dir.path()).size(), 6u);  // no hidden file stays behind
  const auto missing =
      ExportLabel(LabelFormat::Pdf, {canvas, layout, 300}, dir.path() / "no/x.pdf");
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().message.find("No such file"), std::string::npos);
}

TEST(LabelExportEmpty, ACanvasWithoutPixelsWritesNothing) {
  const test::TempDir dir;
  const LabelCanvas empty;
  const LabelLayout none;
  for (const LabelFormat format : kLabelFormats) {
    const auto saved = SaveLabel(format, {empty, none, 600}, dir.path());
    ASSERT_FALSE(saved);
    EXPECT_NE(saved.error().message.find("no pixels"), std::string::npos);
  }
  EXPECT_TRUE(test::Entries(dir.path()).empty());
}

}  // namespace lumo
