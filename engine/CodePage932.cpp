// Code page 932 tables, built once from glibc's iconv "CP932" converter.
#include "CodePage932.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

namespace lumo::cp932 {
namespace {

// Owns an iconv descriptor; iconv_close is the only way to give it back.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  [[nodiscard]] bool valid() const noexcept { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts one whole character to one UTF-32 code point, or kNoCodePoint.
  [[nodiscard]] char32_t ToCodePoint(const unsigned char* bytes, std::size_t length) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char in[2] = {static_cast<char>(bytes[0]), length > 1 ? static_cast<char>(bytes[1]) : '\0'};
    unsigned char out[8] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = length;
    std::size_t outLeft = sizeof out;
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0 || sizeof out - outLeft != 4) {
      return kNoCodePoint;
    }
    return static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) |
                                 (static_cast<std::uint32_t>(out[3]) << 24));
  }

 private:
  iconv_t cd_;
};

struct Tables {
  // Index: a one-byte character's byte, or lead << 8 | trail.
  std::array<char32_t, 65536> toUnicode{};
  std::unordered_map<char32_t, std::uint16_t> fromUnicode;
};

bool IsEdEeRow(unsigned code) { return (code >> 8) == 0xED || (code >> 8) == 0xEE; }

std::unique_ptr<Tables> BuildTables() {
  auto tables = std::make_unique<Tables>();
  tables->toUnicode.fill(kNoCodePoint);
  Converter converter("UTF-32LE", "CP932");
  if (!converter.valid()) return tables;
  for (unsigned byte = 0; byte < 256; ++byte) {
    if (IsLeadByte(static_cast<unsigned char>(byte))) continue;
    const unsigned char in[1] = {static_cast<unsigned char>(byte)};
    tables->toUnicode[byte] = converter.ToCodePoint(in, 1);
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const unsigned char in[2] = {static_cast<unsigned char>(lead),
                                   static_cast<unsigned char>(trail)};
      tables->toUnicode[lead << 8 | trail] = converter.ToCodePoint(in, 2);
    }
  }
  // Several codes share a character; like Windows, prefer the lowest code,
  // but the NEC-selected IBM rows (0xED, 0xEE) only when nothing else has it.
  for (int pass = 0; pass < 2; ++pass) {
    for (unsigned code = 0; code < 65536; ++code) {
      const char32_t cp = tables->toUnicode[code];
      if (cp == kNoCodePoint || IsEdEeRow(code) != (pass == 1)) continue;
      tables->fromUnicode.try_emplace(cp, static_cast<std::uint16_t>(code));
    }
  }
  return tables;
}

const Tables& GetTables() {
  static const std::unique_ptr<Tables> tables = BuildTables();
  return *tables;
}

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

}  // namespace

namespace {

// Converts, calling `unconvertible` for what has no form (an invalid byte or
// a character outside code page 932); it returns false to give up.
template <typename Unconvertible>
bool Convert(std::string_view utf8, std::string& out, Unconvertible unconvertible) {
  out.reserve(utf8.size());
  const Tables* tables = nullptr;
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t cp = 0;
    const std::size_t length = DecodeUtf8(utf8, pos, cp);
    if (length == 0) {
      if (!unconvertible(out)) return false;
      ++pos;
      continue;
    }
    pos += length;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    if (tables == nullptr) tables = &GetTables();
    const auto found = tables->fromUnicode.find(cp);
    if (found == tables->fromUnicode.end()) {
      if (!unconvertible(out)) return false;
    } else if (found->second > 0xFF) {
      out += static_cast<char>(found->second >> 8);
      out += static_cast<char>(found->second & 0xFF);
    } else {
      out += static_cast<char>(found->second);
    }
  }
  return true;
}

}  // namespace

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
  if (bytes.empty() || bytes.size() > 2) return kNoCodePoint;
  const auto b0 = static_cast<unsigned char>(bytes[0]);
  if (bytes.size() == 1) {
    if (b0 < 0x80) return b0;
    if (IsLeadByte(b0)) return kNoCodePoint;
    return GetTables().toUnicode[b0];
  }
  if (!IsLeadByte(b0)) return kNoCodePoint;
  return GetTables().toUnicode[b0 << 8 | static_cast<unsigned char>(bytes[1])];
}

}  // namespace lumo::cp932
