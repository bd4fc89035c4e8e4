// Glyphs on FreeType: the face is found once per process (fontconfig, or the
// file named by $LUMO_FONT); outlines are loaded unscaled once per glyph and
// then scaled, turned and rasterised straight into the surface.
#include "FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <unordered_map>
#include <vector>

#include "CodePage932.h"

namespace lumo::detail {
namespace {

struct FontLocation {
  std::string path;
  int index = 0;
};

// The face the label has always asked for, matched by Japanese coverage and
// fixed pitch: on Debian that is IPAGothic.
FontLocation FindFont() {
  if (const char* file = std::getenv("LUMO_FONT"); file != nullptr && *file != '\0') {
    return {file, 0};
  }
  FontLocation location;
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(
      FcNameParse(reinterpret_cast<const FcChar8*>("MS UI Gotic")), &FcPatternDestroy);
  if (!pattern) return location;
  FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcPatternAddInteger(pattern.get(), FC_SPACING, FC_MONO);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(
      FcFontMatch(nullptr, pattern.get(), &result), &FcPatternDestroy);
  if (!match) return location;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
    location.path = reinterpret_cast<const char*>(file);
  }
  int index = 0;
  if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch) {
    location.index = index;
  }
  return location;
}

const FontLocation& Location() {
  static const FontLocation location = FindFont();
  return location;
}

// FT_Done_Face must run before FT_Done_FreeType; FreeTypeHandles declares the
// library first so that members are destroyed face first.
struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};

struct GlyphOutline {
  std::vector<FT_Vector> points;
  std::vector<char> tags;
  std::vector<short> contours;
  int flags = 0;
  double advance = 0;  // font units
};

struct SpanTarget {
  Surface* surface;
};

void BlendSpans(int y, int count, const FT_Span* spans, void* user) {
  Surface& surface = *static_cast<SpanTarget*>(user)->surface;
  const int row = surface.height() - 1 - y;
  if (row < 0 || row >= surface.height()) return;
  auto line = surface.row(row);
  for (int i = 0; i < count; ++i) {
    const unsigned keep = 255u - spans[i].coverage;
    const int first = std::max(0, static_cast<int>(spans[i].x));
    const int last = std::min(surface.width(), spans[i].x + static_cast<int>(spans[i].len));
    for (int x = first; x < last; ++x) {
      Pixel& pixel = line[static_cast<std::size_t>(x)];
      Pixel out = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const unsigned channel = (pixel >> shift) & 0xFFu;
        out |= ((channel * keep + 127u) / 255u) << shift;
      }
      pixel = out;
    }
  }
}

