// Composition of a whole label: trim, split after usedRings line breaks, and
// the two halves set from 180 and from 360 degrees.
#include "LabelComposer.h"

#include <vector>

#include "CodePage932.h"

namespace lumo {
namespace {

constexpr int kUpperStart = 180;
constexpr int kLowerStart = 360;
constexpr int kSweep = 178;

}  // namespace

void TrimToCapacity(std::string& text, std::int32_t capacity) {
  if (capacity < 1 || text.size() <= static_cast<std::size_t>(capacity)) return;
  const auto last = static_cast<unsigned char>(text[static_cast<std::size_t>(capacity) - 1]);
  text.resize(static_cast<std::size_t>(capacity) - (cp932::IsLeadByte(last) ? 1 : 0));
}

SplitText SplitAtLineBreaks(std::string_view text, std::int32_t usedRings) {
  std::size_t split = 0;
  std::int32_t count = 0;
  while (usedRings > 0 && split < text.size()) {
    // The look-up has always stopped at a NUL byte, like a C string search.
    std::string_view rest = text.substr(split);
    rest = rest.substr(0, rest.find('\0'));
    const std::size_t lfCr = rest.find("\n\r");
    const std::size_t crLf = rest.find("\r\n");
    if (lfCr == std::string_view::npos && crLf == std::string_view::npos) break;
    split += std::min(lfCr, crLf) + 2;
    if (++count >= usedRings) break;
  }
  SplitText result;
  if (split > 0) result.upper.assign(text.substr(0, split - 1));
  result.lower.assign(text.substr(split));
  return result;
}

void ComposeLabel(LabelCanvas& canvas, const LabelSettings& settings, std::string& labelText,
                  std::string& lowerText, const ComposeObserver& observer, bool draw) {
  // A layout alone leaves the pixels as they are.
  if (draw) canvas.image.FillWhite();
  TrimToCapacity(labelText, canvas.textCapacity);
  SplitText split = SplitAtLineBreaks(labelText, settings.usedRings);
  lowerText = std::move(split.lower);
  // Both halves are laid out first and drawn as one list, which lets the
  // drawing share the work between two threads.
  std::vector<GlyphRun> runs;
  auto collect = [&](LabelHalf half) -> GlyphObserver {
    return [&, half](const GlyphPlacement& glyph) {
      if (observer) observer(half, glyph);
      if (draw) runs.push_back({glyph.font, glyph.x, glyph.y, glyph.bytes});
    };
  };
  DrawArcText(canvas, settings, kUpperStart, kSweep, split.upper, collect(LabelHalf::Upper), false);
  DrawArcText(canvas, settings, kLowerStart, kSweep, lowerText, collect(LabelHalf::Lower), false);
  if (draw) canvas.image.DrawRuns(runs);
}

}  // namespace lumo
