// UTF-8 to label text: code page 932 where it has a form, grapheme clusters
// beyond it kept whole (utf8proc's compiled-in tables: NFC, grapheme breaks,
// East Asian Width; never the locale's).
#include "LabelText.h"

#include <utf8proc.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

#include "CodePage932.h"
#include "Utf8.h"

namespace lumo {
namespace {

// A decoded unit of the input: a character, or one byte of an invalid sequence.
struct Unit {
  char32_t cp = 0;
  bool valid = false;
};

void AppendCode(std::string& out, std::uint16_t code) {
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

// The code page 932 bytes of `cluster` when every character has a form.
std::optional<std::string> Cp932Bytes(std::u32string_view cluster) {
  std::string bytes;
  for (const char32_t cp : cluster) {
    const std::optional<std::uint16_t> code = cp932::FromCodePoint(cp);
    if (!code) return std::nullopt;
    AppendCode(bytes, *code);
  }
  return bytes;
}

std::u32string Nfc(std::u32string_view cluster) {
  std::string utf8;
  for (const char32_t cp : cluster) utf8::Append(utf8, cp);
  utf8proc_uint8_t* mapped = nullptr;
  const utf8proc_ssize_t length =
      utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()),
                   static_cast<utf8proc_ssize_t>(utf8.size()), &mapped,
                   static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
  const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owned(mapped, &std::free);
  if (length < 0) return std::u32string(cluster);
  const std::string_view composed(reinterpret_cast<const char*>(mapped),
                                  static_cast<std::size_t>(length));
  std::u32string out;
  for (std::size_t pos = 0; pos < composed.size();) {
    char32_t cp = 0;
    const std::size_t step = utf8::Decode(composed, pos, cp);
    if (step == 0) return std::u32string(cluster);
    out += cp;
    pos += step;
  }
  return out;
}

// A cluster takes a two-byte step when its base does: a two-byte code page
// 932 character (U+2606 with a variation selector stays as wide as U+2606),
// or one that East Asian Width calls wide or fullwidth.
bool IsWide(char32_t base) {
  if (const std::optional<std::uint16_t> code = cp932::FromCodePoint(base)) return *code > 0xFF;
  return utf8proc_charwidth(static_cast<utf8proc_int32_t>(base)) == 2;
}

void AppendCluster(LabelText& text, std::u32string_view cluster) {
  if (const std::optional<std::string> bytes = Cp932Bytes(cluster)) {
    text.bytes += *bytes;
    return;
  }
  std::u32string composed = Nfc(cluster);
  if (const std::optional<std::string> bytes = Cp932Bytes(composed)) {
    text.bytes += *bytes;
    return;
  }
  text.extras.push_back({text.bytes.size(), composed});
  text.bytes += IsWide(composed.front()) ? kWidePlaceholder : kNarrowPlaceholder;
}

// The slow way, for text with a character beyond code page 932: cluster by
// cluster.
LabelText ByCluster(std::string_view utf8) {
  std::vector<Unit> units;
  units.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    Unit unit;
    const std::size_t length = utf8::Decode(utf8, pos, unit.cp);
    unit.valid = length != 0;
    units.push_back(unit);
    pos += std::max<std::size_t>(length, 1);
  }
  LabelText text;
  text.bytes.reserve(utf8.size());
  utf8proc_int32_t state = 0;
  for (std::size_t start = 0; start < units.size();) {
    if (!units[start].valid) {
      text.bytes += '?';
      ++start;
      continue;
    }
    std::u32string cluster(1, units[start].cp);
    std::size_t end = start + 1;
    state = 0;
    while (end < units.size() && units[end].valid &&
           !utf8proc_grapheme_break_stateful(static_cast<utf8proc_int32_t>(units[end - 1].cp),
                                             static_cast<utf8proc_int32_t>(units[end].cp),
                                             &state)) {
      cluster += units[end++].cp;
    }
    AppendCluster(text, cluster);
    start = end;
  }
  return text;
}

}  // namespace

std::size_t CountCharacters(std::string_view text) noexcept {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += cp932::CharLength(text, pos)) {
    count += text[pos] != '\r' && text[pos] != '\n';
  }
  return count;
}

void LabelText::Truncate(std::size_t length) {
  if (length >= bytes.size()) return;
  // Where the character the cut falls in starts: a trail byte cut off from
  // its lead is no character of its own.
  std::size_t start = 0;
  while (start + cp932::CharLength(bytes, start) <= length) start += cp932::CharLength(bytes, start);
  const std::size_t counted = start < length ? start + 2 : length;
  beyond.bytes += bytes.size() - length;
  beyond.characters += CountCharacters(std::string_view(bytes).substr(std::min(counted, bytes.size())));
  bytes.resize(length);
  // A placeholder cut in two leaves what a cut code page 932 character does.
  std::erase_if(extras, [&](const ExtraCharacter& extra) {
    const std::size_t width = IsWide(extra.cluster.front()) ? 2 : 1;
    return extra.position + width > length;
  });
}

void LabelText::Append(const LabelText& more) {
  for (ExtraCharacter extra : more.extras) {
    extra.position += bytes.size();
    extras.push_back(std::move(extra));
  }
  bytes += more.bytes;
}

LabelText LabelTextFromUtf8(std::string_view utf8) {
  // Most text has a form for every character; it converts as it always has.
  LabelText text;
  text.bytes.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t cp = 0;
    const std::size_t length = utf8::Decode(utf8, pos, cp);
    if (length == 0) {
      text.bytes += '?';
      ++pos;
      continue;
    }
    const std::optional<std::uint16_t> code = cp932::FromCodePoint(cp);
    if (!code) return ByCluster(utf8);
    AppendCode(text.bytes, *code);
    pos += length;
  }
  return text;
}

}  // namespace lumo
