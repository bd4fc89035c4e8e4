// Text that comes in without a window: the prompt, the ".txt" test, text files
// (byte for byte or converted from UTF-8) and pasted text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "CodePage932.h"
#include "TestSupport.h"
#include "TextIntake.h"

namespace lumo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFileBytes;

constexpr std::string_view kA = "\x82\xa0";  // あ in code page 932
constexpr std::string_view kAUtf8 = "\xe3\x81\x82";

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(StartupPrompt, IsTheSeventySixBytesOfTheWordsInCodePage932) {
  EXPECT_EQ(kStartupPrompt.size(), 76u);
  // Built here through the converter, so a slip in the byte escapes shows.
  const std::string expected = cp932::FromUtf8(
      "\n\n\n\n\u3000ここにテキスト・ファイルや\r\nフォルダをドラッグ・ドロップしてください\n\r");
  EXPECT_EQ(kStartupPrompt, expected);
}

TEST(TxtExtension, LastFourBytesInAnyCase) {
  for (const char* path : {"notes.TXT", "Notes.Txt", "/home/a/notes.txt", ".txt", "x.tXt"}) {
    EXPECT_TRUE(HasTxtExtension(path)) << path;
  }
  for (const char* path : {"notes.text", "notes.txt.bak", "txt", "", "xt", "notes_txt",
                           "/home/a/photos", "notes.txt/"}) {
    EXPECT_FALSE(HasTxtExtension(path)) << path;
  }
}

class TextFileTest : public ::testing::Test {
 protected:
  fs::path Write(const std::string& bytes) {
    const fs::path path = dir_.path() / "notes.txt";
    WriteFileBytes(path, bytes);
    return path;
  }
  TempDir dir_;
};

TEST_F(TextFileTest, CapacityCutsBytesNulAndLoneLeadByteKept) {
  const std::string hundred = Repeat("0123456789", 10);
  EXPECT_EQ(ReadTextFile(Write(hundred), 100).text, hundred);
  EXPECT_EQ(ReadTextFile(Write(hundred + "x"), 100).text, hundred);
  EXPECT_EQ(ReadTextFile(Write(hundred), 1000).text, hundred);

  const std::string withNul("a\0b\0\0c", 6);
  const TextFileResult nul = ReadTextFile(Write(withNul), 100);
  ASSERT_TRUE(nul.ok) << nul.error;
  EXPECT_EQ(nul.text, withNul);

  const TextFileResult empty = ReadTextFile(Write(""), 100);
  EXPECT_TRUE(empty.ok);
  EXPECT_TRUE(empty.text.empty());
  EXPECT_TRUE(ReadTextFile(Write(hundred), 0).text.empty());
}

TEST_F(TextFileTest, ShiftJisFileIsTakenByteForByte) {
  // Code page 932 text is not valid UTF-8, so nothing is converted; the cut
  // may leave a lone lead byte, as it always did.
  const std::string sjis = "\x82\xa0\x82\xa2\x82\xa4\r\n\x83\x65\x83\x4c";
  EXPECT_EQ(ReadTextFile(Write(sjis), 100).text, sjis);
  EXPECT_EQ(ReadTextFile(Write(sjis), 3).text, "\x82\xa0\x82");
}

TEST_F(TextFileTest, Utf8IsConvertedBeforeTheCutAndBomDropped) {
  const std::string utf8 = "\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86\r\nab";  // あいう CR LF ab
  const std::string sjis = "\x82\xa0\x82\xa2\x82\xa4\r\nab";
  EXPECT_EQ(ReadTextFile(Write(utf8), 100).text, sjis);
  EXPECT_EQ(ReadTextFile(Write("\xef\xbb\xbf" + utf8), 100).text, sjis);
  // Cut after conversion: 3 bytes of code page 932, not of UTF-8.
  EXPECT_EQ(ReadTextFile(Write(utf8), 3).text, "\x82\xa0\x82");
  // A byte-order mark alone makes a file UTF-8; the ASCII after it stays.
  EXPECT_EQ(ReadTextFile(Write("\xef\xbb\xbfplain"), 100).text, "plain");
  // Valid UTF-8 without a multi-byte sequence is plain bytes either way.
  EXPECT_EQ(ReadTextFile(Write("plain\r\n"), 100).text, "plain\r\n");
}

TEST_F(TextFileTest, InvalidUtf8AnywhereInReachIsTakenByteForByte) {
  const std::string mixed = std::string(kAUtf8) + "\xff" + std::string(kAUtf8);
  EXPECT_EQ(ReadTextFile(Write(mixed), 100).text, mixed);
  // A sequence cut by the end of the file is not valid either.
  const std::string cut = std::string(kAUtf8) + "\xe3\x81";
  EXPECT_EQ(ReadTextFile(Write(cut), 100).text, cut);
}

TEST_F(TextFileTest, LongUtf8FileFillsTheCapacity) {
  // Only the start of a long file is read; the part read ends inside a
  // character, which must not make the file look invalid.
  EXPECT_EQ(ReadTextFile(Write(Repeat(kAUtf8, 1000)), 10).text, Repeat(kA, 5));
  EXPECT_EQ(ReadTextFile(Write("\xef\xbb\xbf" + Repeat(kAUtf8, 1000)), 11).text,
            Repeat(kA, 5) + "\x82");
  // Four-byte characters have no code page 932 form and become one "?" each,
  // so even they fill the capacity.
  EXPECT_EQ(ReadTextFile(Write(Repeat("\xf0\x9f\x98\x80", 100)), 10).text, Repeat("?", 10));
  // A large capacity with a small file reads just the file.
  EXPECT_EQ(ReadTextFile(Write(std::string(kAUtf8)), 2'000'000'000).text, kA);
}

TEST_F(TextFileTest, UnreadablePathsGiveAReason) {
  const TextFileResult missing = ReadTextFile(dir_.path() / "missing.txt", 100);
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("missing.txt"), std::string::npos) << missing.error;
  EXPECT_NE(missing.error.find("No such file"), std::string::npos) << missing.error;

  fs::create_directory(dir_.path() / "x.txt");
  const TextFileResult folder = ReadTextFile(dir_.path() / "x.txt", 100);
  EXPECT_FALSE(folder.ok);
  EXPECT_NE(folder.error.find("folder"), std::string::npos) << folder.error;

  if (::geteuid() != 0) {
    const fs::path secret = Write("secret");
    fs::permissions(secret, fs::perms::none);
    const TextFileResult denied = ReadTextFile(secret, 100);
    EXPECT_FALSE(denied.ok);
    EXPECT_NE(denied.error.find("Permission denied"), std::string::npos) << denied.error;
  }
}

TEST(Paste, Utf8UpToTheFirstNulConverted) {
  EXPECT_EQ(PastedText(std::string_view("ab\0cd", 5)), "ab");
  EXPECT_EQ(PastedText("\xe3\x81\x82\r\nx"), "\x82\xa0\r\nx");
  EXPECT_EQ(PastedText(""), "");
}

}  // namespace
}  // namespace lumo
