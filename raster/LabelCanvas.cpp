// The label canvas and the drawing of a layout.
#include "LabelCanvas.h"

namespace lumo {

Result<void> CreateCanvas(LabelCanvas& canvas, const LabelSettings& settings) {
  const std::optional<CanvasGeometry> geometry = ComputeCanvasGeometry(settings);
  if (!geometry) {
    return NoCanvasFor(settings);
  }
  canvas = LabelCanvas{*geometry, {}};
  return {};
}

void DrawLabel(LabelCanvas& canvas, const LabelLayout& layout, const LabelFace* face) {
  const CanvasRect& rect = canvas.geometry.canvasRect;
  if (canvas.image.width() == rect.width && canvas.image.height() == rect.height) {
    canvas.image.FillWhite();
  } else {
    canvas.image = Surface(rect.width, rect.height);
  }
  if (face != nullptr) face->Draw(canvas.image, layout.glyphs);
}

}  // namespace lumo
