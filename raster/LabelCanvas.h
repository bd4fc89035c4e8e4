// The off-screen image of a whole label with its geometry, and drawing a
// label layout onto it.
#pragma once

#include "CanvasGeometry.h"
#include "LabelFace.h"
#include "LabelLayout.h"
#include "LabelSettings.h"
#include "Result.h"
#include "Surface.h"

namespace lumo {

struct LabelCanvas {
  CanvasGeometry geometry;
  // Made at the geometry's size when a label is first drawn on it, so that
  // what needs only the geometry (a layout, a vector page) costs no pixels.
  Surface image;
};

// Rebuilds the canvas from `settings`: the new geometry, and no image until
// the next drawing. Settings that give no canvas (SettingsNoCanvas) leave the
// canvas as it was.
[[nodiscard]] Result<void> CreateCanvas(LabelCanvas& canvas, const LabelSettings& settings);

// The canvas's image white all over: made at the geometry's size, or kept
// from the last label when its size is the same.
void ClearCanvas(LabelCanvas& canvas);

// The label as `layout` has it: the canvas cleared, then every glyph drawn
// with `face`; without a face the label stays white.
void DrawLabel(LabelCanvas& canvas, const LabelLayout& layout, const LabelFace* face);

}  // namespace lumo
