// Glyphs on FreeType: outlines are loaded unscaled once per character, then
// scaled, turned and rasterised straight into the surface.
#include "FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <vector>

#include "CodePage932.h"
#include "FontLocation.h"

namespace lumo {
namespace {

// FT_Done_Face must run before FT_Done_FreeType; FontEngine declares the
// library first so that its members are destroyed face first.
struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};

struct GlyphOutline {
  std::vector<PathSegment> path;  // font units, y up
  double advance = 0;             // font units
  FT_BBox bounds{};               // of the control points, font units
  FT_UInt index = 0;              // the glyph's index in the face
};

// Collects an outline's pieces as FT_Outline_Decompose reports them.
struct PathBuilder {
  std::vector<PathSegment>* path;
  FT_Vector current{};

  static PathBuilder& Of(void* user) { return *static_cast<PathBuilder*>(user); }
  void Add(PathSegment::Kind kind, std::initializer_list<const FT_Vector*> points) {
    PathSegment segment;
    segment.kind = kind;
    segment.x[0] = static_cast<float>(current.x);
    segment.y[0] = static_cast<float>(current.y);
    int i = 1;
    for (const FT_Vector* p : points) {
      segment.x[i] = static_cast<float>(p->x);
      segment.y[i] = static_cast<float>(p->y);
      ++i;
    }
    path->push_back(segment);
    current = *points.end()[-1];
  }
};

int MoveTo(const FT_Vector* to, void* user) {
  PathBuilder::Of(user).current = *to;
  return 0;
}
int LineTo(const FT_Vector* to, void* user) {
  PathBuilder::Of(user).Add(PathSegment::Kind::Line, {to});
  return 0;
}
int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  PathBuilder::Of(user).Add(PathSegment::Kind::Quad, {control, to});
  return 0;
}
int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
  PathBuilder::Of(user).Add(PathSegment::Kind::Cubic, {control1, control2, to});
  return 0;
}

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

using LibraryHandle = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;

LibraryHandle NewLibrary() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return nullptr;
  return LibraryHandle(library);
}

class FontEngine {
 public:
  FontEngine() : library_(NewLibrary()) {
    const Result<FontLocation>& location = LabelFaceLocation();
    if (!location) {
      problem_ = location.error();
      return;
    }
    FT_Face face = nullptr;
    if (!library_ ||
        FT_New_Face(library_.get(), location->path.c_str(), location->index, &face) != 0) {
      problem_ = Error{"cannot load the face " + location->path +
                       " (set LUMO_FONT to a TrueType or OpenType font file)"};
      return;
    }
    face_.reset(face);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      winAscent_ = os2->usWinAscent;
      cellUnits_ = static_cast<double>(os2->usWinAscent) + os2->usWinDescent;
      averageWidth_ = os2->xAvgCharWidth;
    } else {
      winAscent_ = face->ascender;
      cellUnits_ = static_cast<double>(face->ascender) - face->descender;
    }
    if (averageWidth_ <= 0) averageWidth_ = face->units_per_EM / 2.0;
    if (cellUnits_ <= 0) cellUnits_ = face->units_per_EM;
  }

  [[nodiscard]] const std::optional<Error>& problem() const noexcept { return problem_; }

  // Loads the outline of the glyph's character unless it is loaded already.
  const GlyphOutline& Prepare(const PlacedGlyph& glyph) {
    const char32_t cp = cp932::ToCodePoint(glyph.bytes());
    const auto found = outlines_.find(cp);
    if (found != outlines_.end()) return found->second;
    GlyphOutline& outline = outlines_[cp];
    FT_Face face = face_.get();
    outline.index = cp == cp932::kNoCodePoint ? 0 : FT_Get_Char_Index(face, cp);
    if (FT_Load_Glyph(face, outline.index,
                      FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
      return outline;
    }
    outline.advance = static_cast<double>(face->glyph->metrics.horiAdvance);
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return outline;
    static constexpr FT_Outline_Funcs kFuncs{&MoveTo, &LineTo, &ConicTo, &CubicTo, 0, 0};
    FT_Outline_Get_CBox(&face->glyph->outline, &outline.bounds);
    PathBuilder builder{&outline.path};
    if (FT_Outline_Decompose(&face->glyph->outline, &kFuncs, &builder) != 0) outline.path.clear();
    return outline;
  }

  // The cell and the outline's transform of a glyph with this outline.
  [[nodiscard]] GlyphGeometry Place(const PlacedGlyph& glyph, const GlyphOutline& outline) const {
    const FontRequest& font = glyph.font;
    const double scaleY = font.height / cellUnits_;
    const double scaleX = font.width == 0 ? scaleY : std::abs(font.width) / averageWidth_;
    const double theta = font.escapement * (std::numbers::pi / 1800.0);
    const double cosT = std::cos(theta);
    const double sinT = std::sin(theta);
    // Turns a vector of the glyph's own frame (y down) counter-clockwise on the screen.
    auto turn = [&](double dx, double dy) {
      return std::pair{dx * cosT + dy * sinT, -dx * sinT + dy * cosT};
    };
    const double x = glyph.x;
    const double y = glyph.y;
    const auto [ax, ay] = turn(outline.advance * scaleX, 0);
    const auto [hx, hy] = turn(0, font.height);
    GlyphGeometry geometry;
    const double cell[4][2] = {
        {x, y}, {x + ax, y + ay}, {x + ax + hx, y + ay + hy}, {x + hx, y + hy}};
    std::copy(&cell[0][0], &cell[0][0] + 8, &geometry.cell[0][0]);
    // The outline's y axis points up from the baseline, which lies the
    // scaled ascent below the reference point in the turned frame.
    const auto [bx, by] = turn(0, winAscent_ * scaleY);
    geometry.transform = {scaleX * cosT,  -scaleY * sinT, -scaleX * sinT,
                          -scaleY * cosT, x + bx,         y + by};
    geometry.glyphIndex = outline.index;
    geometry.codePoint = cp932::ToCodePoint(glyph.bytes());
    return geometry;
  }

  // Draws one glyph from its prepared outline only, so that two threads may
  // draw at once, each with its own rasteriser and band.
  void Draw(Surface& surface, const PlacedGlyph& glyph, Band band,
            GlyphRasteriser& rasteriser) const {
    const auto found = outlines_.find(cp932::ToCodePoint(glyph.bytes()));
    if (found == outlines_.end()) return;  // not prepared: cannot happen
    const GlyphOutline& outline = found->second;
    const GlyphGeometry geometry = Place(glyph, outline);
    FillQuad(surface, geometry.cell, band);
    if (Reaches(outline.bounds, geometry.transform, band)) {
      rasteriser.Fill(surface, outline.path, geometry.transform, band.top, band.bottom);
    }
  }

 private:
  // Whether the turned outline can touch the band's rows at all; most glyphs
  // of the other band are skipped here before any flattening.
  static bool Reaches(const FT_BBox& b, const Affine& m, Band band) {
    double top = INFINITY;
    double bottom = -INFINITY;
    for (const FT_Pos x : {b.xMin, b.xMax}) {
      for (const FT_Pos y : {b.yMin, b.yMax}) {
        const double sy = m.yx * static_cast<double>(x) + m.yy * static_cast<double>(y) + m.ty;
        top = std::min(top, sy);
        bottom = std::max(bottom, sy);
      }
    }
    return bottom >= band.top && top < band.bottom;
  }

  LibraryHandle library_;
  std::unique_ptr<FT_FaceRec_, FaceDeleter> face_;
  std::optional<Error> problem_;
  double winAscent_ = 0;
  double cellUnits_ = 1;
  double averageWidth_ = 0;
  std::unordered_map<char32_t, GlyphOutline> outlines_;
};

