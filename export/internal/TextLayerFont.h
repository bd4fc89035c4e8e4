// The font of a PDF's invisible text layer: two-byte codes given out as the
// label's characters come, each mapped back to its Unicode character (the
// ToUnicode CMap) and given a width, with an embedded font program to match,
// so that every reader finds a font it can load. The text is never drawn.
// Private to the exporters.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

class TextLayerFont {
 public:
  // The code of `text`: one character (U+FFFD for bytes without one), or a
  // grapheme cluster. A space that follows a space gets a code of its own,
  // almost without width: text extractors take a wide gap for a column
  // break, and a run of spaces (a folder listing's columns) would otherwise
  // split the line. Once the codes run out, all new text is U+FFFD.
  [[nodiscard]] std::uint16_t Code(std::u32string_view text, bool followsSpace);
  // In thousandths of the font size.
  [[nodiscard]] int Width(std::uint16_t code) const;
  [[nodiscard]] bool empty() const noexcept { return characters_.empty(); }

  // The CIDFont's /W array.
  [[nodiscard]] std::string WidthArray() const;
  // The ToUnicode CMap.
  [[nodiscard]] std::string ToUnicode() const;
  // A TrueType program with one glyph per code, each as wide as its code.
  [[nodiscard]] std::string Program() const;

 private:
  // The text of code n + 1; a following space is kFollowingSpace.
  std::vector<std::u32string> characters_;
  std::map<std::u32string, std::uint16_t, std::less<>> codes_;
};

// The character a glyph's bytes stand for in the text layer: control bytes,
// a lone lead byte and invalid pairs have none and come out as U+FFFD.
[[nodiscard]] char32_t TextLayerCharacter(char32_t codePoint) noexcept;

}  // namespace lumo
