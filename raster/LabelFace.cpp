// The label's face on FreeType: outlines are loaded unscaled once per
// character, and every glyph's cell and transform are worked out from them.
#include "LabelFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include <utf8proc.h>

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

// How a character beyond code page 932 is drawn: its base and marks, pen
// position after pen position, in one face.
struct LabelFace::Extra {
  const LabelFace* face = nullptr;  // none: no installed face has its base
  std::array<const GlyphOutline*, 4> outlines{};
  std::array<double, 4> pen{};  // that face's units
  std::size_t count = 0;
  double advance = 0;
};

struct LabelFace::Handles {
  std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library;
  std::unique_ptr<FT_FaceRec_, FaceDeleter> face;
  double winAscent = 0;
  double cellUnits = 1;
  double averageWidth = 0;
  // Glyphs of differing widths among the ASCII characters: each is drawn
  // centred in its step's cell rather than in its own advance.
  bool proportional = false;
  // A one-byte and a two-byte step's cell: "?" and "？" where the face is of
  // fixed pitch, its average width once and twice where not.
  std::array<double, 2> stepAdvance{};
  // Never erased, so references stay valid as the maps grow.
  std::unordered_map<char32_t, GlyphOutline> outlines;
  std::unordered_map<std::u32string, Extra> extras;
  std::array<std::optional<GlyphOutline>, 2> boxes;
};

namespace {

// Faces found for characters a label's face lacks, kept for the process.
const LabelFace* FallbackFaceHaving(char32_t codePoint) {
  static std::mutex mutex;
  static std::unordered_map<char32_t, const LabelFace*> byCharacter;
  static std::map<std::pair<std::string, int>, std::shared_ptr<LabelFace>> loaded;
  const std::lock_guard lock(mutex);
  const auto [at, added] = byCharacter.try_emplace(codePoint, nullptr);
  if (!added) return at->second;
  const std::optional<FontLocation> location = FaceHaving(codePoint);
  if (!location) return nullptr;
  std::shared_ptr<LabelFace>& face = loaded[{location->path, location->index}];
  if (!face) {
    Result<std::shared_ptr<LabelFace>> load = LabelFace::Load(*location);
    if (!load) return nullptr;
    face = std::move(*load);
  }
  if (face->Has(codePoint)) at->second = face.get();
  return at->second;
}

// The characters of a cluster that are drawn: its base and the combining
// marks after it; variation selectors, joiners and what a joiner joins are not.
std::vector<char32_t> DrawnCharacters(const std::u32string& cluster) {
  std::vector<char32_t> drawn;
  for (const char32_t cp : cluster) {
    const bool selector = (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xE0100 && cp <= 0xE01EF);
    if (selector) continue;
    const auto category = utf8proc_category(static_cast<utf8proc_int32_t>(cp));
    const bool mark = category == UTF8PROC_CATEGORY_MN || category == UTF8PROC_CATEGORY_MC ||
                      category == UTF8PROC_CATEGORY_ME;
    if (!drawn.empty() && !mark) break;
    if (drawn.size() == 4) break;
    drawn.push_back(cp);
  }
  return drawn;
}

}  // namespace

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
  // The advance of a character the face has, 0 for one it lacks.
  const auto advanceOf = [face](char32_t cp) {
    FT_Fixed advance = 0;
    const FT_UInt index = FT_Get_Char_Index(face, cp);
    if (index == 0 || FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &advance) != 0) return 0.0;
    return static_cast<double>(advance);
  };
  double first = 0;
  for (char32_t cp = U'!'; cp <= U'~'; ++cp) {
    const double advance = advanceOf(cp);
    if (advance == 0) continue;
    if (first == 0) first = advance;
    h.proportional = h.proportional || advance != first;
  }
  const double narrow = h.proportional ? 0 : advanceOf(U'?');
  const double wide = h.proportional ? 0 : advanceOf(U'\uFF1F');
  h.stepAdvance[0] = narrow > 0 ? narrow : h.averageWidth;
  h.stepAdvance[1] = wide > 0 ? wide : 2 * h.stepAdvance[0];
  return loaded;
}