// FreeType objects may not be shared between threads; each thread that
// prepares and draws has its own engine on the one face file.
FontEngine& Engine() {
  thread_local FontEngine engine;
  return engine;
}

// Below this many glyphs a second thread costs more than it saves.
constexpr std::size_t kGlyphsWorthASecondThread = 256;

void DrawBand(const FontEngine& engine, Surface& surface, std::span<const PlacedGlyph> glyphs,
              Band band) {
  GlyphRasteriser rasteriser;
  for (const PlacedGlyph& glyph : glyphs) {
    // A cell less than a pixel high has nothing to show.
    if (glyph.font.height > 0) engine.Draw(surface, glyph, band, rasteriser);
  }
}

}  // namespace

std::optional<Error> LabelFaceProblem() { return Engine().problem(); }

std::optional<GlyphGeometry> PlaceGlyph(const PlacedGlyph& glyph) {
  FontEngine& engine = Engine();
  if (engine.problem()) return std::nullopt;
  return engine.Place(glyph, engine.Prepare(glyph));
}

void DrawGlyphs(Surface& surface, std::span<const PlacedGlyph> glyphs) {
  FontEngine& engine = Engine();
  if (engine.problem() || surface.empty() || glyphs.empty()) return;
  for (const PlacedGlyph& glyph : glyphs) (void)engine.Prepare(glyph);
  const int mid = surface.height() / 2;
  if (glyphs.size() < kGlyphsWorthASecondThread || std::thread::hardware_concurrency() < 2) {
    DrawBand(engine, surface, glyphs, {0, surface.height()});
    return;
  }
  bool lowerDrawn = false;
  {
    std::optional<std::jthread> lower;
    try {
      lower.emplace([&] {
        DrawBand(engine, surface, glyphs, {mid, surface.height()});
        lowerDrawn = true;
      });
    } catch (const std::system_error&) {
      // No second thread to be had: the lower band is drawn below instead.
    }
    DrawBand(engine, surface, glyphs, {0, mid});
  }  // joins the second thread
  if (!lowerDrawn) DrawBand(engine, surface, glyphs, {mid, surface.height()});
}

}  // namespace lumo
