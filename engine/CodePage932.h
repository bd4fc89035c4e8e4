// Code page 932 (Shift-JIS as Windows has it): the text encoding inside lumo.
// Conversions happen only at the edges: clipboard, file names, glyph lookup.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lumo::cp932 {

// 0x81-0x9F and 0xE0-0xFC start a two-byte character.
[[nodiscard]] constexpr bool IsLeadByte(unsigned char byte) noexcept {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Byte length of the character that starts at `pos`: 2 for a lead byte (even
// when the text ends after it), otherwise 1. 0 when `pos` is past the end.
[[nodiscard]] constexpr std::size_t CharLength(std::string_view text, std::size_t pos) noexcept {
  if (pos >= text.size()) return 0;
  return IsLeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
}

// The code page 932 form of `codePoint`: a one-byte code as its value
// (0x00-0xFF), a two-byte code as lead << 8 | trail. The form is glibc's
// ("iconv -t CP932"), so Linux's JIS forms (U+301C, U+2212, ...) fold onto
// the ones Windows writes; but U+00A5 and U+203E have none, since 0x5C and
// 0x7E are drawn as a backslash and a tilde.
[[nodiscard]] std::optional<std::uint16_t> FromCodePoint(char32_t codePoint) noexcept;

// Unicode code point of the character `bytes` (one or two bytes), as glibc
// decodes it, or kNoCodePoint when code page 932 assigns it none (a lone lead
// byte, say). A folded character comes back in its Windows form (U+FF5E).
inline constexpr char32_t kNoCodePoint = 0xFFFFFFFF;
[[nodiscard]] char32_t ToCodePoint(std::string_view bytes) noexcept;

}  // namespace lumo::cp932
