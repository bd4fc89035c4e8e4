// A label laid out: every glyph placed on its ring, in drawing order, and how
// much of the text did not fit. Everything that shows or writes a label (the
// raster, the vector exports, lumo-render --layout) reads this one value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// A glyph's font: height is the cell height and width the average character
// width, in pixels; escapement turns the glyph and its cell counter-clockwise
// on the screen, in tenths of a degree.
struct FontRequest {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;

  friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

enum class LabelHalf : std::uint8_t { Upper, Lower };

struct PlacedGlyph {
  LabelHalf half = LabelHalf::Upper;
  std::int32_t ring = 0;  // 0 = the outermost ring
  // The line of the text it belongs to, counted from 0 within its half; a
  // line break (CR LF, LF CR, a lone CR or LF) starts the next one, however
  // many rings a line wraps over.
  std::int32_t line = 0;
  std::int32_t x = 0;     // the reference point: the top-left corner of the turned cell
  std::int32_t y = 0;
  FontRequest font;
  std::array<char, 2> code{};  // code page 932: one byte, or two for a lead byte
  std::uint8_t length = 0;     // 1, or 2 (a lead byte at the text's end gives 1)
  // A character beyond code page 932 (code holds its placeholder): its index
  // in LabelLayout::extras; -1 for every other glyph.
  std::int32_t extra = -1;

  [[nodiscard]] std::string_view bytes() const noexcept { return {code.data(), length}; }
};

struct LabelLayout {
  std::vector<PlacedGlyph> glyphs;  // the upper half's, then the lower half's
  std::size_t keptBytes = 0;        // the label text's length after the cut to the capacity
  std::size_t lowerStart = 0;       // where the lower half's text starts in the kept text
  // What did not fit: cut off by the capacity, or beyond the last ring of a
  // half's window. Characters count without line breaks.
  std::size_t leftOffBytes = 0;
  std::size_t leftOffCharacters = 0;
  bool leftOffMore = false;  // and more, which was not read to be counted
  // The placed characters beyond code page 932, as grapheme clusters.
  std::vector<std::u32string> extras;
};

}  // namespace lumo
