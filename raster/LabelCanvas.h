// The off-screen image of a whole label with its geometry, and drawing a
// label layout onto it.
#pragma once

#include <string_view>

#include "CanvasGeometry.h"
#include "LabelLayout.h"
#include "LabelSettings.h"
#include "Surface.h"

namespace lumo {

struct LabelCanvas {
  LabelCanvas() = default;
  // A white canvas of that geometry.
  explicit LabelCanvas(const CanvasGeometry& canvasGeometry)
      : geometry(canvasGeometry),
        image(canvasGeometry.canvasRect.width(), canvasGeometry.canvasRect.height()) {}

  CanvasGeometry geometry;
  Surface image;
};

// Rebuilds the canvas from `settings`: a white image and its geometry.
// Beyond the canvas limit nothing is touched and the result is false.
[[nodiscard]] bool CreateCanvas(LabelCanvas& canvas, const LabelSettings& settings);

// The label as `layout` has it: the surface filled white, then every glyph.
void DrawLabel(Surface& surface, const LabelLayout& layout);

// Lays out `labelText` for the canvas and draws it there.
LabelLayout RenderLabel(LabelCanvas& canvas, const LabelSettings& settings,
                        std::string_view labelText);

}  // namespace lumo
