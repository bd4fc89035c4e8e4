// Code page 932 conversion and the text intake: every character converted
// reads back, through glibc's iconv, as the character it was; text files and
// pastes keep their promises about line ends and length.
#include <iconv.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "CodePage932.h"
#include "TextIntake.h"

namespace {

// Text in `from` as UTF-32 through glibc, or U+FFFF when it does not convert.
// The descriptors live as long as the fuzzer.
std::u32string ThroughIconv(const char* from, std::string_view text) {
  static const iconv_t fromCp932 = iconv_open("UTF-32LE", "CP932");
  static const iconv_t fromUtf8 = iconv_open("UTF-32LE", "UTF-8");
  const iconv_t cd = std::string_view(from) == "CP932" ? fromCp932 : fromUtf8;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::u32string out(text.size() + 1, U'\0');
  char* in = const_cast<char*>(text.data());
  char* outPtr = reinterpret_cast<char*>(out.data());
  std::size_t inLeft = text.size();
  std::size_t outLeft = out.size() * 4;
  if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return U"\xFFFF";
  out.resize(out.size() - outLeft / 4);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // What converts exactly reads back through glibc as the characters it was,
  // and a single character's code point is the one the tables give.
  if (size <= 16) {
    if (const auto exact = lumo::cp932::FromUtf8Exactly(bytes)) {
      const std::u32string back = ThroughIconv("CP932", *exact);
      if (back != ThroughIconv("UTF-8", bytes)) __builtin_trap();
      if (back.size() == 1 && lumo::cp932::ToCodePoint(*exact) != back[0]) __builtin_trap();
    }
  }
  // The lossy conversion never grows a character beyond two bytes.
  if (lumo::cp932::FromUtf8(bytes).size() > 2 * size) __builtin_trap();

  // Pasted text: no lone LF, nothing after a NUL.
  const std::string pasted = lumo::PastedText(bytes);
  for (std::size_t i = 0; i < pasted.size(); ++i) {
    if (pasted[i] == '\n' && (i == 0 || pasted[i - 1] != '\r')) __builtin_trap();
    if (pasted[i] == '\0') __builtin_trap();
  }
  // A text file: within the capacity; byte for byte unless it converted.
  const std::int32_t capacity = size == 0 ? 0 : data[0] % 64;
  const std::string text = lumo::DecodeTextFile(bytes, size % 2 == 0, capacity);
  if (text.size() > static_cast<std::size_t>(capacity)) __builtin_trap();
  const bool whole = size % 2 == 0;
  if (whole && !bytes.starts_with("\xEF\xBB\xBF") && !lumo::cp932::FromUtf8Exactly(bytes) &&
      bytes.substr(0, text.size()) != text) {
    __builtin_trap();
  }
  return 0;
}
