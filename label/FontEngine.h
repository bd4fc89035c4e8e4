// Glyph rasterising for Surface::TextOut, on FreeType and fontconfig. Private
// to the label library: no FreeType type appears here.
#pragma once

#include <span>
#include <string_view>

#include "Surface.h"

namespace lumo::detail {

// Draws the runs in order, as Surface::DrawRuns describes. A long list is
// drawn by two threads, each on its own half of the rows, so every pixel is
// still written by one thread in the list's order.
void RenderRuns(Surface& surface, std::span<const GlyphRun> runs);

}  // namespace lumo::detail
