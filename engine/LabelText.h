// The label's text: code page 932 bytes, in which each character that has no
// code page 932 form (é, €, 𠮷, an emoji) stands as a placeholder as wide as
// the step it takes, and is kept beside the bytes as itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumo {

// Placeholders: a one-byte character's "?" for a narrow character, a
// two-byte character's "？" for a wide one. The ring walk, the cut to the
// capacity and the split count them as the bytes they are.
inline constexpr std::string_view kNarrowPlaceholder = "?";
inline constexpr std::string_view kWidePlaceholder = "\x81\x48";

// One grapheme cluster beyond code page 932, composed to NFC: a base with its
// marks, variation selectors and joiners.
struct ExtraCharacter {
  std::size_t position = 0;  // where its placeholder starts in the bytes
  std::u32string cluster;

  friend bool operator==(const ExtraCharacter&, const ExtraCharacter&) = default;
};

// What an intake read of a text but did not keep: counted, not held.
struct TextBeyond {
  std::uint64_t bytes = 0;
  std::uint64_t characters = 0;  // line breaks not counted
  bool more = false;             // and more still, which was not read

  friend bool operator==(const TextBeyond&, const TextBeyond&) = default;
};

struct LabelText {
  LabelText() = default;
  // Code page 932 text, every character its own.
  LabelText(std::string codePage932) : bytes(std::move(codePage932)) {}  // NOLINT: implicit

  std::string bytes;
  std::vector<ExtraCharacter> extras;  // by position
  TextBeyond beyond;                   // what followed the bytes

  // Keeps the first `length` bytes, and the characters whose whole
  // placeholder they keep; what is cut off is counted in `beyond`.
  void Truncate(std::size_t length);
  // Appends `more`, its characters moved along with its bytes.
  void Append(const LabelText& more);

  friend bool operator==(const LabelText&, const LabelText&) = default;
};

// Characters in code page 932 `text`, line breaks (CR, LF) not counted; a
// lead byte at the end counts as one.
[[nodiscard]] std::size_t CountCharacters(std::string_view text) noexcept;

// Converts UTF-8 to label text. A grapheme cluster whose every character has
// a code page 932 form becomes those bytes (code page 932 text converts
// exactly as it always has); so does one whose NFC form has one. Any other
// cluster is an extra character, wide when its base is: a two-byte code page
// 932 character, or East Asian Width W or F. Each byte of an invalid UTF-8
// sequence becomes "?".
[[nodiscard]] LabelText LabelTextFromUtf8(std::string_view utf8);

}  // namespace lumo
