// Code page 932 against glibc's own converter, every code point and every
// code.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <string>

#include "CodePage932.h"

namespace lumo::cp932 {
namespace {

// `in` converted by glibc from a fresh state, as a big-endian number; nothing
// when glibc refuses it or writes more than `most` bytes or nothing at all.
std::optional<std::uint32_t> Iconv(iconv_t cd, std::string in, std::size_t most) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char out[16];
  char* inPtr = in.data();
  char* outPtr = out;
  std::size_t inLeft = in.size(), outLeft = sizeof out;
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
      outLeft == sizeof out || sizeof out - outLeft > most) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (char* c = out; c < outPtr; ++c) value = value << 8 | static_cast<unsigned char>(*c);
  return value;
}

TEST(CodePage932, AgreesWithGlibcOnEveryCodePointAndEveryCode) {
  const iconv_t encoder = iconv_open("CP932", "UTF-32BE");
  const iconv_t decoder = iconv_open("UTF-32BE", "CP932");
  ASSERT_TRUE(encoder != reinterpret_cast<iconv_t>(-1) && decoder != reinterpret_cast<iconv_t>(-1));
  // glibc writes nothing for the tag characters: no form either. The yen sign
  // and the overline would print as a backslash and a tilde.
  for (char32_t cp = 0; cp <= 0x10FFFF; cp = cp == 0xD7FF ? 0xE000 : cp + 1) {
    const auto byte = [cp](int shift) { return static_cast<char>(cp >> shift); };
    const std::optional<std::uint32_t> glibc = Iconv(encoder, {0, byte(16), byte(8), byte(0)}, 2);
    const bool none = !glibc || cp == U'\u00A5' || cp == U'\u203E';
    ASSERT_EQ(FromCodePoint(cp), none ? std::nullopt : std::optional<std::uint16_t>(*glibc))
        << std::hex << "U+" << static_cast<std::uint32_t>(cp);
  }
  for (unsigned first = 0; first < 256; ++first) {
    for (unsigned second = 0; second < 257; ++second) {  // 256: the first byte alone
      std::string bytes(1, static_cast<char>(first));
      if (second < 256) bytes += static_cast<char>(second);
      ASSERT_EQ(ToCodePoint(bytes), Iconv(decoder, bytes, 4).value_or(kNoCodePoint))
          << std::hex << first << " " << second;
    }
  }
  EXPECT_EQ(ToCodePoint(""), kNoCodePoint);
  EXPECT_EQ(ToCodePoint("\x82\xA0\x82"), kNoCodePoint);
  iconv_close(encoder);
  iconv_close(decoder);
}

}  // namespace
}  // namespace lumo::cp932
