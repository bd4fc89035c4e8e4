// Code page 932 against glibc's own converter, every code point and every
// code; and the UTF-8 decoding in front of it.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <string>

#include "CodePage932.h"

namespace lumo::cp932 {
namespace {

// `in` converted by glibc from a fresh state, or nothing when it refuses.
std::optional<std::string> Iconv(iconv_t cd, std::string in) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char out[16];
  char* inPtr = in.data();
  char* outPtr = out;
  std::size_t inLeft = in.size();
  std::size_t outLeft = sizeof out;
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
    return std::nullopt;
  }
  return std::string(out, sizeof out - outLeft);
}

std::uint32_t Bytes(std::string_view bytes) {
  std::uint32_t value = 0;
  for (const char c : bytes) value = value << 8 | static_cast<unsigned char>(c);
  return value;
}

TEST(CodePage932, EveryCodePointHasGlibcsFormButTheYenSignAndTheOverline) {
  const iconv_t encoder = iconv_open("CP932", "UTF-32BE");
  ASSERT_NE(encoder, reinterpret_cast<iconv_t>(-1));
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp == 0xD800) cp = 0xE000;
    const std::optional<std::string> glibc =
        Iconv(encoder, {static_cast<char>(cp >> 24), static_cast<char>(cp >> 16),
                        static_cast<char>(cp >> 8), static_cast<char>(cp)});
    // glibc writes nothing at all for the tag characters: no form either.
    std::optional<std::uint16_t> expected;
    if (glibc && !glibc->empty() && cp != U'\u00A5' && cp != U'\u203E') expected = Bytes(*glibc);
    ASSERT_EQ(FromCodePoint(cp), expected) << std::hex << "U+" << static_cast<std::uint32_t>(cp);
  }
  iconv_close(encoder);
}

TEST(CodePage932, EveryCodeReadsAsGlibcReadsIt) {
  const iconv_t decoder = iconv_open("UTF-32BE", "CP932");
  ASSERT_NE(decoder, reinterpret_cast<iconv_t>(-1));
  const auto expected = [&](std::string bytes) {
    const std::optional<std::string> utf32 = Iconv(decoder, std::move(bytes));
    return utf32 && utf32->size() == 4 ? Bytes(*utf32) : kNoCodePoint;
  };
  for (unsigned first = 0; first < 256; ++first) {
    const std::string one(1, static_cast<char>(first));
    ASSERT_EQ(ToCodePoint(one), expected(one)) << std::hex << first;
    for (unsigned second = 0; second < 256; ++second) {
      const std::string two = one + static_cast<char>(second);
      ASSERT_EQ(ToCodePoint(two), expected(two)) << std::hex << first << " " << second;
    }
  }
  EXPECT_EQ(ToCodePoint(""), kNoCodePoint);
  EXPECT_EQ(ToCodePoint("\x82\xA0\x82"), kNoCodePoint);
  iconv_close(decoder);
}

TEST(CodePage932, FromUtf8) {
  // Linux's JIS forms as Windows writes them; ¥ and ‾ have no form.
  EXPECT_EQ(FromUtf8("a〜‖−—¢£¬あ¥‾"),
            "a\x81\x60\x81\x61\x81\x7C\x81\x5C\x81\x91\x81\x92\x81\xCA\x82\xA0??");
  // No form, and every byte of a stray, overlong, surrogate or cut sequence: "?".
  EXPECT_EQ(FromUtf8("€😀x\x80\xC0\xAF\xED\xA0\x80z\xE3\x81"), "??x??????z??");
  EXPECT_EQ(FromUtf8(std::string_view("a\0b", 3)), std::string_view("a\0b", 3));
  EXPECT_EQ(FromUtf8Exactly("ｱ漢①"), "\xB1\x8A\xBF\x87\x40");
  EXPECT_EQ(FromUtf8Exactly("ｱ€"), std::nullopt);
  EXPECT_EQ(FromUtf8Exactly("ｱ\xB1"), std::nullopt);
}

}  // namespace
}  // namespace lumo::cp932
