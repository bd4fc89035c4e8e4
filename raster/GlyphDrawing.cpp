// Drawing a layout's glyphs: every cell painted white, then its outline
// rasterised, in the layout's order, band of rows by band on two threads.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
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

// The rows the turned outline's box spans, top and bottom, in canvas pixels.
std::pair<double, double> RowSpan(const GlyphOutline& outline, const Affine& m) {
  double top = INFINITY;
  double bottom = -INFINITY;
  for (const long x : {outline.xMin, outline.xMax}) {
    for (const long y : {outline.yMin, outline.yMax}) {
      const double sy = m.yx * static_cast<double>(x) + m.yy * static_cast<double>(y) + m.ty;
      top = std::min(top, sy);
      bottom = std::max(bottom, sy);
    }
  }
  return {top, bottom};
}

// Whether the turned outline can touch the band's rows at all; most glyphs
// of other bands are skipped here before any flattening.
bool Reaches(const GlyphOutline& outline, const Affine& m, Band band) {
  const auto [top, bottom] = RowSpan(outline, m);
  return bottom >= band.top && top < band.bottom;
}

// The rows a glyph's cell and pieces may touch, with one to spare each
// side: a band outside them has nothing of the glyph to draw.
std::pair<double, double> RowsReached(const GlyphGeometry& geometry) {
  double top = INFINITY;
  double bottom = -INFINITY;
  for (const auto& corner : geometry.cell) {
    top = std::min(top, corner[1]);
    bottom = std::max(bottom, corner[1]);
  }
  for (std::size_t i = 0; i < geometry.pieceCount; ++i) {
    const auto [pieceTop, pieceBottom] =
        RowSpan(*geometry.pieces[i].outline, geometry.pieces[i].transform);
    top = std::min(top, pieceTop);
    bottom = std::max(bottom, pieceBottom);
  }
  return {std::floor(top) - 1, std::ceil(bottom) + 1};
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
// Rows of a band: few enough that a file can take the first bands while the
// last are drawn, enough that few glyphs reach into two.
constexpr int kBandRows = 128;

}  // namespace

void LabelFace::Draw(Surface& surface, std::span<const PlacedGlyph> glyphs,
                     std::span<const std::u32string> extras) const {
  DrawBottomUp(surface, glyphs, extras, {});
}

void LabelFace::DrawBottomUp(Surface& surface, std::span<const PlacedGlyph> glyphs,
                             std::span<const std::u32string> extras,
                             const RowsDrawn& drawn) const {
  const int height = surface.height();
  if (surface.empty()) return;
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
  const bool twoThreads = prepared.size() >= kGlyphsWorthASecondThread &&
                          std::thread::hardware_concurrency() >= 2;
  std::vector<GlyphGeometry> geometry(prepared.size());
  InTwoBands(static_cast<int>(prepared.size()), twoThreads, [&](int first, int end) {
    for (auto i = static_cast<std::size_t>(first); i < static_cast<std::size_t>(end); ++i) {
      geometry[i] = Locate(*prepared[i].glyph, *prepared[i].outline, prepared[i].codePoint,
                           prepared[i].extra);
    }
  });

  // Each band lists the glyphs that may reach it, in the layout's order.
  const int bandRows = twoThreads ? kBandRows : height;
  const int bandCount = (height + bandRows - 1) / bandRows;
  std::vector<std::vector<std::uint32_t>> reaching(static_cast<std::size_t>(bandCount));
  for (std::size_t i = 0; i < geometry.size(); ++i) {
    const auto [top, bottom] = RowsReached(geometry[i]);
    if (!(bottom >= 0 && top < height)) continue;
    const int first = static_cast<int>(std::max(top, 0.0)) / bandRows;
    const int last = static_cast<int>(std::min(bottom, height - 1.0)) / bandRows;
    for (int band = first; band <= last; ++band) {
      reaching[static_cast<std::size_t>(band)].push_back(static_cast<std::uint32_t>(i));
    }
  }

  // Bands are taken from the bottom up; the k-th taken is band bandCount-1-k.
  const auto bandTaken = [&](int k) {
    const int band = bandCount - 1 - k;
    return Band{band * bandRows, std::min(height, (band + 1) * bandRows)};
  };
  std::atomic<int> next{0};
  std::mutex mutex;
  std::vector<char> done(static_cast<std::size_t>(bandCount), 0);
  int told = 0;  // bands taken 0 .. told-1 have been told of
  bool telling = false;
  const auto work = [&] {
    GlyphRasteriser rasteriser;
    for (int k = next++; k < bandCount; k = next++) {
      const Band band = bandTaken(k);
      for (const std::uint32_t i : reaching[static_cast<std::size_t>(bandCount - 1 - k)]) {
        const GlyphGeometry& glyph = geometry[i];
        FillQuad(surface, glyph.cell, band);
        for (std::size_t p = 0; p < glyph.pieceCount; ++p) {
          const GlyphPiece& piece = glyph.pieces[p];
          if (Reaches(*piece.outline, piece.transform, band)) {
            rasteriser.Fill(surface, piece.outline->path, piece.transform, band.top, band.bottom);
          }
        }
      }
      if (!drawn) continue;
      // One thread tells at a time, of every band finished meanwhile too.
      std::unique_lock lock(mutex);
      done[static_cast<std::size_t>(k)] = 1;
      if (telling) continue;
      telling = true;
      while (told < bandCount && done[static_cast<std::size_t>(told)] != 0) {
        int end = told;
        while (end < bandCount && done[static_cast<std::size_t>(end)] != 0) ++end;
        const int top = bandTaken(end - 1).top;
        const int bottom = bandTaken(told).bottom;
        told = end;
        lock.unlock();
        drawn(top, bottom);
        lock.lock();
      }
      telling = false;
    }
  };
  {
    std::optional<std::jthread> second;
    if (twoThreads) {
      try {
        second.emplace(work);
      } catch (const std::system_error&) {
        // No second thread to be had: this one takes every band.
      }
    }
    work();
  }  // joins the second thread
}

}  // namespace lumo
