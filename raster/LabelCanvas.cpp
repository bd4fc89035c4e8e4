// The label canvas and the drawing of a layout.
#include "LabelCanvas.h"

#include "InTwoBands.h"

namespace lumo {
namespace {

// Below this a second thread costs more than it saves.
constexpr std::size_t kPixelsWorthASecondThread = std::size_t{1} << 20;

}  // namespace

Result<void> CreateCanvas(LabelCanvas& canvas, const LabelSettings& settings) {
  const std::optional<CanvasGeometry> geometry = ComputeCanvasGeometry(settings);
  if (!geometry) {
    return NoCanvasFor(settings);
  }
  canvas = LabelCanvas{*geometry, {}};
  return {};
}

void ClearCanvas(LabelCanvas& canvas) {
  const CanvasRect& rect = canvas.geometry.canvasRect;
  // Filled white once, half on each of two threads: for a large canvas the
  // first touch of its memory is much of a label's cost.
  if (canvas.image.width() != rect.width || canvas.image.height() != rect.height) {
    canvas.image = Surface::Unfilled(rect.width, rect.height);
  }
  Surface& image = canvas.image;
  InTwoBands(image.height(), image.pixels().size() >= kPixelsWorthASecondThread,
             [&image](int top, int bottom) { image.FillWhite(top, bottom); });
}

void DrawLabel(LabelCanvas& canvas, const LabelLayout& layout, const LabelFace* face) {
  ClearCanvas(canvas);
  if (face != nullptr) face->Draw(canvas.image, layout.glyphs, layout.extras);
}

}  // namespace lumo
