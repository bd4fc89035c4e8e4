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

// Each draws the glyphs from `face` and fails as CannotWrite (ENOMEM when the
// drawing library gives up, EIO when it fails otherwise). In the PDF the
// glyphs are text mapped to Unicode, so the label's text can be searched and
// copied. The SVG's width and height are in millimetres.
[[nodiscard]] Result<void> WriteLabelPdf(int fd, const LabelLayout& layout, VectorPage page,
                                         const LabelFace& face);
[[nodiscard]] Result<void> WriteLabelSvg(int fd, const LabelLayout& layout, VectorPage page,
                                         const LabelFace& face);

}  // namespace lumo
