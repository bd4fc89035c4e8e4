// UTF-8 as the platform hands text over: one character decoded (or encoded)
// at a time, and the end of a read that may have stopped inside a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumo::utf8 {

// Decodes the sequence at `pos` into `cp`; returns its length, 0 when it is
// invalid (a stray, overlong or surrogate sequence, or one the text cuts).
[[nodiscard]] constexpr std::size_t Decode(std::string_view text, std::size_t pos,
                                           char32_t& cp) noexcept {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char b0 = byte(pos);
  std::size_t length;
  char32_t min;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    length = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

// Appends the UTF-8 sequence of the scalar value `cp`.
constexpr void Append(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// `bytes` without a sequence that a read stopping there left unfinished, so
// that the cut alone does not make the text look invalid.
[[nodiscard]] constexpr std::string_view WithoutCutSequence(std::string_view bytes) noexcept {
  const std::size_t size = bytes.size();
  std::size_t start = size;
  // A sequence has at most three continuation bytes (10xxxxxx).
  while (start > 0 && size - start < 4 &&
         (static_cast<unsigned char>(bytes[start - 1]) & 0xC0) == 0x80) {
    --start;
  }
  if (start == 0) return bytes;
  const auto lead = static_cast<unsigned char>(bytes[start - 1]);
  std::size_t length = 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
  }
  return length > size - (start - 1) ? bytes.substr(0, start - 1) : bytes;
}

}  // namespace lumo::utf8
