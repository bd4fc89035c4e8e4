// The label's face: the one owner of the loaded FreeType face, its metrics,
// the outlines of the characters drawn so far, and where a placed glyph and
// its cell land. Shared by every label and safe to use from several threads.
// No FreeType type appears here.
#pragma once

#include <memory>
#include <mutex>
#include <span>

#include "FontLocation.h"
#include "GlyphOutline.h"
#include "LabelLayout.h"
#include "Result.h"
#include "Surface.h"

namespace lumo {

// screen = (xx * x + xy * y + tx, yx * x + yy * y + ty)
struct Affine {
  double xx, xy, yx, yy, tx, ty;
};

// Where a placed glyph lands on the canvas, as the raster draws it.
struct GlyphGeometry {
  // The turned cell (advance width by cell height) that is painted white,
  // corners in order from the reference point, canvas pixels.
  double cell[4][2] = {};
  // From the face's units (y up from the baseline) to canvas pixels.
  Affine transform{};
  unsigned glyphIndex = 0;  // in the face; 0 for a character it lacks
  char32_t codePoint = 0;   // Unicode, or cp932::kNoCodePoint
};

class LabelFace {
 public:
  // The face at `location`, or FaceUnusable naming its file.
  [[nodiscard]] static Result<std::shared_ptr<LabelFace>> Load(const FontLocation& location);
  ~LabelFace();
  LabelFace(const LabelFace&) = delete;
  LabelFace& operator=(const LabelFace&) = delete;

  // Where the glyph and its cell land: the cell is the character's advance
  // wide and font.height high, the face scaled so that its Windows ascent
  // plus descent is that height and its average width font.width.
  [[nodiscard]] GlyphGeometry Locate(const PlacedGlyph& glyph) const;

  // The outline of a character (a code point, or cp932::kNoCodePoint for the
  // face's missing glyph), loaded on first use; valid as long as the face.
  [[nodiscard]] const GlyphOutline& Outline(char32_t codePoint) const;

  // The cell every glyph is painted on, in the face's units (y up from the
  // baseline): from `top` down `height`, as wide as the glyph's advance.
  struct CellUnits {
    double top = 0;
    double height = 0;
  };
  [[nodiscard]] CellUnits cellUnits() const noexcept;

  // Draws the glyphs in order: each cell painted white, then its glyph in
  // black with grey-level edges. A long list is drawn by two threads, each on
  // its own half of the rows, so every pixel is still written in the list's order.
  void Draw(Surface& surface, std::span<const PlacedGlyph> glyphs) const;

 private:
  struct Handles;
  LabelFace();
  // Locate for a glyph whose outline is at hand; takes no lock.
  [[nodiscard]] GlyphGeometry Locate(const PlacedGlyph& glyph, const GlyphOutline& outline,
                                     char32_t codePoint) const;

  std::unique_ptr<Handles> handles_;
  mutable std::mutex mutex_;
};

// The face of every label, $LUMO_FONT or the one fontconfig finds, loaded once
// per process; NoFace or FaceUnusable when there is none to be had.
[[nodiscard]] const Result<std::shared_ptr<LabelFace>>& DefaultLabelFace();

}  // namespace lumo
