// A label layout as a vector page, PDF or SVG, exactly the canvas's size, or
// as labels on a sheet: every glyph and its white cell drawn from the same
// face and placement as the raster, in the same order, so overlaps come out
// as in the bitmap.
#pragma once

#include <vector>

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
// 1.06 mm to 5.08 m. Both vector formats keep to them, for a label's page and
// for a sheet.
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

// Where a label's centre goes on a sheet, in mm from the sheet's top-left corner.
struct SheetPlacement {
  double centreXMm = 0;
  double centreYMm = 0;
};
struct SheetPage {
  double widthMm = 0;
  double heightMm = 0;
  std::vector<SheetPlacement> labels;
};

// One PDF page of the sheet's size with the label at its true size at each
// placement, its glyphs defined once for all of them and its text once per
// placement. Besides the label's own refusals, PageOutOfRange when the sheet's
// sides lie outside the page sides above or a label would lie wholly off it.
[[nodiscard]] Result<void> WriteSheetPdf(int fd, const LabelLayout& layout, VectorPage label,
                                         const LabelFace& face, const SheetPage& sheet);

}  // namespace lumo
