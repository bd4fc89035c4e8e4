// The label's face on FreeType: outlines are loaded unscaled once per
// character, and every glyph's cell and transform are worked out from them.
#include "LabelFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <unordered_map>

#include "CodePage932.h"
#include "GlyphOutline.h"

namespace lumo {
namespace {

// FT_Done_Face must run before FT_Done_FreeType; Handles declares the
// library first so that its members are destroyed face first.
struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
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

}  // namespace

struct LabelFace::Handles {
  std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library;
  std::unique_ptr<FT_FaceRec_, FaceDeleter> face;
  double winAscent = 0;
  double cellUnits = 1;
  double averageWidth = 0;
  // Never erased, so a reference to an outline stays valid as the map grows.
  std::unordered_map<char32_t, GlyphOutline> outlines;
};

LabelFace::LabelFace() : handles_(std::make_unique<Handles>()) {}

LabelFace::~LabelFace() = default;

Result<std::shared_ptr<LabelFace>> LabelFace::Load(const FontLocation& location) {
  const Error unusable(ErrorReason::FaceUnusable, 0, location.path);
  // FreeType would wait forever on a named pipe: only a file can be a face.
  struct stat info {};
  if (::stat(location.path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return unusable;
  std::shared_ptr<LabelFace> loaded(new LabelFace());  // the constructor is private
  Handles& h = *loaded->handles_;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return unusable;
  h.library.reset(library);
  FT_Face face = nullptr;
  if (FT_New_Face(library, location.path.c_str(), location.index, &face) != 0) return unusable;
  h.face.reset(face);
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    h.winAscent = os2->usWinAscent;
    h.cellUnits = static_cast<double>(os2->usWinAscent) + os2->usWinDescent;
    h.averageWidth = os2->xAvgCharWidth;
  } else {
    h.winAscent = face->ascender;
    h.cellUnits = static_cast<double>(face->ascender) - face->descender;
  }
  if (h.averageWidth <= 0) h.averageWidth = face->units_per_EM / 2.0;
  if (h.cellUnits <= 0) h.cellUnits = face->units_per_EM;
  return loaded;
}

LabelFace::CellUnits LabelFace::cellUnits() const noexcept {
  return {handles_->winAscent, handles_->cellUnits};
}

const GlyphOutline& LabelFace::Outline(char32_t cp) const {
  const std::lock_guard lock(mutex_);
  Handles& h = *handles_;
  const auto found = h.outlines.find(cp);
  if (found != h.outlines.end()) return found->second;
  GlyphOutline& outline = h.outlines[cp];
  FT_Face face = h.face.get();
  outline.index = cp == cp932::kNoCodePoint ? 0 : FT_Get_Char_Index(face, cp);
  if (FT_Load_Glyph(face, outline.index,
                    FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
    return outline;
  }
  outline.advance = static_cast<double>(face->glyph->metrics.horiAdvance);
  if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return outline;
  static constexpr FT_Outline_Funcs kFuncs{&MoveTo, &LineTo, &ConicTo, &CubicTo, 0, 0};
  FT_BBox box{};
  FT_Outline_Get_CBox(&face->glyph->outline, &box);
  outline.xMin = box.xMin;
  outline.yMin = box.yMin;
  outline.xMax = box.xMax;
  outline.yMax = box.yMax;
  PathBuilder builder{&outline.path};
  if (FT_Outline_Decompose(&face->glyph->outline, &kFuncs, &builder) != 0) outline.path.clear();
  return outline;
}

GlyphGeometry LabelFace::Locate(const PlacedGlyph& glyph) const {
  const char32_t codePoint = cp932::ToCodePoint(glyph.bytes());
  return Locate(glyph, Outline(codePoint), codePoint);
}

GlyphGeometry LabelFace::Locate(const PlacedGlyph& glyph, const GlyphOutline& outline,
                                char32_t codePoint) const {
  // The metrics never change after loading, so no lock is needed here.
  const Handles& h = *handles_;
  const FontRequest& font = glyph.font;
  const double scaleY = font.height / h.cellUnits;
  const double scaleX = font.width == 0 ? scaleY : std::abs(font.width) / h.averageWidth;
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
  const auto [bx, by] = turn(0, h.winAscent * scaleY);
  geometry.transform = {scaleX * cosT,  -scaleY * sinT, -scaleX * sinT,
                        -scaleY * cosT, x + bx,         y + by};
  geometry.glyphIndex = outline.index;
  geometry.codePoint = codePoint;
  return geometry;
}

const Result<std::shared_ptr<LabelFace>>& DefaultLabelFace() {
  static const Result<std::shared_ptr<LabelFace>> face =
      [&]() -> Result<std::shared_ptr<LabelFace>> {
    const Result<FontLocation> location = LocateChosenFace(std::nullopt, "");
    if (!location) return location.error();
    return LabelFace::Load(*location);
  }();
  return face;
}

}  // namespace lumo
