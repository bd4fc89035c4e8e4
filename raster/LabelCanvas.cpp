// The label canvas and the drawing of a layout.
#include "LabelCanvas.h"

#include "FontFace.h"
#include "LabelComposer.h"

namespace lumo {

bool CreateCanvas(LabelCanvas& canvas, const LabelSettings& settings) {
  const std::optional<CanvasGeometry> geometry = ComputeCanvasGeometry(settings);
  if (!geometry) return false;
  canvas = LabelCanvas(*geometry);
  return true;
}

void DrawLabel(Surface& surface, const LabelLayout& layout) {
  surface.FillWhite();
  DrawGlyphs(surface, layout.glyphs);
}

LabelLayout RenderLabel(LabelCanvas& canvas, const LabelSettings& settings,
                        std::string_view labelText) {
  LabelLayout layout = ComposeLabel(canvas.geometry, settings, labelText);
  DrawLabel(canvas.image, layout);
  return layout;
}

}  // namespace lumo
