// A label layout as a vector page, PDF or SVG, exactly the canvas's size:
// every glyph and its white cell drawn from the same face and placement as
// the raster, in the same order, so overlaps come out as in the bitmap.
#pragma once

#include <optional>

#include "LabelLayout.h"
#include "Result.h"

namespace lumo {

// The page: a square of `side` canvas pixels at `resolutionDpi`.
struct VectorPage {
  int side = 0;
  double resolutionDpi = 0;
};

// Nothing when the face can be used for vector pages; otherwise why not.
[[nodiscard]] std::optional<Error> VectorFaceProblem();

// Each returns 0 or an errno (ENOMEM when the drawing library gives up, EIO
// when it fails otherwise). In the PDF the glyphs are text mapped to Unicode,
// so the label's text can be searched and copied. The SVG's width and height
// are in millimetres.
[[nodiscard]] int WriteLabelPdf(int fd, const LabelLayout& layout, VectorPage page);
[[nodiscard]] int WriteLabelSvg(int fd, const LabelLayout& layout, VectorPage page);

}  // namespace lumo
