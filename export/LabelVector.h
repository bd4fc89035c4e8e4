// A label layout as a vector page, PDF or SVG, exactly the canvas's size:
// every glyph and its white cell drawn from the same face and placement as
// the raster, in the same order, so overlaps come out as in the bitmap.
#pragma once

#include "LabelFace.h"
#include "LabelLayout.h"
#include "Result.h"

namespace lumo {

// The page: a square of `side` canvas pixels at `resolutionDpi`.
struct VectorPage {
  int side = 0;
  double resolutionDpi = 0;
};

// The sides a PDF reader is bound to take, in points (1/72 inch): about
// 1.06 mm to 5.08 m. Both vector formats keep to them.
inline constexpr double kMinPagePoints = 3;
inline constexpr double kMaxPagePoints = 14400;

// Whether the label can be a vector page: NoPixels without pixels,
// PageOutOfRange when its side at its resolution (a resolution that is not
// above 0 included) lies outside those sides.
[[nodiscard]] Result<void> CheckVectorPage(VectorPage page);

// Each refuses a page as CheckVectorPage does, and otherwise fails only as
// CannotWrite (ENOMEM when memory runs out). The glyphs are drawn as outlines;
// the PDF also holds the label's text, invisible, one straight run per line
// of the text, so that it can be searched and copied. The SVG's width and
// height are in millimetres.
[[nodiscard]] Result<void> WriteLabelPdf(int fd, const LabelLayout& layout, VectorPage page,
                                         const LabelFace& face);
[[nodiscard]] Result<void> WriteLabelSvg(int fd, const LabelLayout& layout, VectorPage page,
                                         const LabelFace& face);

}  // namespace lumo
