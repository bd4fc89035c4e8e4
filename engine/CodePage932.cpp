// Code page 932 conversions through tables generated at build time from
// glibc's iconv "CP932" converter (tablegen/), so none of them calls iconv.
#include "CodePage932.h"

#include "CodePage932Tables.inc"

namespace lumo::cp932 {
namespace {

// Decodes one UTF-8 sequence at `pos`; returns its length, 0 when invalid.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp) noexcept {
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

// Converts, calling `unconvertible` for what has no form (an invalid byte or
// a character outside code page 932); it returns false to give up.
template <typename Unconvertible>
bool Convert(std::string_view utf8, std::string& out, Unconvertible unconvertible) {
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t cp = 0;
    const std::size_t length = DecodeUtf8(utf8, pos, cp);
    pos += length == 0 ? 1 : length;
    const std::optional<std::uint16_t> code = length == 0 ? std::nullopt : FromCodePoint(cp);
    if (!code) {
      if (!unconvertible(out)) return false;
    } else if (*code > 0xFF) {
      out += static_cast<char>(*code >> 8);
      out += static_cast<char>(*code & 0xFF);
    } else {
      out += static_cast<char>(*code);
    }
  }
  return true;
}

}  // namespace

std::optional<std::uint16_t> FromCodePoint(char32_t codePoint) noexcept {
  // glibc gives nothing beyond the basic plane a form; the generator checks.
  if (codePoint > 0xFFFF) return std::nullopt;
  const std::uint16_t code = tables::kBlocks[tables::kBlockOf[codePoint >> 8]][codePoint & 0xFF];
  if (code == tables::kNone) return std::nullopt;
  return code;
}

std::string FromUtf8(std::string_view utf8) {
  std::string out;
  Convert(utf8, out, [](std::string& text) {
    text += '?';
    return true;
  });
  return out;
}

std::optional<std::string> FromUtf8Exactly(std::string_view utf8) {
  std::string out;
  if (!Convert(utf8, out, [](std::string&) { return false; })) return std::nullopt;
  return out;
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
