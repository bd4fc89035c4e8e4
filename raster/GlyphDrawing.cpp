// Drawing a layout's glyphs: every cell painted white, then its outline
// rasterised, in the layout's order, on two threads that each own half the rows.
#include <algorithm>
#include <cmath>
#include <vector>

#include "CodePage932.h"
#include "GlyphOutline.h"
#include "InTwoBands.h"
#include "LabelFace.h"
#include "internal/GlyphRasteriser.h"

namespace lumo {
namespace {

// Rows [top, bottom) of the surface that one drawing pass may write.
struct Band {
  int top;
  int bottom;
};

// Paints the convex quadrilateral `corners` white within rows [top, bottom):
// every pixel whose centre lies inside, as an opaque text cell is painted.
void FillQuad(Surface& surface, const double (&corners)[4][2], Band band) {
  double top = corners[0][1];
  double bottom = corners[0][1];
  for (const auto& c : corners) {
    top = std::min(top, c[1]);
    bottom = std::max(bottom, c[1]);
  }
  if (!(top < band.bottom && bottom >= band.top)) return;
  const int firstRow = std::max(band.top, static_cast<int>(std::floor(top)));
  const int lastRow = std::min(band.bottom - 1, static_cast<int>(std::ceil(bottom)));
  for (int y = firstRow; y <= lastRow; ++y) {
    const double yc = y + 0.5;
    double lo = INFINITY;
    double hi = -INFINITY;
    for (int e = 0; e < 4; ++e) {
      const auto& a = corners[e];
      const auto& b = corners[(e + 1) % 4];
      if ((yc < a[1]) == (yc < b[1])) continue;  // the edge does not cross this row
      const double x = a[0] + (yc - a[1]) * (b[0] - a[0]) / (b[1] - a[1]);
      lo = std::min(lo, x);
      hi = std::max(hi, x);
    }
    if (!(lo <= hi)) continue;
    const int first = std::max(0, static_cast<int>(std::ceil(lo - 0.5)));
    const int last = std::min(surface.width(), static_cast<int>(std::ceil(hi - 0.5)));
    auto line = surface.row(y);
    for (int x = first; x < last; ++x) line[static_cast<std::size_t>(x)] = kWhite;
  }
}

// Whether the turned outline can touch the band's rows at all; most glyphs
// of the other band are skipped here before any flattening.
bool Reaches(const GlyphOutline& outline, const Affine& m, Band band) {
  double top = INFINITY;
  double bottom = -INFINITY;
  for (const long x : {outline.xMin, outline.xMax}) {
    for (const long y : {outline.yMin, outline.yMax}) {
      const double sy = m.yx * static_cast<double>(x) + m.yy * static_cast<double>(y) + m.ty;
      top = std::min(top, sy);
      bottom = std::max(bottom, sy);
    }
  }
  return bottom >= band.top && top < band.bottom;
}

// A glyph with its outline looked up before drawing starts, so that the
// drawing threads never touch the face's shared cache.
struct Prepared {
  const PlacedGlyph* glyph;
  const GlyphOutline* outline;
  char32_t codePoint;
  const LabelFace::Extra* extra;
};

// Below this many glyphs a second thread costs more than it saves.
constexpr std::size_t kGlyphsWorthASecondThread = 256;

}  // namespace

void LabelFace::Draw(Surface& surface, std::span<const PlacedGlyph> glyphs,
                     std::span<const std::u32string> extras) const {
  if (surface.empty() || glyphs.empty()) return;
  std::vector<Prepared> prepared;
  prepared.reserve(glyphs.size());
  for (const PlacedGlyph& glyph : glyphs) {
    // A cell less than a pixel high has nothing to show.
    if (glyph.font.height <= 0) continue;
    const char32_t codePoint = cp932::ToCodePoint(glyph.bytes());
    const bool named = glyph.extra >= 0 && static_cast<std::size_t>(glyph.extra) < extras.size();
    const Extra* extra = named ? &ExtraOf(extras[static_cast<std::size_t>(glyph.extra)]) : nullptr;
    prepared.push_back({&glyph, &Outline(codePoint), codePoint, extra});
  }
  const auto drawBand = [&](Band band) {
    GlyphRasteriser rasteriser;
    for (const Prepared& each : prepared) {
      const GlyphGeometry geometry =
          Locate(*each.glyph, *each.outline, each.codePoint, each.extra);
      FillQuad(surface, geometry.cell, band);
      for (std::size_t i = 0; i < geometry.pieceCount; ++i) {
        const GlyphPiece& piece = geometry.pieces[i];
        if (Reaches(*piece.outline, piece.transform, band)) {
          rasteriser.Fill(surface, piece.outline->path, piece.transform, band.top, band.bottom);
        }
      }
    }
  };
  InTwoBands(surface.height(), prepared.size() >= kGlyphsWorthASecondThread,
             [&](int top, int bottom) {
               drawBand({top, bottom});
             });
}

}  // namespace lumo
