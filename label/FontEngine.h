// Glyph rasterising for Surface::TextOut, on FreeType and fontconfig. Private
// to the label library: no FreeType type appears here.
#pragma once

#include <string>
#include <string_view>

#include "Surface.h"

namespace lumo::detail {

// Draws `bytes` (code page 932) as Surface::TextOut describes.
void RenderText(Surface& surface, const FontRequest& font, int x, int y, std::string_view bytes);

// The font file in use ($LUMO_FONT, or what fontconfig found), empty if none.
[[nodiscard]] std::string FontFilePath();

}  // namespace lumo::detail
