// The label's PNG, PDF and SVG files checked against the bitmap they stand
// beside: the PNG decoded pixel for pixel, the vector pages rasterised by
// poppler and librsvg and compared stroke for stroke, the PDF's text read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <regex>

#include "CodePage932.h"
#include "LabelSession.h"
#include "TestSupport.h"

namespace lumo {

namespace fs = std::filesystem;
using test::Grey;
using test::ReadFileBytes;

Grey GreyOf(const Surface& image) {
  Grey grey{image.width(), image.height(), {}};
  for (const Pixel pixel : image.pixels()) grey.pixels.push_back(pixel >> 8 & 0xFF);
  return grey;
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

// What `command` prints on standard output.
std::string Output(const std::string& command, const fs::path& scratch) {
  const fs::path out = scratch / "out";
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
    if (std::system("command -v pdftoppm pdftotext pdfinfo rsvg-convert >/dev/null") != 0) {
      GTEST_SKIP() << "poppler-utils or librsvg2-bin is not installed";
    }
    ASSERT_TRUE(session.CreateCanvas({80, 300, 60, 20, 1, 3}));
    session.SetLabelText(LabelTextFromUtf8(kText));
    ASSERT_EQ(session.ComposeLabel().leftOffBytes, 0u);
  }
  fs::path Save(LabelFormat format) { return session.RenderAndSave(format).value(); }
  // The page's strokes are the bitmap's, each within a pixel of the other's.
  void ExpectSameStrokes(const Grey& page) {
    const Grey bitmap = GreyOf(session.canvas().image);
    ASSERT_EQ(std::pair(page.width, page.height), std::pair(bitmap.width, bitmap.height));
    EXPECT_GE(test::InkCovered(bitmap, page), 0.95);
    EXPECT_GE(test::InkCovered(page, bitmap), 0.95);
  }
  // The two sizes `pattern` finds in `text`, times `mmPerUnit`, are the label's side.
  void ExpectSideMm(const std::string& text, const char* pattern, double mmPerUnit) {
    std::smatch size;
    ASSERT_TRUE(std::regex_search(text, size, std::regex(pattern))) << text;
    const double side = session.canvas().image.width() * 25.4 / 300;
    EXPECT_NEAR(std::stod(size[1]) * mmPerUnit, side, 0.01);
    EXPECT_NEAR(std::stod(size[2]) * mmPerUnit, side, 0.01);
  }
  test::TempDir dir;
  LabelSession session{dir.path()};
};

TEST_F(LabelExport, PngHoldsTheBitmapsGreysAndResolution) {
  const fs::path png = Save(LabelFormat::Png);
  const Grey bitmap = GreyOf(session.canvas().image);
  EXPECT_TRUE(test::DecodePng(png).pixels == bitmap.pixels);
  EXPECT_LT(std::count(bitmap.pixels.begin(), bitmap.pixels.end(), 0xFF), bitmap.pixels.size());
  // pHYs: 11811 pixels per metre both ways (300 dpi), the unit the metre.
  const std::string file = ReadFileBytes(png);
  EXPECT_EQ(file.substr(file.find("pHYs") + 4, 9), std::string("\0\0\x2e\x23\0\0\x2e\x23\1", 9));
}

TEST_F(LabelExport, PdfPageSizeTextAndStrokes) {
  const fs::path pdf = Save(LabelFormat::Pdf);
  ExpectSideMm(Output("pdfinfo '" + pdf.string() + "'", dir.path()),
               R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)", 25.4 / 72);
  // Text on rings has no reading order, so the characters are compared as a multiset.
  EXPECT_EQ(CharacterCounts(Output("pdftotext '" + pdf.string() + "' -", dir.path())),
            CharacterCounts(kText));
  ExpectSameStrokes(test::RasterisePdf(pdf, 300));
}

TEST_F(LabelExport, SvgSizeInMillimetresAndStrokes) {
  const fs::path svg = Save(LabelFormat::Svg);
  ExpectSideMm(ReadFileBytes(svg), R"(width="([0-9.]+)mm" height="([0-9.]+)mm")", 1.0);
  const fs::path page = dir.path() / "page.png";
  ASSERT_EQ(std::system(("rsvg-convert --dpi-x 300 --dpi-y 300 -o '" + page.string() + "' '" +
                         svg.string() + "'")
                            .c_str()),
            0);
  ExpectSameStrokes(test::DecodePng(page));
}

TEST_F(LabelExport, NoPixelsNoFileAndExportReplacesWhole) {
  const fs::path chosen = dir.path() / "label.svg";
  test::WriteFileBytes(chosen, "old");
  ASSERT_TRUE(session.Export(LabelFormat::Svg, chosen));
  EXPECT_TRUE(ReadFileBytes(chosen).starts_with("<?xml"));
  const auto missing = session.Export(LabelFormat::Pdf, dir.path() / "no/x.pdf");
  EXPECT_EQ(std::tuple(missing.error().reason, missing.error().errnum),
            std::tuple(ErrorReason::CannotReplace, ENOENT));
  // A canvas without pixels writes nothing, in any format.
  ASSERT_TRUE(session.CreateCanvas({0.01, 300, 60, 20, 1, 3}));
  for (const LabelFormat format : kLabelFormats) {
    EXPECT_EQ(session.RenderAndSave(format).error().reason, ErrorReason::NoPixels);
  }
  EXPECT_EQ(test::Entries(dir.path()), std::vector<std::string>{"label.svg"});
}

}  // namespace lumo
