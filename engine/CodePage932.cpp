// Code page 932 conversions through tables generated at build time from
// glibc's iconv "CP932" converter (tablegen/), so none of them calls iconv.
#include "CodePage932.h"

#include "CodePage932Tables.inc"

namespace lumo::cp932 {

std::optional<std::uint16_t> FromCodePoint(char32_t codePoint) noexcept {
  // glibc gives nothing beyond the basic plane a form; the generator checks.
  if (codePoint > 0xFFFF) return std::nullopt;
  const std::uint16_t code = tables::kBlocks[tables::kBlockOf[codePoint >> 8]][codePoint & 0xFF];
  if (code == tables::kNone) return std::nullopt;
  return code;
}

char32_t ToCodePoint(std::string_view bytes) noexcept {
  std::uint16_t cp = tables::kNone;
  if (bytes.size() == 1) {
    cp = tables::kSingleByte[static_cast<unsigned char>(bytes[0])];
  } else if (bytes.size() == 2) {
    const auto first = static_cast<unsigned char>(bytes[0]);
    cp = tables::kPairRows[tables::kPairRowOf[first]][static_cast<unsigned char>(bytes[1])];
  }
  return cp == tables::kNone ? kNoCodePoint : cp;
}

}  // namespace lumo::cp932
