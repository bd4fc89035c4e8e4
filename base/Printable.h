// Names in messages: a file name may hold any byte but "/" and NUL, and the
// control bytes among them must not reach a terminal or a status bar raw.
#pragma once

#include <string>
#include <string_view>

namespace lumo {

// Appends the byte as two lower-case hexadecimal digits.
inline void AppendHex(std::string& out, unsigned char byte) {
  constexpr char kHex[] = "0123456789abcdef";
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

// `text` with every control byte (0x00-0x1F, 0x7F) written as \xHH, so that a
// message stays one line and no escape sequence reaches a terminal.
[[nodiscard]] inline std::string Printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      out += c;
      continue;
    }
    out += "\\x";
    AppendHex(out, byte);
  }
  return out;
}

}  // namespace lumo
