// The label's face: the one owner of the loaded FreeType face, its metrics,
// the outlines of the characters drawn so far, and where a placed glyph and
// its cell land. Shared by every label and safe to use from several threads.
// No FreeType type appears here.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>

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

// One outline of what a glyph's cell shows, and where it lands.
struct GlyphPiece {
  const GlyphOutline* outline = nullptr;
  Affine transform{};  // from the outline's face units (y up) to canvas pixels
};

// Where a placed glyph lands on the canvas, as the raster draws it.
struct GlyphGeometry {
  // The turned cell (cellAdvance wide by the cell height) that is painted
  // white, corners in order from the reference point, canvas pixels.
  double cell[4][2] = {};
  // From the label face's units (y up from the baseline) to canvas pixels:
  // the cell's own frame.
  Affine transform{};
  double cellAdvance = 0;  // the label face's units
  // What the cell shows, drawn in order. Mostly the label face's glyph, as
  // wide as its cell and drawn with `transform` (ownGlyph). A proportional
  // face's glyph, or a character beyond code page 932 (a base and its marks,
  // perhaps from another face), is fitted into its step's cell and centred;
  // one that no installed face has shows a box (missing).
  std::array<GlyphPiece, 4> pieces{};
  std::size_t pieceCount = 0;
  bool ownGlyph = true;
  bool missing = false;
  char32_t codePoint = 0;  // of the bytes: Unicode, or cp932::kNoCodePoint
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
  // plus descent is that height and its average width font.width. A glyph of
  // a character beyond code page 932 finds it in `extras` (a layout's).
  [[nodiscard]] GlyphGeometry Locate(const PlacedGlyph& glyph,
                                     std::span<const std::u32string> extras = {}) const;

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

  // How a character beyond code page 932 is drawn; the raster's own.
  struct Extra;

  // The face's family name, as the font file gives it.
  [[nodiscard]] std::string family() const;
  // Whether the face has a glyph for `codePoint`.
  [[nodiscard]] bool Has(char32_t codePoint) const;

  // Draws the glyphs in order: each cell painted white, then its glyph in
  // black with grey-level edges. A long list is drawn by two threads, band of
  // rows by band, so every pixel is still written in the list's order.
  void Draw(Surface& surface, std::span<const PlacedGlyph> glyphs,
            std::span<const std::u32string> extras = {}) const;
  // The same, telling `drawn` of the rows as they become final, a run of
  // rows [top, bottom) at a time, from the bottom row up and each row once,
  // so that a file can take them while the rest are drawn. `drawn` is called
  // on the drawing threads, one call at a time.
  using RowsDrawn = std::function<void(int top, int bottom)>;
  void DrawBottomUp(Surface& surface, std::span<const PlacedGlyph> glyphs,
                    std::span<const std::u32string> extras, const RowsDrawn& drawn) const;

  // How many of the layout's characters no installed face has: each is
  // drawn as a box.
  [[nodiscard]] std::size_t MissingCharacters(const LabelLayout& layout) const;

 private:
  struct Handles;
  LabelFace();
  // How a character beyond code page 932 is drawn, looked up on first use.
  [[nodiscard]] const Extra& ExtraOf(const std::u32string& cluster) const;
  [[nodiscard]] const GlyphOutline& OutlineLocked(char32_t codePoint) const;
  // A box as wide as a one-byte (wide false) or two-byte step's cell.
  [[nodiscard]] const GlyphOutline& Box(bool wide) const;
  // Locate for a glyph whose outlines are at hand; takes no lock.
  [[nodiscard]] GlyphGeometry Locate(const PlacedGlyph& glyph, const GlyphOutline& outline,
                                     char32_t codePoint, const Extra* extra) const;

  std::unique_ptr<Handles> handles_;
  mutable std::mutex mutex_;
};

// The default face, the one fontconfig finds, loaded once per process; NoFace
// or FaceUnusable when there is none to be had.
[[nodiscard]] const Result<std::shared_ptr<LabelFace>>& DefaultLabelFace();

}  // namespace lumo
