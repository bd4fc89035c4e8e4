// The sheets file: what a person writes is read, what lumo writes reads back
// the same, and every fault is refused on its line.
#include <gtest/gtest.h>

#include "SheetFile.h"
#include "TestSupport.h"

namespace lumo {

TEST(SheetFile, ReadsWhatIsWrittenByHandAndByTheWindow) {
  const auto read = ParseSheets(
      "\xEF\xBB\xBF# mine\r\n"
      "[shop_2]\r\n"
      "  title =  Two from the shop  \r\n"
      "page = 210, 297\n"
      "disc=118\n"
      "position = 105 80\n"
      "position = 0,297\n"
      "[B-1]\n"
      "position = 50 50\n"
      "page = 100 100\n"
      "hole = 0\n"
      "disc = 80\n");
  ASSERT_TRUE(read);
  const std::vector<Sheet> expected{
      {"shop_2", "Two from the shop", 210, 297, 118, 15, {{105, 80}, {0, 297}}},
      {"B-1", "", 100, 100, 80, 0, {{50, 50}}}};
  EXPECT_EQ(*read, expected);

  test::TempDir dir;
  const auto path = dir.path() / "new" / "sheets.conf";
  std::vector<Sheet> written = expected;
  written[1].positions[0] = {0.1 + 0.2, 1.0 / 3};
  ASSERT_TRUE(WriteSheetsFile(path, written));
  EXPECT_EQ(*ReadSheetsFile(path), written);
  // What the file cannot hold is not written over it.
  written[0].title = "two\n[lines]";
  EXPECT_EQ(WriteSheetsFile(path, written).error().name, "title");
  written[0] = written[1];
  EXPECT_EQ(WriteSheetsFile(path, written).error().reason, ErrorReason::SheetNameRefused);
  EXPECT_EQ(ReadSheetsFile(dir.path() / "none").error().reason, ErrorReason::NotFound);
  test::WriteFileBytes(path, std::string(kMaxSheetsFileBytes + 1, '#'));
  EXPECT_EQ(ReadSheetsFile(path).error().reason, ErrorReason::SheetsTooLarge);
}

TEST(SheetFile, RefusesEachFaultOnItsLine) {
  const std::string ok = "page = 210 297\ndisc = 117\nposition = 105 80\n";
  struct Case {
    std::string text;
    ErrorReason reason;
    int line;
    std::string name;
  };
  const Case cases[] = {
      {"page = 210 297\n", ErrorReason::SheetLineUnknown, 1, "page"},
      {"[a]\n" + ok + "size = 3\n", ErrorReason::SheetLineUnknown, 5, "size"},
      {"[a]\n" + ok + "[b\n", ErrorReason::SheetLineUnknown, 5, "[b"},
      {"[a]\n" + ok + "disc = 110\n", ErrorReason::SheetKeyRepeated, 5, "disc"},
      {"[a]\npage = 210\n", ErrorReason::SheetValueRefused, 2, "page"},
      {"[a]\npage = 210 297 1\n", ErrorReason::SheetValueRefused, 2, "page"},
      {"[a]\npage = 210 1001\ndisc = 9\nposition = 1 1\n", ErrorReason::SheetValueRefused, 2,
       "page"},
      {"[a]\npage = 9 9\ndisc = nan\nposition = 1 1\n", ErrorReason::SheetValueRefused, 3, "disc"},
      {"[a]\n" + ok + "hole = 117\n", ErrorReason::SheetValueRefused, 5, "hole"},
      {"[a]\npage = 210 297\ndisc = 10\nposition = 5 5\n", ErrorReason::SheetValueRefused, 3,
       "hole"},
      {"[a]\n" + ok + "position = 1 297.01\n", ErrorReason::SheetValueRefused, 5, "position"},
      {"[a]\n" + ok + "position = 1x 2\n", ErrorReason::SheetValueRefused, 5, "position"},
      {"[a]\n" + ok + test::Repeat("position = 1 1\n", 24), ErrorReason::SheetValueRefused, 28,
       "position"},
      {"[a]\n" + ok + "title = a\tb\n", ErrorReason::SheetValueRefused, 5, "title"},
      {"[a]\npage = 210 297\ndisc = 117\n", ErrorReason::SheetIncomplete, 1, "position"},
      {"\n[a]\n" + ok + "[a]\n" + ok, ErrorReason::SheetNameRefused, 6, "a"},
      {"[a4-2]\n" + ok, ErrorReason::SheetNameRefused, 1, "a4-2"},
      {"[centred]\n" + ok, ErrorReason::SheetNameRefused, 1, "centred"},
      {"[-a]\n" + ok, ErrorReason::SheetNameRefused, 1, "-a"},
      {"[a b]\n" + ok, ErrorReason::SheetNameRefused, 1, "a b"},
      {"[" + std::string(41, 'a') + "]\n" + ok, ErrorReason::SheetNameRefused, 1,
       std::string(41, 'a')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto read = ParseSheets(c.text);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().reason, c.reason);
    EXPECT_EQ(read.error().line, c.line);
    EXPECT_EQ(read.error().name, c.name);
  }
}

}  // namespace lumo
