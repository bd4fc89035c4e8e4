// A character's outline as the face gives it, unscaled, kept once per
// character for every size and turn it is drawn at: what the raster fills
// and the vector pages trace. No FreeType type appears here.
#pragma once

#include <cstdint>
#include <vector>

namespace lumo {

// One piece of an outline in font units: a line (p0, p1), a quadratic curve
// (p0, p1 control, p2) or a cubic curve (p0, p1, p2 controls, p3).
struct PathSegment {
  enum class Kind : std::uint8_t { Line, Quad, Cubic };
  Kind kind = Kind::Line;
  float x[4] = {};
  float y[4] = {};
};

struct GlyphOutline {
  std::vector<PathSegment> path;                // font units, y up
  double advance = 0;                           // font units
  long xMin = 0, yMin = 0, xMax = 0, yMax = 0;  // the control points' box, font units
  unsigned index = 0;  // the glyph's index in the face; 0 for a character it lacks
};

}  // namespace lumo