std::string LabelFace::family() const {
  const char* name = handles_->face->family_name;
  return name != nullptr ? name : "";
}

bool LabelFace::Has(char32_t codePoint) const {
  const std::lock_guard lock(mutex_);
  return FT_Get_Char_Index(handles_->face.get(), codePoint) != 0;
}

LabelFace::CellUnits LabelFace::cellUnits() const noexcept {
  return {handles_->winAscent, handles_->cellUnits};
}

const GlyphOutline& LabelFace::Outline(char32_t cp) const {
  const std::lock_guard lock(mutex_);
  return OutlineLocked(cp);
}

const GlyphOutline& LabelFace::OutlineLocked(char32_t cp) const {
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

const LabelFace::Extra& LabelFace::ExtraOf(const std::u32string& cluster) const {
  const std::lock_guard lock(mutex_);
  Handles& h = *handles_;
  const auto [at, added] = h.extras.try_emplace(cluster);
  Extra& extra = at->second;
  if (!added) return extra;
  std::vector<char32_t> drawn = DrawnCharacters(cluster);
  if (drawn.empty()) return extra;
  const auto has = [&](char32_t cp) { return FT_Get_Char_Index(h.face.get(), cp) != 0; };
  if (std::all_of(drawn.begin(), drawn.end(), has)) {
    extra.face = this;
  } else {
    extra.face = FallbackFaceHaving(drawn.front());
    if (extra.face == nullptr) return extra;
    std::erase_if(drawn, [&](char32_t cp) { return !extra.face->Has(cp); });
  }
  for (const char32_t cp : drawn) {
    const GlyphOutline& outline = extra.face == this ? OutlineLocked(cp) : extra.face->Outline(cp);
    extra.outlines[extra.count] = &outline;
    extra.pen[extra.count++] = extra.advance;
    extra.advance += outline.advance;
  }
  return extra;
}

const GlyphOutline& LabelFace::Box(bool wide) const {
  const std::lock_guard lock(mutex_);
  Handles& h = *handles_;
  std::optional<GlyphOutline>& box = h.boxes[wide ? 1 : 0];
  if (box) return *box;
  box.emplace();
  // A hollow rectangle: the outer contour one way round, the inner the other.
  const double width = h.stepAdvance[wide ? 1 : 0];
  const double bottom = h.winAscent - h.cellUnits;
  const double stroke = h.cellUnits / 14;
  const double left = width * 0.12, right = width * 0.88;
  const double low = bottom + h.cellUnits * 0.12, high = h.winAscent - h.cellUnits * 0.12;
  const auto rectangle = [&](double x0, double y0, double x1, double y1) {
    const double xs[] = {x0, x0, x1, x1, x0};
    const double ys[] = {y0, y1, y1, y0, y0};
    for (int i = 0; i < 4; ++i) {
      PathSegment line;
      line.x[0] = static_cast<float>(xs[i]), line.y[0] = static_cast<float>(ys[i]);
      line.x[1] = static_cast<float>(xs[i + 1]), line.y[1] = static_cast<float>(ys[i + 1]);
      box->path.push_back(line);
    }
  };
  rectangle(left, low, right, high);
  rectangle(left + stroke, high - stroke, right - stroke, low + stroke);
  box->advance = width;
  box->xMin = static_cast<long>(std::floor(left));
  box->yMin = static_cast<long>(std::floor(low));
  box->xMax = static_cast<long>(std::ceil(right));
  box->yMax = static_cast<long>(std::ceil(high));
  return *box;
}

GlyphGeometry LabelFace::Locate(const PlacedGlyph& glyph,
                                std::span<const std::u32string> extras) const {
  const char32_t codePoint = cp932::ToCodePoint(glyph.bytes());
  const bool named = glyph.extra >= 0 && static_cast<std::size_t>(glyph.extra) < extras.size();
  const Extra* extra = named ? &ExtraOf(extras[static_cast<std::size_t>(glyph.extra)]) : nullptr;
  return Locate(glyph, Outline(codePoint), codePoint, extra);
}

std::size_t LabelFace::MissingCharacters(const LabelLayout& layout) const {
  std::size_t missing = 0;
  for (const PlacedGlyph& glyph : layout.glyphs) {
    if (glyph.extra < 0 || static_cast<std::size_t>(glyph.extra) >= layout.extras.size()) continue;
    missing += ExtraOf(layout.extras[static_cast<std::size_t>(glyph.extra)]).face == nullptr;
  }
  return missing;
}

GlyphGeometry LabelFace::Locate(const PlacedGlyph& glyph, const GlyphOutline& outline,
                                char32_t codePoint, const Extra* extra) const {
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
  const bool wide = cp932::IsLeadByte(static_cast<unsigned char>(glyph.code[0]));
  const bool fitted = extra != nullptr || h.proportional;
  GlyphGeometry geometry;
  geometry.cellAdvance = fitted ? h.stepAdvance[wide ? 1 : 0] : outline.advance;
  const double x = glyph.x;
  const double y = glyph.y;
  const auto [ax, ay] = turn(geometry.cellAdvance * scaleX, 0);
  const auto [hx, hy] = turn(0, font.height);
  const double cell[4][2] = {
      {x, y}, {x + ax, y + ay}, {x + ax + hx, y + ay + hy}, {x + hx, y + hy}};
  std::copy(&cell[0][0], &cell[0][0] + 8, &geometry.cell[0][0]);
  // The outline's y axis points up from the baseline, which lies the
  // scaled ascent below the reference point in the turned frame.
  const auto [bx, by] = turn(0, h.winAscent * scaleY);
  const Affine& m = geometry.transform = {scaleX * cosT,  -scaleY * sinT, -scaleX * sinT,
                                          -scaleY * cosT, x + bx,         y + by};
  geometry.codePoint = codePoint;
  if (!fitted) {
    geometry.pieces[0] = {&outline, m};
    geometry.pieceCount = 1;
    return geometry;
  }
  geometry.ownGlyph = false;
  if (extra != nullptr && extra->face == nullptr) {
    geometry.missing = true;
    geometry.pieces[0] = {&Box(wide), m};
    geometry.pieceCount = 1;
    return geometry;
  }
  const Extra own{this, {&outline}, {0}, 1, outline.advance};
  const Extra& run = extra != nullptr ? *extra : own;
  // The run's face scaled as the label's face is (its ascent plus descent
  // the cell's height), narrowed to fit the cell, centred both ways.
  const Handles& f = *run.face->handles_;
  double scale = h.cellUnits / f.cellUnits;
  if (run.advance * scale > geometry.cellAdvance) scale = geometry.cellAdvance / run.advance;
  const double left = (geometry.cellAdvance - run.advance * scale) / 2;
  const double up = (h.winAscent - h.cellUnits / 2) - (f.winAscent - f.cellUnits / 2) * scale;
  for (std::size_t i = 0; i < run.count; ++i) {
    const double dx = left + run.pen[i] * scale;
    geometry.pieces[i] = {run.outlines[i],
                          {m.xx * scale, m.xy * scale, m.yx * scale, m.yy * scale,
                           m.xx * dx + m.xy * up + m.tx, m.yx * dx + m.yy * up + m.ty}};
  }
  geometry.pieceCount = run.count;
  return geometry;
}

const Result<std::shared_ptr<LabelFace>>& DefaultLabelFace() {
  static const Result<std::shared_ptr<LabelFace>> face =
      [&]() -> Result<std::shared_ptr<LabelFace>> {
    const Result<FontLocation> location = LocateFace("");
    if (!location) return location.error();
    return LabelFace::Load(*location);
  }();
  return face;
}

}  // namespace lumo
