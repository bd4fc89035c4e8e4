// The label's PNG, PDF and SVG files checked against the bitmap they stand
// beside: the PNG decoded pixel for pixel, the vector pages rasterised by
// poppler and librsvg and compared stroke for stroke, the PDF's text read back
// by poppler and MuPDF, the PDF checked by qpdf.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <regex>
#include <sstream>

#include "CodePage932.h"
#include "LabelSession.h"
#include "LabelVector.h"
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

// The lines of `text` that hold more than white space, each run of spaces made
// one (poppler writes one space for any gap between words).
std::vector<std::string> Lines(const std::string& text) {
  std::istringstream in(std::regex_replace(text, std::regex(" +"), " "));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line, '\n');) {
    if (line.ends_with('\r')) line.pop_back();
    if (line.find_first_not_of(" \f") != std::string::npos) lines.push_back(line);
  }
  return lines;
}

// What `command` prints on standard output.
std::string Output(const std::string& command, const fs::path& scratch) {
  const fs::path out = scratch / "out";
  if (std::system((command + " >'" + out.string() + "' 2>/dev/null").c_str()) != 0) return {};
  return ReadFileBytes(out);
}

// A label of 80 mm at 300 dpi whose whole text fits: Japanese, Latin letters,
// digits and signs, over both halves, a line that wraps onto a second ring,
// one that ends in a hyphen, a run of spaces, characters beyond code page 932
// and bytes without a character.
class LabelExport : public ::testing::Test {
 protected:
  static constexpr const char* kText =
      "円盤のラベルに文字を並べます。\r\nDisc label 2026:        ring text-\r\n"
      "漢字とかなとカタカナ、記号（＊＋）も。\r\n"
      "lumo #42 ok? 一文字ずつ向きを変えて、同心円の輪に沿って描いていくとても長い行です。\r\n"
      "最後の行、Café 𠮷";
  // A control byte, an invalid pair, a user-defined character, a lone lead byte.
  static constexpr const char* kOddBytes = "\x01\x81\x7f\xf0\x40\x81";
  static constexpr const char* kOddText = "\uFFFD\uFFFD\uE000\uFFFD";
  void SetUp() override {
    if (std::system("command -v pdftoppm pdftotext pdfinfo rsvg-convert mutool qpdf >/dev/null") !=
        0) {
      GTEST_SKIP() << "poppler-utils, librsvg2-bin, mupdf-tools or qpdf is not installed";
    }
    ASSERT_TRUE(session.CreateCanvas({80, 300, 60, 20, 1, 3}));
    LabelText text = LabelTextFromUtf8(kText);
    text.Append(std::string(kOddBytes));
    session.SetLabelText(text);
    ASSERT_EQ(session.ComposeLabel().leftOffBytes, 0u);
    // The lower half's second line is on its third ring: the first wraps.
    ASSERT_EQ(session.layout().glyphs.back().ring, 3);
  }
  fs::path Save(LabelFormat format) { return session.RenderAndSave(format).value(); }
  // The page as poppler (PDF) or librsvg (SVG) rasterises it.
  Grey Rasterise(const fs::path& file, double dpi) {
    if (file.extension() == ".pdf") return test::RasterisePdf(file, dpi);
    const fs::path page = dir.path() / "page.png";
    const std::string d = std::to_string(dpi);
    const std::string convert = "rsvg-convert --dpi-x " + d + " --dpi-y " + d + " -o '" +
                                page.string() + "' '" + file.string() + "'";
    return std::system(convert.c_str()) == 0 ? test::DecodePng(page) : Grey{};
  }
  // The page's strokes are the bitmap's, each within a pixel of the other's.
  void ExpectSameStrokes(const Grey& page) {
    const Grey bitmap = GreyOf(session.canvas().image);
    ASSERT_EQ(std::pair(page.width, page.height), std::pair(bitmap.width, bitmap.height));
    EXPECT_GE(test::InkCovered(bitmap, page), 0.95);
    EXPECT_GE(test::InkCovered(page, bitmap), 0.95);
  }
  // The two sizes `pattern` finds in `text`, times `mmPerUnit`, are `width`
  // and `height` (mm; the label's side unless given).
  void ExpectSizeMm(const std::string& text, const char* pattern, double mmPerUnit,
                    double width = 0, double height = 0) {
    std::smatch size;
    ASSERT_TRUE(std::regex_search(text, size, std::regex(pattern))) << text;
    const double side =
        session.canvas().geometry.canvasRect.width * 25.4 / session.settings().resolutionDpi;
    EXPECT_NEAR(std::stod(size[1]) * mmPerUnit, width > 0 ? width : side, 0.01);
    EXPECT_NEAR(std::stod(size[2]) * mmPerUnit, height > 0 ? height : side, 0.01);
  }
  void ExpectPdfValid(const fs::path& pdf, double width = 0, double height = 0) {
    EXPECT_NE(Output("qpdf --check '" + pdf.string() + "'", dir.path()), "");  // exit 0: clean
    ExpectSizeMm(Output("pdfinfo '" + pdf.string() + "'", dir.path()),
                 R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)", 25.4 / 72, width, height);
  }
  // Each line of the text once, as one line, in the label's order: what
  // poppler and MuPDF read from the PDF, and what a search finds.
  std::vector<std::string> ExpectedLines(int labels) {
    std::vector<std::string> lines;
    for (int i = 0; i < labels; ++i) {
      for (const std::string& line : Lines(kText)) lines.push_back(line);
      lines.back() += kOddText;
    }
    return lines;
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
  ExpectPdfValid(pdf);
  EXPECT_EQ(Lines(Output("pdftotext '" + pdf.string() + "' -", dir.path())), ExpectedLines(1));
  EXPECT_EQ(Lines(Output("mutool draw -F txt '" + pdf.string() + "'", dir.path())),
            ExpectedLines(1));
  ExpectSameStrokes(Rasterise(pdf, 300));
}

// Pixels far below the 1/512 point some drawing libraries can place still
// make a sound page, whose cells hide what they overprint as the bitmap's do
// (a lone CR starts the ring again); pages beyond the sides readers take are
// refused.
TEST_F(LabelExport, TinyPixelsDrawnAndPagesBeyondReadersRefused) {
  ASSERT_TRUE(session.CreateCanvas({2, 40000, 4, 2, 0, 2}));  // glyphs of 787 pixels
  session.SetLabelText(std::string("###\r@@@"));
  session.ComposeLabel();
  for (const LabelFormat format : {LabelFormat::Pdf, LabelFormat::Svg}) {
    const fs::path file = Save(format);
    if (format == LabelFormat::Pdf) ExpectPdfValid(file);
    ExpectSameStrokes(Rasterise(file, 40000));
  }
  ASSERT_TRUE(session.CreateCanvas({0.0254, 1e6, 150, 45, 1, 30}));
  for (const LabelFormat format : {LabelFormat::Pdf, LabelFormat::Svg}) {
    EXPECT_EQ(session.RenderAndSave(format).error().reason, ErrorReason::PageOutOfRange);
  }
  // 3 and 14,400 points are the smallest and largest sides.
  const std::pair<VectorPage, bool> sides[] = {{{3, 72}, true},      {{299, 7200}, false},
                                               {{200, 1}, true},     {{201, 1}, false},
                                               {{100, -300}, false}, {{100, NAN}, false}};
  for (const auto& [page, fits] : sides) {
    EXPECT_EQ(static_cast<bool>(CheckVectorPage(page)), fits)
        << page.side << " at " << page.resolutionDpi;
  }
}

// Two labels on a sheet, each at its true size with its ink where the bitmap
// has it, and the text of each.
TEST_F(LabelExport, SheetPlacesLabelsAtTrueSizeWhereAsked) {
  const SheetPage sheet{100, 190, {{50, 48}, {52.5, 141.2}}};
  const VectorPage label{session.canvas().image.width(), 300};
  const fs::path pdf = dir.path() / "sheet.pdf";
  const int fd = ::open(pdf.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_TRUE(WriteSheetPdf(fd, session.layout(), label, **session.face(), sheet));
  ::close(fd);
  ExpectPdfValid(pdf, 100, 190);
  EXPECT_EQ(Lines(Output("pdftotext '" + pdf.string() + "' -", dir.path())), ExpectedLines(2));
  const Grey page = test::RasterisePdf(pdf, 300);
  const test::InkBox bitmap = test::InkOf(GreyOf(session.canvas().image));
  const double mm = 25.4 / 300;
  for (int half = 0; half < 2; ++half) {
    Grey part{page.width, page.height / 2, {}};
    const auto first = page.pixels.begin() + half * part.width * part.height;
    part.pixels.assign(first, first + part.width * part.height);
    const test::InkBox ink = test::InkOf(part);
    const double left = sheet.labels[half].centreXMm - label.side * mm / 2;
    const double top = sheet.labels[half].centreYMm - label.side * mm / 2 - half * part.height * mm;
    EXPECT_NEAR(ink.left * mm, left + bitmap.left * mm, 0.2);
    EXPECT_NEAR(ink.right * mm, left + bitmap.right * mm, 0.2);
    EXPECT_NEAR(ink.top * mm, top + bitmap.top * mm, 0.2);
    EXPECT_NEAR(ink.bottom * mm, top + bitmap.bottom * mm, 0.2);
  }
  const SheetPage off{100, 190, {{-41, 50}}};
  EXPECT_EQ(WriteSheetPdf(-1, session.layout(), label, **session.face(), off).error().reason,
            ErrorReason::PageOutOfRange);
}

TEST_F(LabelExport, SvgSizeInMillimetresAndStrokes) {
  const fs::path svg = Save(LabelFormat::Svg);
  ExpectSizeMm(ReadFileBytes(svg), R"(width="([0-9.]+)mm" height="([0-9.]+)mm")", 1.0);
  ExpectSameStrokes(Rasterise(svg, 300));
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
