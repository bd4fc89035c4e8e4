// Codes, widths, the CMap and a TrueType program of empty glyphs.
#include "TextLayerFont.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "CodePage932.h"

namespace lumo {
namespace {

// Outside Unicode, so that it cannot be taken for a character of the text.
constexpr char32_t kFollowingSpace = 0x110000;

// Text extractors break a word at a gap of a tenth of the font size; this
// keeps a following space well below that, yet wide enough that MuPDF does
// not drop it as a glyph drawn twice.
constexpr int kFollowingSpaceWidth = 5;

// Codes 1 to 0xFFFF; the last is kept for U+FFFD.
constexpr std::size_t kMostCodes = 0xFFFF;

int WidthOf(std::u32string_view text) {
  const char32_t character = text.empty() ? U' ' : text.front();
  if (character == kFollowingSpace) return kFollowingSpaceWidth;
  const bool halfWidth = character < 0x100 || (character >= 0xFF61 && character <= 0xFF9F);
  return halfWidth ? 500 : 1000;
}

void AppendHex16(std::string& out, unsigned value) {
  char hex[5];
  std::snprintf(hex, sizeof hex, "%04X", value & 0xFFFF);
  out += hex;
}

// Big-endian fields of the TrueType tables.
void Put16(std::string& out, unsigned value) {
  out += static_cast<char>(value >> 8 & 0xFF);
  out += static_cast<char>(value & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value >> 16);
  Put16(out, value & 0xFFFF);
}

std::uint32_t Checksum(std::string_view table) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    sum += static_cast<std::uint32_t>(static_cast<unsigned char>(table[i])) << (24 - 8 * (i % 4));
  }
  return sum;
}

}  // namespace

char32_t TextLayerCharacter(char32_t codePoint) noexcept {
  const bool control = codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
  return codePoint == cp932::kNoCodePoint || control ? U'\uFFFD' : codePoint;
}

std::uint16_t TextLayerFont::Code(std::u32string_view text, bool followsSpace) {
  static constexpr char32_t kFollowing[] = {kFollowingSpace, 0};
  if (followsSpace && text == U" ") text = kFollowing;
  if (const auto found = codes_.find(text); found != codes_.end()) return found->second;
  if (characters_.size() + 1 >= kMostCodes && text != U"\uFFFD") return Code(U"\uFFFD", false);
  const auto code = static_cast<std::uint16_t>(characters_.size() + 1);
  codes_.emplace(text, code);
  characters_.emplace_back(text);
  return code;
}

int TextLayerFont::Width(std::uint16_t code) const {
  return WidthOf(characters_[static_cast<std::size_t>(code) - 1]);
}

std::string TextLayerFont::WidthArray() const {
  std::string array = "[1 [";
  for (const std::u32string& text : characters_) array += std::to_string(WidthOf(text)) + ' ';
  array += "]]";
  return array;
}

std::string TextLayerFont::ToUnicode() const {
  std::string cmap =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
  // A CMap lists at most 100 mappings per block.
  for (std::size_t first = 0; first < characters_.size(); first += 100) {
    const std::size_t last = std::min(characters_.size(), first + 100);
    cmap += std::to_string(last - first) + " beginbfchar\n";
    for (std::size_t i = first; i < last; ++i) {
      cmap += '<';
      AppendHex16(cmap, static_cast<unsigned>(i + 1));
      cmap += "> <";
      for (char32_t character : characters_[i]) {
        if (character == kFollowingSpace) character = U' ';
        if (character > 0xFFFF) {
          AppendHex16(cmap, 0xD800 + ((character - 0x10000) >> 10));
          AppendHex16(cmap, 0xDC00 + (character & 0x3FF));
        } else {
          AppendHex16(cmap, character);
        }
      }
      cmap += ">\n";
    }
    cmap += "endbfchar\n";
  }
  cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
  return cmap;
}

std::string TextLayerFont::Program() const {
  // Units of 1000 to the em, as the widths; glyph 0 is the missing glyph.
  const unsigned glyphs = static_cast<unsigned>(characters_.size()) + 1;
  std::string head;
  for (const std::uint32_t field : {0x00010000u, 0x00010000u, 0u, 0x5F0F3CF5u}) Put32(head, field);
  Put16(head, 0);                                                              // flags
  Put16(head, 1000);                                                           // units per em
  head.append(16, '\0');                                                       // created, modified
  for (const unsigned field : {0u, 0xFF38u, 1000u, 800u}) Put16(head, field);  // box
  // Long offsets in loca: a label can hold thousands of characters.
  for (const unsigned field : {0u, 3u, 2u, 1u, 0u}) Put16(head, field);
  std::string hhea;
  Put32(hhea, 0x00010000);
  for (const unsigned field : {800u, 0xFF38u, 0u, 1000u, 0u, 0u, 1000u, 1u}) Put16(hhea, field);
  hhea.append(14, '\0');  // caret slope run and offset, reserved, metric data format
  Put16(hhea, glyphs);
  std::string maxp;
  Put32(maxp, 0x00010000);
  Put16(maxp, glyphs);
  for (const unsigned field : {4u, 1u, 0u, 0u, 1u}) Put16(maxp, field);  // points ... zones
  maxp.append(16, '\0');
  // Each glyph is its cell as a box: MuPDF leaves out a character whose
  // glyph has no outline at all. Render mode 3 shows none of them.
  std::string hmtx;
  std::string glyf;
  std::string loca;
  for (unsigned glyph = 0; glyph < glyphs; ++glyph) {
    const unsigned width =
        glyph == 0 ? 1000u : static_cast<unsigned>(WidthOf(characters_[glyph - 1]));
    Put16(hmtx, width);
    Put16(hmtx, 0);
    Put32(loca, static_cast<std::uint32_t>(glyf.size()));
    // One contour of four on-curve points, clockwise, coordinates as words of deltas.
    for (const unsigned field : {1u, 0u, 0xFF38u, width, 800u, 3u, 0u}) Put16(glyf, field);
    glyf.append(4, '\x01');
    for (const unsigned field : {0u, 0u, width, 0u, 0xFF38u, 1000u, 0u, 0xFC18u}) {
      Put16(glyf, field);
    }
  }
  Put32(loca, static_cast<std::uint32_t>(glyf.size()));

  // Tags in alphabetical order, as the table directory wants them.
  const std::array<std::pair<const char*, const std::string*>, 6> tables = {{{"glyf", &glyf},
                                                                             {"head", &head},
                                                                             {"hhea", &hhea},
                                                                             {"hmtx", &hmtx},
                                                                             {"loca", &loca},
                                                                             {"maxp", &maxp}}};
  std::string font;
  Put32(font, 0x00010000);
  for (const unsigned field : {6u, 64u, 2u, 32u}) Put16(font, field);  // tables, search
  std::string data;
  std::size_t headAt = 0;
  for (const auto& [tag, table] : tables) {
    const std::string_view bytes = *table;
    font += tag;
    Put32(font, Checksum(bytes));
    Put32(font, static_cast<std::uint32_t>(12 + 16 * tables.size() + data.size()));
    Put32(font, static_cast<std::uint32_t>(bytes.size()));
    if (table == &head) headAt = 12 + 16 * tables.size() + data.size();
    data += bytes;
    data.append((4 - data.size() % 4) % 4, '\0');
  }
  font += data;
  // The whole font's checksum comes to this magic number.
  std::string adjustment;
  Put32(adjustment, 0xB1B0AFBA - Checksum(font));
  font.replace(headAt + 8, 4, adjustment);
  return font;
}

}  // namespace lumo
