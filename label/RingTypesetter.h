// Sets text along the concentric rings of a label canvas, every character
// turned to follow its ring clockwise.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "LabelCanvas.h"
#include "LabelSettings.h"
#include "Surface.h"

namespace lumo {

// One glyph as it is drawn: the ring it lies on (0 = outermost), its reference
// point (the top-left corner of its turned cell), its font and its bytes.
struct GlyphPlacement {
  std::int32_t ring = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  FontRequest font;
  std::string_view bytes;
};

using GlyphObserver = std::function<void(const GlyphPlacement&)>;

// Walks the rings from the outer edge inward and draws `text` (code page 932)
// on the rings of the window firstRing .. firstRing + usedRings - 1, starting
// every ring at `startDegrees` and ending it `sweepDegrees` clockwise further.
// CR starts the current ring again, LF moves one ring inward, a character that
// does not fit opens the next ring. `observer`, when set, sees every glyph
// before it is drawn. With `draw` false nothing is rasterised (layout only).
void DrawArcText(LabelCanvas& canvas, const LabelSettings& settings, int startDegrees,
                 int sweepDegrees, std::string_view text, const GlyphObserver& observer = {},
                 bool draw = true);

}  // namespace lumo
