// A whole label from arbitrary settings and text on a small canvas: the walk
// ends, what it reports adds up, drawing in two bands equals drawing glyph by
// glyph, and the bitmap header describes the pixels. Text that starts with a
// UTF-8 byte-order mark is taken as UTF-8, characters beyond code page 932
// and all.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "LabelBitmap.h"
#include "LabelCanvas.h"
#include "LabelComposer.h"
#include "LabelText.h"
#include "LittleEndian.h"
#include "SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto settings = lumo::DecodeSettings(std::span(data, size));
  if (!settings) return 0;
  const std::string_view given(reinterpret_cast<const char*>(data) + 32, size - 32);
  const lumo::LabelText converted =
      given.starts_with("\xEF\xBB\xBF") ? lumo::LabelTextFromUtf8(given.substr(3)) : lumo::LabelText();
  const std::string_view text = given.starts_with("\xEF\xBB\xBF") ? converted.bytes : given;
  const auto geometry = lumo::ComputeCanvasGeometry(*settings);
  if (!geometry) return 0;
  // Any settings lay out; only small canvases are drawn, to keep runs fast.
  const lumo::LabelLayout layout =
      lumo::ComposeLayout(*geometry, *settings, text, converted.extras);
  if (layout.keptBytes > text.size() || layout.lowerStart > layout.keptBytes ||
      layout.leftOffBytes > text.size() || layout.leftOffCharacters > layout.leftOffBytes ||
      layout.glyphs.size() > text.size()) {
    __builtin_trap();
  }
  for (const lumo::PlacedGlyph& glyph : layout.glyphs) {
    if (glyph.length < 1 || glyph.length > 2 || glyph.font.height < 1 ||
        glyph.extra >= static_cast<std::int64_t>(layout.extras.size())) {
      __builtin_trap();
    }
  }
  // Two bands start at 256 glyphs; past a thousand a run only gets slower.
  if (geometry->canvasRect.width > 96 || layout.glyphs.size() > 1024) return 0;

  const auto& face = lumo::DefaultLabelFace();
  if (!face) return 0;
  lumo::LabelCanvas together{*geometry, {}};
  lumo::LabelCanvas apart{*geometry, {}};
  lumo::DrawLabel(together, layout, face->get());
  lumo::DrawLabel(apart, {}, face->get());
  for (const lumo::PlacedGlyph& glyph : layout.glyphs) {
    (*face)->Draw(apart.image, {&glyph, 1}, layout.extras);
  }
  if ((*face)->MissingCharacters(layout) > layout.extras.size()) __builtin_trap();
  if (!std::equal(together.image.pixels().begin(), together.image.pixels().end(),
                  apart.image.pixels().begin(), apart.image.pixels().end())) {
    __builtin_trap();
  }
  const lumo::BitmapHeader header =
      lumo::EncodeBitmapHeader(together.image, settings->resolutionDpi);
  const auto field = [&](std::size_t at) { return lumo::GetLittleEndian<4>(header.data() + at); };
  const std::uint64_t pixels = together.image.pixels().size();
  if (field(18) != static_cast<std::uint64_t>(together.image.width()) ||
      field(22) != static_cast<std::uint64_t>(together.image.height()) || field(34) != pixels * 4 ||
      field(2) != 54 + pixels * 4) {
    __builtin_trap();
  }
  return 0;
}
