// Vector pages drawn from the raster's own glyph placement (LabelFace::Locate),
// so that page and bitmap agree pixel for pixel. A label repeats few
// characters in many directions: each glyph is defined once, in the face's
// units, and every placement refers to it turned, scaled and moved.
#include "LabelVector.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <string>
#include <map>
#include <tuple>

#include "CodePage932.h"
#include "GlyphOutline.h"
#include "Io.h"
#include "internal/PdfFile.h"
#include "internal/TextLayerFont.h"
#include "internal/VectorText.h"

namespace lumo {
namespace {

constexpr double kPointsPerInch = 72;
constexpr double kMmPerInch = 25.4;

// The text layer's lines, in font sizes: a line's pitch, and the deeper one
// after a line that ends in a hyphen. poppler joins such a line to the next
// as a word broken over two lines unless they lie apart as two paragraphs.
constexpr double kLinePitch = 1.2;
constexpr double kParagraphPitch = 4;
constexpr double kAscent = 0.8;
constexpr double kDescent = 0.2;

// What one definition draws, in its face's units: a white cell of cellWidth
// (none when negative), then the outline black (none when null).
struct Definition {
  const GlyphOutline* outline = nullptr;
  double cellWidth = -1;
};

struct Placement {
  int definition;
  Affine transform;  // font units to canvas pixels
};

// One line of the text as the text layer gives it.
struct TextRun {
  std::string hex;  // the codes, four hexadecimal digits each
  double widthEm = 0;
  bool endsInHyphen = false;
  bool blank = true;  // spaces only: nothing to find or copy
};

// Everything a page needs from the layout and the face, worked out once.
struct LabelDrawing {
  std::vector<Definition> definitions;  // one per glyph of the face, and per cell or piece
  std::vector<Placement> placements;             // in the layout's order
  LabelFace::CellUnits cell;
  int tallest = 0;  // the highest cell, in pixels
  TextLayerFont font;
  std::vector<TextRun> runs;  // the lines with something to show, upper half first
};

LabelDrawing Prepare(const LabelLayout& layout, const LabelFace& face) {
  LabelDrawing drawing;
  drawing.cell = face.cellUnits();
  // The label face's glyphs by their index in it, cells by their width,
  // pieces by their outline.
  std::map<std::tuple<int, std::uintptr_t, double>, int> definitionOf;
  const auto place = [&](std::tuple<int, std::uintptr_t, double> key, Definition definition,
                         const Affine& transform) {
    const auto [at, added] =
        definitionOf.try_emplace(key, static_cast<int>(drawing.definitions.size()));
    if (added) drawing.definitions.push_back(definition);
    drawing.placements.push_back({at->second, transform});
  };
  const PlacedGlyph* previous = nullptr;
  bool followsSpace = false;
  for (const PlacedGlyph& glyph : layout.glyphs) {
    // As in the raster, a cell less than a pixel high has nothing to show.
    if (glyph.font.height <= 0) continue;
    const GlyphGeometry geometry = face.Locate(glyph, layout.extras);
    if (geometry.ownGlyph) {
      const GlyphOutline* outline = geometry.pieces[0].outline;
      place({0, outline->index, 0}, {outline, outline->advance}, geometry.transform);
    } else {
      place({1, 0, geometry.cellAdvance}, {nullptr, geometry.cellAdvance}, geometry.transform);
      for (std::size_t i = 0; i < geometry.pieceCount; ++i) {
        const GlyphPiece& piece = geometry.pieces[i];
        place({2, reinterpret_cast<std::uintptr_t>(piece.outline), 0}, {piece.outline},
              piece.transform);
      }
    }
    drawing.tallest = std::max(drawing.tallest, glyph.font.height);

    if (previous == nullptr || glyph.half != previous->half || glyph.line != previous->line) {
      if (!drawing.runs.empty() && drawing.runs.back().blank) drawing.runs.pop_back();
      drawing.runs.emplace_back();
      followsSpace = false;
    }
    previous = &glyph;
    const char32_t character = TextLayerCharacter(geometry.codePoint);
    const std::uint16_t code =
        glyph.extra >= 0 ? drawing.font.Code(layout.extras[static_cast<std::size_t>(glyph.extra)],
                                             false)
                         : drawing.font.Code({&character, 1}, followsSpace);
    TextRun& run = drawing.runs.back();
    char hex[5];
    std::snprintf(hex, sizeof hex, "%04X", code);
    run.hex += hex;
    run.widthEm += drawing.font.Width(code) / 1000.0;
    const bool space = glyph.extra < 0 && character == U' ';
    run.endsInHyphen = glyph.extra < 0 && character == U'-';
    run.blank = run.blank && space;
    followsSpace = space;
  }
  if (!drawing.runs.empty() && drawing.runs.back().blank) drawing.runs.pop_back();
  return drawing;
}

// The last of a segment's points: 1 for a line, 2 for a quadratic, 3 for a cubic.
int LastPoint(const PathSegment& segment) {
  switch (segment.kind) {
    case PathSegment::Kind::Line:
      return 1;
    case PathSegment::Kind::Quad:
      return 2;
    case PathSegment::Kind::Cubic:
      break;
  }
  return 3;
}

// Calls `moveTo` where a contour starts, then `segmentTo` for every segment.
template <typename MoveTo, typename SegmentTo>
void Trace(const std::vector<PathSegment>& path, MoveTo moveTo, SegmentTo segmentTo) {
  const PathSegment* previous = nullptr;
  for (const PathSegment& segment : path) {
    if (previous == nullptr || segment.x[0] != previous->x[LastPoint(*previous)] ||
        segment.y[0] != previous->y[LastPoint(*previous)]) {
      moveTo(segment.x[0], segment.y[0]);
    }
    segmentTo(segment);
    previous = &segment;
  }
}

// PDF: fills the cell white, then the outline black, in the face's units.
void AppendPdfGlyph(VectorText& out, const Definition& definition, LabelFace::CellUnits cell) {
  if (definition.cellWidth >= 0) {
    out << "1 g 0 ";
    out.FixedSp(cell.top - cell.height, 2).FixedSp(definition.cellWidth, 2);
    out.FixedSp(cell.height, 2) << "re f\n";
  }
  if (definition.outline == nullptr || definition.outline->path.empty()) return;
  const GlyphOutline& outline = *definition.outline;
  out << "0 g\n";
  const auto point = [&](double x, double y) { out.FixedSp(x, 2).FixedSp(y, 2); };
  Trace(
      outline.path,
      [&](double x, double y) {
        point(x, y);
        out << "m\n";
      },
      [&](const PathSegment& s) {
        if (s.kind == PathSegment::Kind::Line) {
          point(s.x[1], s.y[1]);
          out << "l\n";
          return;
        }
        if (s.kind == PathSegment::Kind::Quad) {
          // The cubic of the same curve: its controls two thirds of the way
          // from the ends to the quadratic's one control.
          point(s.x[0] + (s.x[1] - s.x[0]) * 2.0 / 3, s.y[0] + (s.y[1] - s.y[0]) * 2.0 / 3);
          point(s.x[2] + (s.x[1] - s.x[2]) * 2.0 / 3, s.y[2] + (s.y[1] - s.y[2]) * 2.0 / 3);
          point(s.x[2], s.y[2]);
        } else {
          for (int i = 1; i < 4; ++i) point(s.x[i], s.y[i]);
        }
        out << "c\n";
      });
  out << "f\n";
}

// The box a glyph's drawing lies in: its cell and its outline.
std::string PdfBox(const Definition& definition, LabelFace::CellUnits cell) {
  const GlyphOutline* outline = definition.outline;
  const bool inked = outline != nullptr && !outline->path.empty();
  const bool celled = definition.cellWidth >= 0;
  // Without a cell, the outline's box alone (an empty one for no outline).
  double left = celled ? 0 : inked ? static_cast<double>(outline->xMin) : 0;
  double bottom = celled ? cell.top - cell.height : inked ? outline->yMin : 0;
  double right = celled ? definition.cellWidth : inked ? static_cast<double>(outline->xMax) : 0;
  double top = celled ? cell.top : inked ? static_cast<double>(outline->yMax) : 0;
  if (inked) {
    left = std::min(left, static_cast<double>(outline->xMin));
    bottom = std::min(bottom, static_cast<double>(outline->yMin));
    right = std::max(right, static_cast<double>(outline->xMax));
    top = std::max(top, static_cast<double>(outline->yMax));
  }
  VectorText box;
  box << '[';
  box.FixedSp(left, 2).FixedSp(bottom, 2).FixedSp(right, 2).Fixed(top, 2) << ']';
  return box.str();
}

void AppendMatrix(VectorText& out, const Affine& m) {
  out.SignificantSp(m.xx, 5).SignificantSp(m.yx, 5).SignificantSp(m.xy, 5);
  out.SignificantSp(m.yy, 5).FixedSp(m.tx, 2).Fixed(m.ty, 2);
}

// The text, invisible (render mode 3), one straight run per line stacked top
// to bottom in the label's order within the label's square (`left`, `top`,
// `side` in points), as large as fits but no larger than the label's glyphs.
void AppendTextLayer(VectorText& out, const LabelDrawing& drawing, double left, double top,
                     double side, double tallestPoints) {
  if (drawing.runs.empty()) return;
  double widest = 0;
  double depth = kAscent + kDescent;
  for (std::size_t i = 0; i < drawing.runs.size(); ++i) {
    widest = std::max(widest, drawing.runs[i].widthEm);
    if (i > 0) depth += drawing.runs[i - 1].endsInHyphen ? kParagraphPitch : kLinePitch;
  }
  const double margin = side / 20;
  const double room = side - 2 * margin;
  const double size = std::min({room / widest, room / depth, tallestPoints});
  out << "BT 3 Tr /T 1 Tf ";
  out.SignificantSp(size, 6) << "0 0 ";
  out.SignificantSp(size, 6).SignificantSp(left + margin, 6);
  out.SignificantSp(top - margin - kAscent * size, 6) << "Tm\n";
  for (std::size_t i = 0; i < drawing.runs.size(); ++i) {
    if (i > 0) {
      out << "0 ";
      out.FixedSp(drawing.runs[i - 1].endsInHyphen ? -kParagraphPitch : -kLinePitch, 1) << "Td\n";
    }
    out << '<' << drawing.runs[i].hex << "> Tj\n";
  }
  out << "ET\n";
}

// "D:YYYYMMDDHHmmSSZ": now, or SOURCE_DATE_EPOCH where the build or a test
// asks for reproducible files.
std::string CreationDate() {
  std::time_t time = std::time(nullptr);
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr) {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (*epoch != '\0' && *end == '\0') time = static_cast<std::time_t>(seconds);
  }
  std::tm utc{};
  char date[32];
  if (gmtime_r(&time, &utc) == nullptr ||
      std::strftime(date, sizeof date, "D:%Y%m%d%H%M%SZ", &utc) == 0) {
    return {};
  }
  return date;
}

// The text layer's font as object `font` and the objects it refers to:
// composite, its codes the glyphs of an embedded TrueType program, and mapped
// to Unicode. False when zlib has no memory.
bool AddTextFont(PdfFile& pdf, int font, const TextLayerFont& layer) {
  const int cidFont = pdf.Reserve();
  const int descriptor = pdf.Reserve();
  const int program = pdf.Reserve();
  const int toUnicode = pdf.Reserve();
  pdf.Object(font,
             "<< /Type /Font /Subtype /Type0 /BaseFont /LumoText /Encoding /Identity-H "
             "/DescendantFonts [" +
                 Ref(cidFont) + "] /ToUnicode " + Ref(toUnicode) + " >>");
  pdf.Object(cidFont,
             "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /LumoText /CIDSystemInfo << "
             "/Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor " +
                 Ref(descriptor) + " /DW 1000 /W " + layer.WidthArray() +
                 " /CIDToGIDMap /Identity >>");
  pdf.Object(descriptor,
             "<< /Type /FontDescriptor /FontName /LumoText /Flags 4 /FontBBox [0 -200 1000 800] "
             "/ItalicAngle 0 /Ascent 800 /Descent -200 /CapHeight 700 /StemV 80 /FontFile2 " +
                 Ref(program) + " >>");
  const std::string bytes = layer.Program();
  return pdf.Stream(program, "/Length1 " + std::to_string(bytes.size()), bytes) &&
         pdf.Stream(toUnicode, "", layer.ToUnicode());
}

// The label's square on a PDF page, in points: its top-left corner.
struct Corner {
  double left;
  double top;
};

Result<void> WritePdf(int fd, const LabelLayout& layout, VectorPage label, const LabelFace& face,
                      double width, double height, const std::vector<Corner>& corners,
                      bool paintWhite) {
  const double pixel = kPointsPerInch / label.resolutionDpi;
  const LabelDrawing drawing = Prepare(layout, face);
  PdfFile pdf;
  const int catalog = pdf.Reserve();
  const int pages = pdf.Reserve();
  const int page = pdf.Reserve();
  const int contents = pdf.Reserve();
  const int labelForm = pdf.Reserve();
  const int info = pdf.Reserve();
  const int font = drawing.font.empty() ? 0 : pdf.Reserve();

  VectorText glyph;
  std::string glyphs;
  for (std::size_t i = 0; i < drawing.definitions.size(); ++i) {
    const Definition& definition = drawing.definitions[i];
    const int form = pdf.Reserve();
    glyphs += " /G" + std::to_string(i) + ' ' + Ref(form);
    glyph.str().clear();
    AppendPdfGlyph(glyph, definition, drawing.cell);
    if (!pdf.Stream(form,
                    "/Type /XObject /Subtype /Form /BBox " + PdfBox(definition, drawing.cell) +
                        " /Resources << >>",
                    glyph.str())) {
      return WriteFailure(ENOMEM);
    }
  }
  VectorText placed;
  for (const Placement& each : drawing.placements) {
    placed << "q ";
    AppendMatrix(placed, each.transform);
    placed << " cm /G" << std::to_string(each.definition) << " Do Q\n";
  }
  const std::string side = std::to_string(label.side);
  if (!pdf.Stream(labelForm,
                  "/Type /XObject /Subtype /Form /BBox [0 0 " + side + ' ' + side +
                      "] /Resources << /XObject <<" + glyphs + " >> >>",
                  placed.str())) {
    return WriteFailure(ENOMEM);
  }

  VectorText content;
  if (paintWhite) {
    content << "1 g 0 0 ";
    content.SignificantSp(width, 6).SignificantSp(height, 6) << "re f\n";
  }
  for (const Corner& corner : corners) {
    // Canvas pixels, y down, onto the page's points, y up.
    content << "q ";
    content.SignificantSp(pixel, 6) << "0 0 ";
    content.SignificantSp(-pixel, 6).SignificantSp(corner.left, 6).SignificantSp(corner.top, 6)
        << "cm /L Do Q\n";
    AppendTextLayer(content, drawing, corner.left, corner.top, label.side * pixel,
                    drawing.tallest * pixel);
  }
  if (!glyph.finite() || !placed.finite() || !content.finite()) return WriteFailure(EINVAL);
  if (!pdf.Stream(contents, "", content.str())) return WriteFailure(ENOMEM);

  std::string resources = "/XObject << /L " + Ref(labelForm) + " >>";
  if (font != 0) {
    resources += " /Font << /T " + Ref(font) + " >>";
    if (!AddTextFont(pdf, font, drawing.font)) return WriteFailure(ENOMEM);
  }
  VectorText mediaBox;
  mediaBox << "[0 0 ";
  mediaBox.SignificantSp(width, 6).Significant(height, 6) << ']';
  pdf.Object(page, "<< /Type /Page /Parent " + Ref(pages) + " /MediaBox " + mediaBox.str() +
                       " /Resources << " + resources + " >> /Contents " + Ref(contents) + " >>");
  pdf.Object(pages, "<< /Type /Pages /Kids [" + Ref(page) + "] /Count 1 >>");
  pdf.Object(catalog, "<< /Type /Catalog /Pages " + Ref(pages) + " >>");
  const std::string date = CreationDate();
  pdf.Object(info, std::string("<< /Creator (lumo) /Producer (lumo)") +
                       (date.empty() ? std::string() : " /CreationDate (" + date + ")") + " >>");
  const std::string bytes = pdf.Finish(catalog, info);
  return WriteAll(fd, std::span<const char>(bytes));
}

// SVG: the cell white, then the outline black, in the face's units.
void AppendSvgGlyph(VectorText& out, int id, const Definition& definition,
                    LabelFace::CellUnits cell) {
  out << "<g id=\"g" << std::to_string(id) << "\">";
  if (definition.cellWidth >= 0) {
    out << "<path fill=\"#fff\" d=\"M0 ";
    out.Fixed(cell.top - cell.height, 2) << 'H';
    out.Fixed(definition.cellWidth, 2) << 'V';
    out.Fixed(cell.top, 2) << "H0Z\"/>";
  }
  if (definition.outline != nullptr && !definition.outline->path.empty()) {
    out << "<path d=\"";
    Trace(
        definition.outline->path,
        [&](double x, double y) {
          out << 'M';
          out.FixedSp(x, 2).FixedSp(y, 2);
        },
        [&](const PathSegment& s) {
          const int last = LastPoint(s);
          out << "LQC"[last - 1];
          for (int i = 1; i <= last; ++i) out.FixedSp(s.x[i], 2).FixedSp(s.y[i], 2);
        });
    out << "\"/>";
  }
  out << "</g>\n";
}

Result<void> WriteSvg(int fd, const LabelLayout& layout, VectorPage page, const LabelFace& face) {
  const LabelDrawing drawing = Prepare(layout, face);
  const std::string side = std::to_string(page.side);
  VectorText svg;
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" "
         "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"";
  const double millimetres = page.side * kMmPerInch / page.resolutionDpi;
  svg.Significant(millimetres, 6) << "mm\" height=\"";
  svg.Significant(millimetres, 6) << "mm\" viewBox=\"0 0 " << side << ' ' << side
                                  << "\">\n<defs>\n";
  for (std::size_t i = 0; i < drawing.definitions.size(); ++i) {
    AppendSvgGlyph(svg, static_cast<int>(i), drawing.definitions[i], drawing.cell);
  }
  svg << "</defs>\n<rect width=\"" << side << "\" height=\"" << side << "\" fill=\"#fff\"/>\n";
  for (const Placement& each : drawing.placements) {
    svg << "<use xlink:href=\"#g" << std::to_string(each.definition) << "\" transform=\"matrix(";
    AppendMatrix(svg, each.transform);
    svg << ")\"/>\n";
  }
  svg << "</svg>\n";
  if (!svg.finite()) return WriteFailure(EINVAL);
  return WriteAll(fd, std::span<const char>(svg.str()));
}

// Memory running out while the page is built is a failed write, not a crash.
template <typename Write>
Result<void> Guarded(Write write) {
  try {
    return write();
  } catch (const std::bad_alloc&) {
    return WriteFailure(ENOMEM);
  }
}

bool FitsPage(double points) { return points >= kMinPagePoints && points <= kMaxPagePoints; }

}  // namespace

