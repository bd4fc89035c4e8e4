// The encoding of text files, on a corpus of realistic files filed under the
// right answer; those whose bytes are valid in both are named "both-".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "TextEncoding.h"

namespace lumo {

TEST(TextEncoding, EveryFileOfTheCorpusIsReadInItsEncoding) {
  const std::filesystem::path corpus = std::filesystem::path(LUMO_TESTS_DIR) / "textfiles";
  int files = 0;
  std::string wrong;
  for (const auto& [folder, encoding] :
       {std::pair{"utf8", TextEncoding::Utf8}, std::pair{"cp932", TextEncoding::CodePage932}}) {
    for (const std::string& name : test::Entries(corpus / folder)) {
      ++files;
      if (GuessTextEncoding(test::ReadFileBytes(corpus / folder / name), true) != encoding) {
        wrong += " " + std::string(folder) + "/" + name;
      }
    }
  }
  EXPECT_GE(files, 60);
  EXPECT_EQ(wrong, "");
}

// Evidence no realistic file of the corpus shows.
TEST(TextEncoding, CutCharactersAndControls) {
  // A UTF-8 sequence or a code page 932 lead byte cut by the end of the part
  // read is no fault; at the end of the file it is.
  EXPECT_EQ(GuessTextEncoding("Caf\xC3", false), TextEncoding::Utf8);
  EXPECT_EQ(GuessTextEncoding("Caf\xC3", true), TextEncoding::CodePage932);
  EXPECT_EQ(GuessTextEncoding("\xC3\x87", false), TextEncoding::CodePage932);  // ﾃ, cut
  EXPECT_EQ(GuessTextEncoding("\xC3\x87", true), TextEncoding::Utf8);          // Ç
  // ﾂ and an ideographic space, read as UTF-8, hold a C1 control.
  EXPECT_EQ(GuessTextEncoding("\xC2\x81\x40\n", true), TextEncoding::CodePage932);
}

}  // namespace lumo
