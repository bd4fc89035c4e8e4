// Grey-level filling of glyph outlines straight into the surface: outlines are
// flattened to lines and their exact covered area is accumulated per pixel.
// Private to the raster back end.
#pragma once

#include <cstdint>
#include <vector>

#include "GlyphOutline.h"
#include "LabelFace.h"
#include "Surface.h"

namespace lumo {

class GlyphRasteriser {
 public:
  // Darkens the pixels the transformed outline covers (non-zero fill; black
  // with grey-level edges), on rows [top, bottom) of the surface only.
  void Fill(Surface& surface, const std::vector<PathSegment>& path, const Affine& transform,
            int top, int bottom);

 private:
  struct Line {
    double x0, y0, x1, y1;
  };

  void Flatten(const std::vector<PathSegment>& path, const Affine& transform);
  void AddLine(double x0, double y0, double x1, double y1);
  void ClipAndKeep(double x0, double y0, double x1, double y1, double width);
  void Accumulate(const Line& line, int firstRow, int rows, std::size_t stride);

  std::vector<Line> flat_;     // flattened outline, screen coordinates
  std::vector<Line> clipped_;  // the same, x relative to the left edge and clamped
  // Signed areas of a strip of rows; all zero between uses, so that only the
  // cells a glyph touched are ever visited, whatever its bounding box.
  std::vector<float> cells_;
  // Per row of the strip, the first and one past the last cell touched.
  std::vector<std::size_t> rowFirst_, rowEnd_;
  double minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
  double width_ = 0;  // of the visible box, in pixels
};

}  // namespace lumo
