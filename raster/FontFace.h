// The label's face on FreeType: the glyphs of a layout drawn onto a surface,
// and where each glyph and its cell land. No FreeType type appears here.
#pragma once

#include <optional>
#include <span>

#include "GlyphRasteriser.h"
#include "LabelLayout.h"
#include "Result.h"
#include "Surface.h"

namespace lumo {

// Nothing when the label's face loads; otherwise why it does not (no face
// found, or the file cannot be loaded as one), naming the face.
[[nodiscard]] std::optional<Error> LabelFaceProblem();

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

// Nothing when the face does not load.
[[nodiscard]] std::optional<GlyphGeometry> PlaceGlyph(const PlacedGlyph& glyph);

// Draws the glyphs in order: each cell painted white, then its glyph in black
// with grey-level edges. A long list is drawn by two threads, each on its own
// half of the rows, so every pixel is still written in the list's order.
// Without a face nothing is drawn.
void DrawGlyphs(Surface& surface, std::span<const PlacedGlyph> glyphs);

}  // namespace lumo