// Paints the convex quadrilateral `corners` white: every pixel whose centre
// lies inside, as an opaque text cell is painted.
void FillQuad(Surface& surface, const double (&corners)[4][2]) {
  double top = corners[0][1];
  double bottom = corners[0][1];
  for (const auto& c : corners) {
    top = std::min(top, c[1]);
    bottom = std::max(bottom, c[1]);
  }
  const int firstRow = std::max(0, static_cast<int>(std::floor(top)));
  const int lastRow = std::min(surface.height() - 1, static_cast<int>(std::ceil(bottom)));
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

class FontEngine {
 public:
  FontEngine() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return;
    library_.reset(library);
    const FontLocation& location = Location();
    if (location.path.empty()) return;
    FT_Face face = nullptr;
    if (FT_New_Face(library_.get(), location.path.c_str(), location.index, &face) != 0) return;
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

  void Draw(Surface& surface, const FontRequest& font, int x, int y, std::string_view bytes) {
    if (!face_ || font.height <= 0) return;
    const double scaleY = font.height / cellUnits_;
    const double scaleX = font.width == 0 ? scaleY : std::abs(font.width) / averageWidth_;
    const double theta = font.escapement * (std::numbers::pi / 1800.0);
    const double cosT = std::cos(theta);
    const double sinT = std::sin(theta);
    // Turns a vector of the glyph's own frame (y down) counter-clockwise on the screen.
    auto turn = [&](double dx, double dy) {
      return std::pair{dx * cosT + dy * sinT, -dx * sinT + dy * cosT};
    };
    double penX = x;
    double penY = y;
    for (std::size_t pos = 0; pos < bytes.size();) {
      const std::size_t length = std::min(cp932::CharLength(bytes, pos), bytes.size() - pos);
      const char32_t cp = cp932::ToCodePoint(bytes.substr(pos, length));
      pos += length;
      const GlyphOutline& glyph =
          Outline(cp == cp932::kNoCodePoint ? 0 : FT_Get_Char_Index(face_.get(), cp));
      const double advance = glyph.advance * scaleX;

      const auto [ax, ay] = turn(advance, 0);
      const auto [hx, hy] = turn(0, font.height);
      const double cell[4][2] = {
          {penX, penY}, {penX + ax, penY + ay}, {penX + ax + hx, penY + ay + hy}, {penX + hx, penY + hy}};
      FillQuad(surface, cell);

      const auto [bx, by] = turn(0, winAscent_ * scaleY);
      Raster(surface, glyph, penX + bx, penY + by, scaleX, scaleY, cosT, sinT);
      penX += ax;
      penY += ay;
    }
  }

 private:
  const GlyphOutline& Outline(FT_UInt index) {
    auto found = outlines_.find(index);
    if (found != outlines_.end()) return found->second;
    GlyphOutline& glyph = outlines_[index];
    FT_Face face = face_.get();
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
      return glyph;
    }
    glyph.advance = static_cast<double>(face->glyph->metrics.horiAdvance);
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return glyph;
    const FT_Outline& outline = face->glyph->outline;
    glyph.points.assign(outline.points, outline.points + outline.n_points);
    glyph.tags.assign(outline.tags, outline.tags + outline.n_points);
    glyph.contours.assign(outline.contours, outline.contours + outline.n_contours);
    glyph.flags = outline.flags;
    return glyph;
  }

  // Scales and turns the outline about its origin (ox, oy) on the baseline and
  // rasterises it with grey-level coverage, clipped to the surface.
  void Raster(Surface& surface, const GlyphOutline& glyph, double ox, double oy, double scaleX,
              double scaleY, double cosT, double sinT) {
    if (glyph.points.empty()) return;
    scratch_.resize(glyph.points.size());
    // FreeType's rows count upward; the surface's rows count downward.
    const double rasterOriginY = surface.height() - oy;
    for (std::size_t i = 0; i < glyph.points.size(); ++i) {
      const double gx = glyph.points[i].x * scaleX;
      const double gy = glyph.points[i].y * scaleY;
      scratch_[i].x = std::lround((ox + gx * cosT - gy * sinT) * 64.0);
      scratch_[i].y = std::lround((rasterOriginY + gx * sinT + gy * cosT) * 64.0);
    }
    FT_Outline outline{};
    outline.n_points = static_cast<short>(scratch_.size());
    outline.n_contours = static_cast<short>(glyph.contours.size());
    outline.points = scratch_.data();
    outline.tags = const_cast<char*>(glyph.tags.data());
    outline.contours = const_cast<short*>(glyph.contours.data());
    outline.flags = glyph.flags;

    SpanTarget target{&surface};
    FT_Raster_Params params{};
    params.source = &outline;
    params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
    params.gray_spans = &BlendSpans;
    params.user = &target;
    params.clip_box = {0, 0, surface.width(), surface.height()};
    FT_Outline_Render(library_.get(), &outline, &params);
  }

  std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library_;
  std::unique_ptr<FT_FaceRec_, FaceDeleter> face_;
  double winAscent_ = 0;
  double cellUnits_ = 1;
  double averageWidth_ = 0;
  std::unordered_map<FT_UInt, GlyphOutline> outlines_;
  std::vector<FT_Vector> scratch_;
};

// FreeType objects may not be shared between threads; each thread that draws
// gets its own engine on the one face file.
FontEngine& Engine() {
  thread_local FontEngine engine;
  return engine;
}

}  // namespace

void RenderText(Surface& surface, const FontRequest& font, int x, int y, std::string_view bytes) {
  Engine().Draw(surface, font, x, y, bytes);
}

std::string FontFilePath() { return Location().path; }

}  // namespace lumo::detail
