// Tests of the folder listing: the line format, the ordering, and real folders.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <numeric>
#include <random>

#include "FolderListing.h"
#include "FolderListingOrder.h"
#include "TestSupport.h"

namespace lumo {
namespace {

// Sets TZ for one scope; the tests run without TZ otherwise.
struct ScopedZone {
  explicit ScopedZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedZone() {
    unsetenv("TZ");
    tzset();
  }
};

constexpr std::int64_t kMarch5th140709Jst = 1709615229;

FolderEntry File(std::string name, std::uint64_t size, std::int64_t seconds = 0) {
  return {std::move(name), size, {seconds, 0}, false};
}
FolderEntry Folder(std::string name, std::int64_t seconds = 0) {
  return {std::move(name), 0, {seconds, 0}, true};
}

std::string SizeField(std::uint64_t size) {
  const std::string line = FormatFolderListingLine(File("f", size));
  return line.substr(1, line.find(" MB") + 2);
}

TEST(FolderListingLine, FormatsFilesAndFoldersInLocalTime) {
  {
    const ScopedZone japan("JST-9");
    EXPECT_EQ(FormatFolderListingLine(File("report.txt", 2'345'678, kMarch5th140709Jst)),
              "report.txt 2.35 MB 2024/03/05 14:07:09\r\n");
    EXPECT_EQ(FormatFolderListingLine(Folder("photos", 1700436600)),
              "photos          2023/11/20 08:30:00\r\n");
  }
  const ScopedZone utc("UTC0");
  EXPECT_EQ(FormatFolderListingLine(File("a", 0, kMarch5th140709Jst)),
            "a 0.00 MB 2024/03/05 05:07:09\r\n");
}

TEST(FolderListingLine, SizesAreMegabytesRoundedLikePrintf) {
  EXPECT_EQ(SizeField(0), " 0.00 MB");
  EXPECT_EQ(SizeField(4'999), " 0.00 MB");
  EXPECT_EQ(SizeField(5'000), " 0.01 MB");
  EXPECT_EQ(SizeField(15'000), " 0.01 MB");  // just below 0.015 as a double
  EXPECT_EQ(SizeField(4'500'000'000), " 4500.00 MB");
  EXPECT_EQ(SizeField(UINT64_MAX), " 18446744073709.55 MB");

  // Values at and near halves of a hundredth round as printf rounds them.
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  std::mt19937_64 random(7);
  for (std::uint64_t i = 0; i < 20'000; ++i) {
    const std::uint64_t size = i < 10'000 ? i * 625 + i % 3 : random() >> (random() % 64);
    char expected[64];
    std::snprintf(expected, sizeof expected, " %.2f MB", static_cast<double>(size) * 1e-6);
    ASSERT_EQ(SizeField(size), expected) << size;
  }
}

TEST(FolderListingLine, IgnoresTheUsersLocale) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps generates it)";
  }
  char german[16];
  std::snprintf(german, sizeof german, "%.2f", 2.35);
  const ScopedZone japan("JST-9");
  const std::string line =
      FormatFolderListingLine(File("report.txt", 2'345'678, kMarch5th140709Jst));
  std::setlocale(LC_ALL, "C");
  ASSERT_STREQ(german, "2,35") << "the locale should have a decimal comma";
  EXPECT_EQ(line, "report.txt 2.35 MB 2024/03/05 14:07:09\r\n");
}

// The exchange ordering run literally, as the reference.
std::vector<std::size_t> LiteralExchangeOrder(const std::vector<std::uint64_t>& keys) {
  std::vector<std::size_t> items(keys.size());
  std::iota(items.begin(), items.end(), std::size_t{0});
  for (std::size_t k = 0; k + 1 < items.size(); ++k) {
    for (std::size_t j = k + 1; j < items.size(); ++j) {
      if (keys[items[k]] > keys[items[j]]) std::swap(items[k], items[j]);
    }
  }
  return items;
}

TEST(FolderListingOrder, MatchesTheExchangeOrderingEqualTimesIncluded) {
  using Keys = std::vector<std::uint64_t>;
  using Order = std::vector<std::size_t>;
  EXPECT_EQ(ExchangeSortOrder(Keys{5, 5, 3}), (Order{2, 1, 0}));
  EXPECT_EQ(ExchangeSortOrder(Keys{5, 3, 5}), (Order{1, 0, 2}));
  EXPECT_EQ(ExchangeSortOrder(Keys{}), Order{});

  std::mt19937 random(2024);
  for (int round = 0; round < 30'000; ++round) {
    const bool large = round % 100 == 0;
    Keys keys(random() % (large ? 600 : 40));
    // Few distinct values, so most times are shared by several entries.
    const std::uint64_t spread = 1 + random() % (large ? 40 : 6);
    for (auto& key : keys) key = random() % spread;
    ASSERT_EQ(ExchangeSortOrder(keys), LiteralExchangeOrder(keys)) << testing::PrintToString(keys);
  }
  // Saw-tooth shapes make the longest walks; the largest keys must compare unsigned.
  for (std::size_t teeth = 2; teeth < 40; teeth += 5) {
    Keys keys(400);
    for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = UINT64_MAX - i % teeth;
    ASSERT_EQ(ExchangeSortOrder(keys), LiteralExchangeOrder(keys)) << teeth;
  }
}

TEST(FolderListingOrder, PutsFoldersFirstEachGroupOldestFirst) {
  std::vector<FolderEntry> entries = {File("b.jpg", 1, 800), Folder("raw", 1000),
                                      File("a.jpg", 1, 900), Folder(".", 100), Folder("..", 50)};
  OrderFolderEntries(entries);
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"..", ".", "raw", "b.jpg", "a.jpg"}));

  entries = {File("late", 0, 5), File("early", 0, 5)};
  entries[0].created.nanoseconds = 2;  // the same second is not the same time
  OrderFolderEntries(entries);
  EXPECT_EQ(entries[0].name, "early");
}

std::string Pattern(const std::filesystem::path& folder) { return folder.string() + "/*"; }

// The listing's lines without their CR LF.
std::vector<std::string> Lines(const std::string& listing) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = listing.find("\r\n", start)) != std::string::npos;) {
    lines.push_back(listing.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_TRUE(listing.empty() || listing.ends_with("\r\n"));
  return lines;
}

TEST(FolderListingDisk, EmptyFolderListsItselfAndItsParent) {
  const test::TempDir dir;
  auto lines = Lines(BuildFolderListing(Pattern(dir.path())));
  std::sort(lines.begin(), lines.end());
  ASSERT_EQ(lines.size(), 2u);
  // Ten blanks between the name and "YYYY/MM/DD HH:MM:SS".
  EXPECT_EQ(lines[0].find_first_not_of(' ', 1), 11u) << lines[0];
  EXPECT_EQ(lines[0].size(), 30u);
  EXPECT_TRUE(lines[1].starts_with("..          ")) << lines[1];
  EXPECT_EQ(lines[1].size(), 31u);
}

TEST(FolderListingDisk, ListsEveryEntryAsWhatItIs) {
  const test::TempDir dir;
  const auto& root = dir.path();
  std::filesystem::create_directory(root / "photos");
  std::filesystem::create_directory_symlink("photos", root / "link");
  test::WriteFileBytes(root / "\xE5\x86\x99\xE7\x9C\x9F\xE3\x83\xA1\xE3\x83\xA2.txt",  // 写真メモ
                       std::string(15'000, 'x'));
  test::WriteFileBytes(root / "bad\xFF.bin", "");
  test::WriteFileBytes(root / "two\nlines", "");
  test::WriteFileBytes(root / "huge.img", "");
  std::filesystem::resize_file(root / "huge.img", 4'500'000'000);  // sparse

  const auto lines = Lines(BuildFolderListing(Pattern(root)));
  ASSERT_EQ(lines.size(), 8u);
  const auto field = [&](const std::string& name) {
    const auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.starts_with(name + ' ');
    });
    // What lies between the name and " YYYY/MM/DD HH:MM:SS".
    return found == lines.end() ? std::string("missing")
                                : found->substr(name.size(), found->size() - 20 - name.size());
  };
  EXPECT_EQ(field("\x8E\xCA\x90\x5E\x83\x81\x83\x82.txt"), " 0.01 MB");
  EXPECT_EQ(field("bad?.bin"), " 0.00 MB");
  EXPECT_EQ(field("two?lines"), " 0.00 MB");
  EXPECT_EQ(field("huge.img"), " 4500.00 MB");
  EXPECT_EQ(field("link"), " 0.00 MB");  // the link itself, not the folder it names
  EXPECT_EQ(field("photos"), std::string(9, ' '));

  // ".", ".." and photos first, then the files from the oldest on.
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(lines[i].find(" MB "), std::string::npos);
  for (std::size_t i = 4; i < lines.size(); ++i) {
    EXPECT_LE(lines[i - 1].substr(lines[i - 1].size() - 19), lines[i].substr(lines[i].size() - 19));
  }
}

TEST(FolderListingDisk, ShowsTheCreationTimeWhereOneIsRecorded) {
  const test::TempDir dir;
  const auto file = dir.path() / "old";
  test::WriteFileBytes(file, "");
  const timespec times[2] = {{978'307'200, 0}, {978'307'200, 0}};  // 2001-01-01 UTC
  ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  struct statx info {};
  ASSERT_EQ(statx(AT_FDCWD, file.c_str(), 0, STATX_BTIME, &info), 0);
  const bool birthRecorded = (info.stx_mask & STATX_BTIME) != 0 && info.stx_btime.tv_sec != 0;

  const ScopedZone utc("UTC0");
  const std::string listing = BuildFolderListing(Pattern(dir.path()));
  EXPECT_EQ(listing.find("old 0.00 MB 2001/01/01 00:00:00\r\n") == std::string::npos, birthRecorded)
      << listing;
}

TEST(FolderListingDisk, ListsNothingForWhatIsNotAReadableFolder) {
  const test::TempDir dir;
  test::WriteFileBytes(dir.path() / "photo.jpg", "jpeg");
  EXPECT_EQ(BuildFolderListing(Pattern(dir.path() / "missing")), "");
  EXPECT_EQ(BuildFolderListing(Pattern(dir.path() / "photo.jpg")), "");
  EXPECT_EQ(BuildFolderListing(""), "");
  EXPECT_EQ(BuildFolderListing(Pattern(dir.path()).insert(1, 1, '\0')), "");
  if (geteuid() != 0) {  // permissions do not hold back root
    std::filesystem::create_directory(dir.path() / "closed");
    std::filesystem::permissions(dir.path() / "closed", std::filesystem::perms::none);
    EXPECT_EQ(BuildFolderListing(Pattern(dir.path() / "closed")), "");
  }
}

}  // namespace
}  // namespace lumo