Result<void> CheckVectorPage(VectorPage page) {
  if (page.side <= 0) return Error(ErrorReason::NoPixels);
  if (!FitsPage(page.side * kPointsPerInch / page.resolutionDpi)) {
    return Error(ErrorReason::PageOutOfRange);
  }
  return {};
}

Result<void> WriteLabelPdf(int fd, const LabelLayout& layout, VectorPage page,
                           const LabelFace& face) {
  if (Result<void> fits = CheckVectorPage(page); !fits) return fits;
  const double side = page.side * kPointsPerInch / page.resolutionDpi;
  return Guarded([&] { return WritePdf(fd, layout, page, face, side, side, {{0, side}}, true); });
}

Result<void> WriteLabelSvg(int fd, const LabelLayout& layout, VectorPage page,
                           const LabelFace& face) {
  if (Result<void> fits = CheckVectorPage(page); !fits) return fits;
  return Guarded([&] { return WriteSvg(fd, layout, page, face); });
}

Result<void> WriteSheetPdf(int fd, const LabelLayout& layout, VectorPage label,
                           const LabelFace& face, const SheetPage& sheet) {
  if (Result<void> fits = CheckVectorPage(label); !fits) return fits;
  constexpr double kPointsPerMm = kPointsPerInch / kMmPerInch;
  const double width = sheet.widthMm * kPointsPerMm;
  const double height = sheet.heightMm * kPointsPerMm;
  if (!FitsPage(width) || !FitsPage(height)) return Error(ErrorReason::PageOutOfRange);
  const double side = label.side * kPointsPerInch / label.resolutionDpi;
  std::vector<Corner> corners;
  for (const SheetPlacement& placement : sheet.labels) {
    const Corner corner{placement.centreXMm * kPointsPerMm - side / 2,
                        height - placement.centreYMm * kPointsPerMm + side / 2};
    // Also false for a centre that is not a number.
    if (!(corner.left < width && corner.left + side > 0 && corner.top > 0 &&
          corner.top - side < height)) {
      return Error(ErrorReason::PageOutOfRange);
    }
    corners.push_back(corner);
  }
  return Guarded([&] { return WritePdf(fd, layout, label, face, width, height, corners, false); });
}

}  // namespace lumo
