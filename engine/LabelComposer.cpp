// Composition of a whole label: trim, split after usedRings line breaks, and
// the two halves set from 180 and from 360 degrees.
#include "LabelComposer.h"

#include <algorithm>

#include "CodePage932.h"
#include "RingTypesetter.h"

namespace lumo {
namespace {

constexpr int kUpperStart = 180;
constexpr int kLowerStart = 360;
constexpr int kSweep = 178;

// Gives the glyphs of `text` (at `offset` in the label text) that stand for
// characters of `extras` their index in the layout's extras: every character
// but a line break is one glyph, in order.
void NameExtras(std::string_view text, std::size_t offset, std::span<PlacedGlyph> glyphs,
                std::span<const ExtraCharacter> extras, LabelLayout& layout) {
  auto next = std::lower_bound(
      extras.begin(), extras.end(), offset,
      [](const ExtraCharacter& extra, std::size_t at) { return extra.position < at; });
  std::size_t glyph = 0;
  for (std::size_t pos = 0; pos < text.size() && glyph < glyphs.size() && next != extras.end();
       pos += cp932::CharLength(text, pos)) {
    if (text[pos] == '\r' || text[pos] == '\n') continue;
    while (next != extras.end() && next->position < offset + pos) ++next;
    if (next != extras.end() && next->position == offset + pos) {
      glyphs[glyph].extra = static_cast<std::int32_t>(layout.extras.size());
      layout.extras.push_back(next->cluster);
    }
    ++glyph;
  }
}

}  // namespace

std::size_t TrimmedLength(std::string_view text, std::int32_t capacity) noexcept {
  if (capacity < 1 || text.size() <= static_cast<std::size_t>(capacity)) return text.size();
  const auto last = static_cast<unsigned char>(text[static_cast<std::size_t>(capacity) - 1]);
  return static_cast<std::size_t>(capacity) - (cp932::IsLeadByte(last) ? 1 : 0);
}

SplitText SplitAtLineBreaks(std::string_view text, std::int32_t usedRings) noexcept {
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
  return {split > 0 ? text.substr(0, split - 1) : std::string_view(), text.substr(split)};
}

LabelLayout ComposeLayout(const CanvasGeometry& canvas, const LabelSettings& settings,
                          std::string_view labelText, std::span<const ExtraCharacter> extras) {
  LabelLayout layout;
  const std::string_view kept = labelText.substr(0, TrimmedLength(labelText, canvas.textCapacity));
  const SplitText split = SplitAtLineBreaks(kept, settings.usedRings);
  layout.keptBytes = kept.size();
  layout.lowerStart = kept.size() - split.lower.size();
  const double side = canvas.canvasRect.width;
  double areaBudget = kDrawnAreaBudget * side * side;
  const std::size_t upperUsed = LayOutArcText(canvas, settings, kUpperStart, kSweep, split.upper,
                                              LabelHalf::Upper, areaBudget, layout.glyphs);
  const std::size_t upperGlyphs = layout.glyphs.size();
  const std::size_t lowerUsed = LayOutArcText(canvas, settings, kLowerStart, kSweep, split.lower,
                                              LabelHalf::Lower, areaBudget, layout.glyphs);
  if (!extras.empty()) {
    const std::span<PlacedGlyph> glyphs(layout.glyphs);
    NameExtras(split.upper, 0, glyphs.first(upperGlyphs), extras, layout);
    NameExtras(split.lower, layout.lowerStart, glyphs.subspan(upperGlyphs), extras, layout);
  }
  for (const std::string_view rest : {labelText.substr(kept.size()), split.upper.substr(upperUsed),
                                      split.lower.substr(lowerUsed)}) {
    layout.leftOffBytes += rest.size();
    layout.leftOffCharacters += CountCharacters(rest);
  }
  return layout;
}

}  // namespace lumo
