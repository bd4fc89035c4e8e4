// Text that comes in without a window: the prompt, the ".txt" test and text files
// (byte for byte or from UTF-8); pastes and unreadable files are checked end to end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <tuple>

#include "CodePage932.h"
#include "TestSupport.h"
#include "TextIntake.h"

namespace lumo {

namespace fs = std::filesystem;
using test::Repeat;

TEST(StartupPrompt, IsTheSeventySixBytesOfTheWordsInCodePage932) {
  // Built here through the converter, so a slip in the byte escapes shows.
  EXPECT_EQ(kStartupPrompt, LabelTextFromUtf8("\n\n\n\n\u3000ここにテキスト・ファイルや\r\n"
                                              "フォルダをドラッグ・ドロップしてください\n\r")
                                .bytes);
}

TEST(TxtExtension, LastFourBytesInAnyCase) {
  for (const char* path : {"notes.TXT", "Notes.Txt", "/home/a/notes.txt", ".txt"}) {
    EXPECT_TRUE(HasTxtExtension(path)) << path;
  }
  for (const char* path : {"notes.text", "notes.txt.bak", "txt", "", "notes_txt", "notes.txt/"}) {
    EXPECT_FALSE(HasTxtExtension(path)) << path;
  }
}

TEST(TextFile, FirstCapacityBytesByteForByteOrConvertedFromUtf8) {
  const std::string a = "\x82\xa0", aUtf8 = "\xe3\x81\x82", bom = "\xef\xbb\xbf";
  const std::string sjis = "\x82\xa0\x82\xa2\x82\xa4\r\nab";
  const std::string utf8 = "\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86\r\nab";  // the same text
  // File bytes, capacity, text.
  const std::tuple<std::string, int, std::string> cases[] = {
      {"abcd", 3, "abc"},
      {std::string("a\0b\0\0c", 6), 100, std::string("a\0b\0\0c", 6)},
      // Code page 932 is not valid UTF-8: taken as it is, a cut lead byte kept.
      {sjis, 100, sjis},
      {sjis, 3, "\x82\xa0\x82"},
      // Valid UTF-8 too: converted when it reads as UTF-8 ("Café"), kept when
      // it reads as code page 932 (ﾃｽ).
      {"Caf\xc3\xa9\n", 100, "Caf?\r\n"},
      {"\xc3\xbd\n", 100, "\xc3\xbd\n"},
      // Converted before the cut, a byte-order mark dropped.
      {bom + utf8, 3, "\x82\xa0\x82"},
      // Lone LF becomes CR LF in UTF-8 (ASCII too); CR LF and a lone CR stay.
      {"a\nb\r\nc\rd\n\re", 100, "a\r\nb\r\nc\rd\r\n\re"},
      {"ab\n", 3, "ab\r"},
      {Repeat("\r\n", 10), 3, "\r\n\r"},  // the read ends between CR and LF
      // Invalid anywhere in reach, or a sequence cut by the end: byte for byte.
      {aUtf8 + "\xff" + aUtf8, 100, aUtf8 + "\xff" + aUtf8},
      {aUtf8 + "\xe3\x81", 100, aUtf8 + "\xe3\x81"},
      // Read only as far as the label reaches, which may end inside a character.
      {Repeat(aUtf8, 1000), 10, Repeat(a, 5)},
      {bom + Repeat(aUtf8, 1000), 11, Repeat(a, 5) + "\x82"},
  };
  const test::TempDir dir;
  for (const auto& [bytes, capacity, text] : cases) {
    test::WriteFileBytes(dir.path() / "notes.txt", bytes);
    const Result<LabelText> read = ReadTextFile(dir.path() / "notes.txt", capacity);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bytes, text) << testing::PrintToString(bytes) << " " << capacity;
  }
}

TEST(TextFile, ACharacterCutWhereTheReadStoppedIsNotConverted) {
  EXPECT_EQ(DecodeTextFile("a\xe3\x81", false, 10).bytes, "a");
  EXPECT_EQ(DecodeTextFile("a\xe3\x81", true, 10).bytes, "a\xe3\x81");  // not UTF-8 at all
}

// However a text comes, what is not kept is counted as if it had all been
// converted at once, up to 64 MiB of input; no more than the ceiling is kept.
TEST(TextIntake, WhatIsNotKeptIsCountedAsIfConvertedWhole) {
  const test::TempDir dir;
  const fs::path file = dir.path() / "notes.txt";
  // Several pieces of a megabyte, line ends to convert, clusters to keep whole.
  const std::string utf8 = Repeat("円盤のラベル、é文字\nを並べる。a\u0301 ", 60000);
  const LabelText whole = FromPlatformText(utf8);
  const LabelText sjis = FromPlatformText(Repeat("円盤のラベル\r\n", 100000));
  const auto expectCounted = [](const Result<LabelText>& read, const std::string& from,
                                std::size_t kept) {
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bytes, from.substr(0, kept));
    const std::size_t characters = CountCharacters(from) - CountCharacters(from.substr(0, kept));
    EXPECT_EQ(read->beyond, (TextBeyond{from.size() - kept, characters, false}));
  };
  test::WriteFileBytes(file, utf8);
  expectCounted(ReadTextFile(file, 1001), whole.bytes, 1001);
  const int fd = ::open(file.c_str(), O_RDONLY);
  expectCounted(ReadPastedText(fd, 1001), whole.bytes, 1001);
  ::close(fd);
  test::WriteFileBytes(file, sjis.bytes);
  expectCounted(ReadTextFile(file, 1001), sjis.bytes, 1001);
  expectCounted(PastedText(Repeat("y\n", 3 << 20)), Repeat("y\r\n", 3 << 20), kTextCeiling);
  fs::resize_file(file, std::uintmax_t{65} << 20);  // sparse: NUL bytes beyond the text
  // Each NUL is a character; the first ten bytes are five kept.
  const std::uint64_t counted = kCountedInputBytes - 10;
  const std::uint64_t trails = sjis.bytes.size() - CountCharacters(sjis.bytes);
  EXPECT_EQ(ReadTextFile(file, 10)->beyond, (TextBeyond{counted, counted - trails + 5, true}));
}

TEST(PastedText, PlatformTextGetsCrLfAndLosesItsByteOrderMark) {
  EXPECT_EQ(PastedText("\n").bytes, "\r\n");
  EXPECT_EQ(PastedText("\xef\xbb\xbf"
                       "first\nsecond\r\nthird\rfourth\n")
                .bytes,
            "first\r\nsecond\r\nthird\rfourth\r\n");
  // Up to the first NUL; what has no form becomes "?".
  EXPECT_EQ(PastedText(std::string("\xc3\xbd\xe3\x81\x82\0tail", 9)).bytes, "?\x82\xa0");
}

}  // namespace lumo
