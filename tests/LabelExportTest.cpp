// The label's PNG, PDF and SVG files checked against the bitmap they stand
// beside: the PNG decoded pixel for pixel, the vector pages rasterised by
// poppler and librsvg and compared stroke for stroke, the PDF's text read back.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <map>
#include <regex>

#include "CodePage932.h"
#include "LabelExport.h"
#include "LabelSession.h"
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

// The pHYs chunk's fields. It comes before the image data, so the first
// occurrence of its name is the chunk's.
struct Physical {
  std::uint32_t x = 0, y = 0;
  int unit = -1;
};
Physical PhysicalOf(const std::string& file) {
  const std::size_t at = file.find("pHYs");
  if (at == std::string::npos || at + 13 > file.size()) return {};
  const auto u32 = [&](std::size_t from) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
      value = value << 8 | static_cast<unsigned char>(file[from + i]);
    return value;
  };
  return {u32(at + 4), u32(at + 8), static_cast<unsigned char>(file[at + 12])};
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
    ASSERT_TRUE(session.CreateCanvas(settings));
    session.SetLabelText(cp932::FromUtf8(kText));
    ASSERT_EQ(session.ComposeLabel().leftOffBytes, 0u);
  }
  fs::path Save(LabelFormat format) {
    const auto saved = session.RenderAndSave(format);
    EXPECT_TRUE(saved);
    return saved ? *saved : fs::path();
  }
  // `command` rasterises a page at 300 dpi into `page`; its strokes must be the bitmap's.
  void ExpectSameStrokes(const std::string& command, const fs::path& page) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const Grey rasterised = DecodePng(page);
    const Grey bitmap = GreyOf(session.canvas().image);
    ASSERT_EQ(rasterised.width, bitmap.width);
    ASSERT_EQ(rasterised.height, bitmap.height);
    EXPECT_GE(DarkCovered(bitmap, rasterised), 0.95);
    EXPECT_GE(DarkCovered(rasterised, bitmap), 0.95);
  }
  // The two sizes `pattern` finds in `text`, times `mmPerUnit`, are the label's side.
  void ExpectSideMm(const std::string& text, const char* pattern, double mmPerUnit) {
    std::smatch size;
    ASSERT_TRUE(std::regex_search(text, size, std::regex(pattern))) << text;
    const double side = session.canvas().image.width() * 25.4 / settings.resolutionDpi;
    EXPECT_NEAR(std::stod(size[1]) * mmPerUnit, side, 0.01);
    EXPECT_NEAR(std::stod(size[2]) * mmPerUnit, side, 0.01);
  }
  const LabelSettings settings{80, 300, 60, 20, 1, 3};
  test::TempDir dir;
  LabelSession session{dir.path()};
};

TEST_F(LabelExport, PngHoldsTheBitmapsGreysAndResolution) {
  const fs::path png = Save(LabelFormat::Png);
  const Grey decoded = DecodePng(png);
  const Grey bitmap = GreyOf(session.canvas().image);
  ASSERT_EQ(decoded.width, bitmap.width);
  ASSERT_EQ(decoded.height, bitmap.height);
  EXPECT_TRUE(decoded.pixels == bitmap.pixels);
  EXPECT_LT(std::count(bitmap.pixels.begin(), bitmap.pixels.end(), 0xFF), bitmap.pixels.size());
  // The bitmap's pixels per metre, per metre.
  const Physical physical = PhysicalOf(ReadFileBytes(png));
  EXPECT_EQ(std::tuple(physical.x, physical.y, physical.unit), std::tuple(11811u, 11811u, 1));
}

TEST_F(LabelExport, PdfPageSizeTextAndStrokes) {
  if (!HaveTool("pdftoppm") || !HaveTool("pdftotext") || !HaveTool("pdfinfo")) {
    GTEST_SKIP() << "poppler-utils is not installed";
  }
  const std::string pdf = "'" + Save(LabelFormat::Pdf).string() + "'";
  ExpectSideMm(Output("pdfinfo " + pdf), R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)", 25.4 / 72);
  // Text on rings has no reading order, so the characters are compared as a multiset.
  EXPECT_EQ(CharacterCounts(Output("pdftotext " + pdf + " -")), CharacterCounts(kText));
  const fs::path page = dir.path() / "page";
  ExpectSameStrokes("pdftoppm -r 300 -png -singlefile " + pdf + " '" + page.string() + "'",
                    page.string() + ".png");
}

TEST_F(LabelExport, SvgSizeInMillimetresAndStrokes) {
  if (!HaveTool("rsvg-convert")) GTEST_SKIP() << "librsvg2-bin is not installed";
  const fs::path svg = Save(LabelFormat::Svg);
  ExpectSideMm(ReadFileBytes(svg), R"(width="([0-9.]+)mm" height="([0-9.]+)mm")", 1.0);
  const fs::path page = dir.path() / "page.png";
  ExpectSameStrokes(
      "rsvg-convert --dpi-x 300 --dpi-y 300 -o '" + page.string() + "' '" + svg.string() + "'",
      page);
}

TEST_F(LabelExport, NoPixelsNoFileAndExportReplacesWhole) {
  const fs::path chosen = dir.path() / "label.svg";
  test::WriteFileBytes(chosen, "old");
  ASSERT_TRUE(session.Export(LabelFormat::Svg, chosen));
  EXPECT_TRUE(ReadFileBytes(chosen).starts_with("<?xml"));
  const auto missing = session.Export(LabelFormat::Pdf, dir.path() / "no/x.pdf");
  ASSERT_FALSE(missing);
  EXPECT_EQ(std::tuple(missing.error().reason, missing.error().errnum),
            std::tuple(ErrorReason::CannotReplace, ENOENT));
  // A canvas without pixels writes nothing, in any format.
  ASSERT_TRUE(session.CreateCanvas({0.01, 300, 60, 20, 1, 3}));
  for (const LabelFormat format : kLabelFormats) {
    const auto refused = session.RenderAndSave(format);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().reason, ErrorReason::NoPixels);
  }
  EXPECT_EQ(test::Entries(dir.path()), std::vector<std::string>{"label.svg"});
}

}  // namespace lumo
