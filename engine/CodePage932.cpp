// Code page 932 conversions through tables generated at build time from
// glibc's iconv "CP932" converter (tablegen/), so none of them calls iconv.
#include "CodePage932.h"

#include "CodePage932Tables.inc"
#include "Utf8.h"

namespace lumo::cp932 {
namespace {

// Converts, calling `unconvertible` for what has no form (an invalid byte or
// a character outside code page 932); it returns false to give up.
template <typename Unconvertible>
bool Convert(std::string_view utf8, std::string& out, Unconvertible unconvertible) {
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t cp = 0;
    const std::size_t length = utf8::Decode(utf8, pos, cp);
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
