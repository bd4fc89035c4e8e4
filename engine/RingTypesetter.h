// Sets text along the concentric rings of a label, every character turned to
// follow its ring clockwise.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "CanvasGeometry.h"
#include "LabelLayout.h"
#include "LabelSettings.h"

namespace lumo {

// Walks the rings from the outer edge inward and places `text` (code page
// 932) on the rings of the window firstRing .. firstRing + usedRings - 1,
// starting every ring at `startDegrees` and ending it `sweepDegrees` clockwise
// further. CR starts the current ring again, LF moves one ring inward, a
// character that does not fit opens the next ring. Every glyph placed is
// appended to `out` as part of `half`, and its cell's area (height times
// width, in pixels) taken from `areaBudget`: the walk stops before a glyph
// the budget cannot pay for. Returns how many bytes of `text` the walk used
// (glyphs and line breaks); the rest did not fit.
std::size_t LayOutArcText(const CanvasGeometry& canvas, const LabelSettings& settings,
                          int startDegrees, int sweepDegrees, std::string_view text, LabelHalf half,
                          double& areaBudget, std::vector<PlacedGlyph>& out);

}  // namespace lumo
