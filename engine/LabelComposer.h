// Lays out a whole label: the text cut to the capacity, split into the upper
// and the lower half, both halves set on their rings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "CanvasGeometry.h"
#include "LabelLayout.h"
#include "LabelSettings.h"
#include "LabelText.h"

namespace lumo {

// The length `text` keeps under `capacity`: the capacity when it is longer,
// one byte less when the byte at capacity - 1 is a lead byte. A capacity
// below 1 keeps it whole.
[[nodiscard]] std::size_t TrimmedLength(std::string_view text, std::int32_t capacity) noexcept;

struct SplitText {
  std::string_view upper;
  std::string_view lower;
};

// Splits after `usedRings` CR LF / LF CR pairs: the upper part ends before the
// second byte of the last counted pair, the lower part starts after it.
[[nodiscard]] SplitText SplitAtLineBreaks(std::string_view text, std::int32_t usedRings) noexcept;

// The most glyph cells one label draws, in canvas areas. What the settings
// dialog accepts stays below 1.5 (a full label's cells tile its rings once,
// and no text is longer than its capacity); a settings file could ask for
// thousands of glyphs each as large as the canvas, hours of drawing.
inline constexpr double kDrawnAreaBudget = 4.0;

// The text trimmed to the canvas's capacity and split after usedRings line
// breaks; the upper half set from 180 degrees, the lower half from 360, each
// over 178 degrees. Glyphs are placed while their cells' area stays within
// kDrawnAreaBudget canvases; what is not placed did not fit. A placed
// placeholder of `extras` (a LabelText's) names its character.
[[nodiscard]] LabelLayout ComposeLayout(const CanvasGeometry& canvas, const LabelSettings& settings,
                                        std::string_view labelText,
                                        std::span<const ExtraCharacter> extras = {});

}  // namespace lumo
