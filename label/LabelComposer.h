// Turns the label text into a finished label: white canvas, text trimmed to
// the capacity, split into the upper and the lower half, both halves set.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "LabelCanvas.h"
#include "LabelSettings.h"
#include "RingTypesetter.h"

namespace lumo {

enum class LabelHalf { Upper, Lower };

using ComposeObserver = std::function<void(LabelHalf, const GlyphPlacement&)>;

// Cuts `text` to `capacity` bytes when it is longer, one byte less when the
// byte at capacity - 1 is a lead byte. A capacity below 1 leaves it alone.
void TrimToCapacity(std::string& text, std::int32_t capacity);

struct SplitText {
  std::string upper;
  std::string lower;
};

// Splits after `usedRings` CR LF / LF CR pairs: the upper part ends before the
// second byte of the last counted pair, the lower part starts after it.
[[nodiscard]] SplitText SplitAtLineBreaks(std::string_view text, std::int32_t usedRings);

// Fills the canvas white, trims `labelText` in place, sets `lowerText` to the
// part after the split and sets the upper half (from 180 degrees) and the
// lower half (from 360 degrees), each over 178 degrees. With `draw` false the
// texts and the observer see the same, but the pixels are not touched.
void ComposeLabel(LabelCanvas& canvas, const LabelSettings& settings, std::string& labelText,
                  std::string& lowerText, const ComposeObserver& observer = {},
                  bool draw = true);

}  // namespace lumo
