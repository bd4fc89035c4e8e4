// Code page 932 conversion and the text intake: what converts exactly is
// what glibc's own converter writes for it; text files and pastes keep their
// promises about line ends and length.
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "LabelText.h"
#include "TextEncoding.h"
#include "TextIntake.h"

namespace {

// UTF-8 `text` converted by glibc to code page 932, or nothing when it does
// not convert. The descriptor lives as long as the fuzzer.
std::optional<std::string> ThroughIconv(std::string_view text) {
  static const iconv_t cd = iconv_open("CP932", "UTF-8");
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(2 * text.size(), '\0');
  char* in = const_cast<char*>(text.data());
  char* outPtr = out.data();
  std::size_t inLeft = text.size();
  std::size_t outLeft = out.size();
  if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
    return std::nullopt;
  }
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Text whose every character glibc converts is what glibc writes, but
  // for the characters kept as themselves (¥ and ‾ among them here).
  const lumo::LabelText converted = lumo::LabelTextFromUtf8(bytes);
  if (size <= 16 && converted.extras.empty()) {
    const std::optional<std::string> glibc = ThroughIconv(bytes);
    if (glibc && glibc != converted.bytes) __builtin_trap();
  }
  // No character grows beyond two bytes; every character kept as itself
  // stands on its own placeholder.
  if (converted.bytes.size() > 2 * size) __builtin_trap();
  std::size_t after = 0;
  for (const lumo::ExtraCharacter& extra : converted.extras) {
    if (extra.position < after || extra.cluster.empty()) __builtin_trap();
    const std::string_view placeholder = std::string_view(converted.bytes).substr(extra.position, 2);
    if (!placeholder.starts_with(lumo::kNarrowPlaceholder) &&
        !placeholder.starts_with(lumo::kWidePlaceholder)) {
      __builtin_trap();
    }
    after = extra.position + 1;
  }

  // Pasted text: no lone LF, nothing after a NUL.
  const std::string pasted = lumo::PastedText(bytes).bytes;
  for (std::size_t i = 0; i < pasted.size(); ++i) {
    if (pasted[i] == '\n' && (i == 0 || pasted[i - 1] != '\r')) __builtin_trap();
    if (pasted[i] == '\0') __builtin_trap();
  }
  // A text file: within the capacity; byte for byte, or converted when it
  // reads as UTF-8.
  const std::int32_t capacity = size == 0 ? 0 : data[0] % 64;
  const bool whole = size % 2 == 0;
  const std::string text = lumo::DecodeTextFile(bytes, whole, capacity).bytes;
  if (text.size() > static_cast<std::size_t>(capacity)) __builtin_trap();
  if (whole) {
    const std::string expected = lumo::GuessTextEncoding(bytes, true) == lumo::TextEncoding::Utf8
                                     ? lumo::FromPlatformText(bytes).bytes
                                     : std::string(bytes);
    if (expected.substr(0, static_cast<std::size_t>(capacity)) != text) __builtin_trap();
  }
  return 0;
}
