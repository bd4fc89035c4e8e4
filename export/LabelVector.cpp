// Vector pages through cairo, drawn from the raster's own glyph placement
// (LabelFace::Locate) so that the page and the bitmap agree pixel for pixel.
#include "LabelVector.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <sys/uio.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "CodePage932.h"
#include "FreeTypeFace.h"
#include "Io.h"

namespace lumo {
namespace {

// The page's bytes as cairo produces them; written with one call at the end.
cairo_status_t Collect(void* closure, const unsigned char* data, unsigned int length) {
  try {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  } catch (const std::bad_alloc&) {
    return CAIRO_STATUS_NO_MEMORY;
  }
  return CAIRO_STATUS_SUCCESS;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void SetFontOptions(cairo_t* cr) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

// One glyph over its white cell, as LabelFace::Locate places it.
void DrawGlyph(cairo_t* cr, const GlyphGeometry& g, double unitsPerEm) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_move_to(cr, g.cell[0][0], g.cell[0][1]);
  for (int i = 1; i < 4; ++i) cairo_line_to(cr, g.cell[i][0], g.cell[i][1]);
  cairo_close_path(cr);
  cairo_fill(cr);

  // The transform takes font units (y up) to pixels; cairo's glyph space is
  // the em square with y down, placed at the glyph's origin.
  const Affine& t = g.transform;
  cairo_matrix_t fontMatrix;
  cairo_matrix_init(&fontMatrix, t.xx * unitsPerEm, t.yx * unitsPerEm, -t.xy * unitsPerEm,
                    -t.yy * unitsPerEm, 0, 0);
  cairo_set_font_matrix(cr, &fontMatrix);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_glyph_t shown{g.glyphIndex, t.tx, t.ty};
  if (g.codePoint == cp932::kNoCodePoint || g.codePoint < 0x20) {
    cairo_show_glyphs(cr, &shown, 1);
    return;
  }
  std::string text;
  AppendUtf8(text, g.codePoint);
  cairo_text_cluster_t cluster{static_cast<int>(text.size()), 1};
  cairo_show_text_glyphs(cr, text.data(), static_cast<int>(text.size()), &shown, 1, &cluster, 1,
                         cairo_text_cluster_flags_t{});
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfaceHandle = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// A label repeats few characters at few sizes in many directions. Each
// character and size is recorded once, upright, and every placement refers to
// it turned and moved: the page holds each outline once instead of once per
// direction, which keeps it small and quick to write.
class UprightGlyphs {
 public:
  UprightGlyphs(cairo_font_face_t* face, double unitsPerEm)
      : face_(face), unitsPerEm_(unitsPerEm) {}
  // To be destroyed after the page. cairo 1.16's SVG surface takes a
  // reference to every recorded source but the last and never gives it back;
  // once the page is gone nothing can use one, so such a leftover is released.
  ~UprightGlyphs() {
    for (auto& [key, recorded] : recordings_) {
      while (cairo_surface_get_reference_count(recorded.get()) > 1) {
        cairo_surface_destroy(recorded.get());
      }
    }
  }
  UprightGlyphs(const UprightGlyphs&) = delete;
  UprightGlyphs& operator=(const UprightGlyphs&) = delete;

  // The upright glyph at the origin, recorded `margin` pixels in from the
  // recording's top-left corner (a recording's extents start at 0, 0).
  cairo_surface_t* Get(const PlacedGlyph& upright, const GlyphGeometry& g, double margin) {
    const Key key{upright.font.height, upright.font.width, upright.code, upright.length};
    SurfaceHandle& recorded = recordings_[key];
    if (recorded) return recorded.get();
    const double advance = std::abs(g.cell[1][0] - g.cell[0][0]);
    const cairo_rectangle_t extents{0, 0, advance + 2 * margin, upright.font.height + 2 * margin};
    recorded.reset(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents));
    cairo_t* cr = cairo_create(recorded.get());
    cairo_translate(cr, margin, margin);
    SetFontOptions(cr);
    cairo_set_font_face(cr, face_);
    DrawGlyph(cr, g, unitsPerEm_);
    cairo_destroy(cr);
    return recorded.get();
  }

 private:
  using Key = std::tuple<std::int32_t, std::int32_t, std::array<char, 2>, std::uint8_t>;
  cairo_font_face_t* face_;
  double unitsPerEm_;
  std::map<Key, SurfaceHandle> recordings_;
};

// Where a glyph lands on the canvas, and where it would land upright at the
// origin, as the raster places both.
struct Located {
  const PlacedGlyph* glyph;
  PlacedGlyph upright;
  GlyphGeometry placed;
  GlyphGeometry local;
};

// Every glyph with a cell at least a pixel high (as in the raster, a smaller
// one has nothing to show), located before cairo borrows the face.
std::vector<Located> LocateGlyphs(const LabelLayout& layout, const LabelFace& face) {
  std::vector<Located> located;
  located.reserve(layout.glyphs.size());
  for (const PlacedGlyph& glyph : layout.glyphs) {
    if (glyph.font.height <= 0) continue;
    PlacedGlyph upright = glyph;
    upright.x = 0;
    upright.y = 0;
    upright.font.escapement = 0;
    located.push_back({&glyph, upright, face.Locate(glyph), face.Locate(upright)});
  }
  return located;
}

// The glyphs in order, each over its white cell. `pixel` is the length of a
// canvas pixel in the surface's unit.
void DrawLayout(cairo_t* cr, const std::vector<Located>& located, double pixel,
                UprightGlyphs& uprights) {
  cairo_scale(cr, pixel, pixel);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  for (const Located& each : located) {
    // The turn and the reference point, read from where the raster puts the
    // cell: its left edge runs from the reference point down the turned frame.
    const double height = each.glyph->font.height;
    const GlyphGeometry& placed = each.placed;
    const double sinT = (placed.cell[3][0] - placed.cell[0][0]) / height;
    const double cosT = (placed.cell[3][1] - placed.cell[0][1]) / height;
    cairo_matrix_t turn;
    cairo_matrix_init(&turn, cosT, -sinT, sinT, cosT, placed.cell[0][0], placed.cell[0][1]);
    // Glyphs reach at most about an em beyond their cell.
    const double margin = height;
    cairo_save(cr);
    cairo_transform(cr, &turn);
    cairo_set_source_surface(cr, uprights.Get(each.upright, each.local, margin), -margin, -margin);
    cairo_paint(cr);
    cairo_restore(cr);
  }
}

Error DrawingFailed(cairo_status_t status) {
  return WriteFailure(status == CAIRO_STATUS_NO_MEMORY ? ENOMEM : EIO);
}

// Draws the page on `surface`, finishes it and writes what it produced.
Result<void> Finish(cairo_surface_t* surface, const std::string& bytes, int fd,
                    const LabelLayout& layout, double pixel, const LabelFace& face) {
  const std::vector<Located> located = LocateGlyphs(layout, face);
  cairo_status_t status = CAIRO_STATUS_SUCCESS;
  {
    // cairo draws with the face, and writes its subsets when the page is finished.
    const LabelFace::Lease lease(face);
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(
        FreeTypeFaceOf(lease), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    {
      // The recorded glyphs outlive the page: cairo's SVG surface copies a
      // source destroyed before the page is finished, and never frees that copy.
      UprightGlyphs uprights(cairoFace, face.unitsPerEm());
      cairo_t* cr = cairo_create(surface);
      DrawLayout(cr, located, pixel, uprights);
      status = cairo_status(cr);
      cairo_destroy(cr);
      cairo_surface_finish(surface);
    }
    cairo_font_face_destroy(cairoFace);
  }
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) return DrawingFailed(status);
  return WriteAll(fd, std::span<const char>(bytes));
}

}  // namespace

Result<void> WriteLabelPdf(int fd, const LabelLayout& layout, VectorPage page,
                           const LabelFace& face) {
  std::string bytes;
  const double points = page.side * 72.0 / page.resolutionDpi;
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(&Collect, &bytes, points, points);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "lumo");
  // Reproducible files where the build or test asks for them: the creation
  // date from SOURCE_DATE_EPOCH instead of the clock.
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr) {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    std::tm utc{};
    const auto time = static_cast<std::time_t>(seconds);
    char date[32];
    if (*epoch != '\0' && *end == '\0' && gmtime_r(&time, &utc) != nullptr &&
        std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%SZ", &utc) > 0) {
      cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, date);
    }
  }
  return Finish(surface, bytes, fd, layout, 72.0 / page.resolutionDpi, face);
}

Result<void> WriteLabelSvg(int fd, const LabelLayout& layout, VectorPage page,
                           const LabelFace& face) {
  std::string bytes;
  // With millimetres as the document unit, cairo writes the size as given
  // followed by "mm", and the drawing's user unit is the millimetre.
  const double millimetres = page.side * 25.4 / page.resolutionDpi;
  cairo_surface_t* surface =
      cairo_svg_surface_create_for_stream(&Collect, &bytes, millimetres, millimetres);
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_MM);
  return Finish(surface, bytes, fd, layout, 25.4 / page.resolutionDpi, face);
}

}  // namespace lumo
