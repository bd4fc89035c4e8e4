// The folder listing: its line format, its ordering, and real folders.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <numeric>
#include <random>

#include "FolderListing.h"
#include "FolderListingOrder.h"
#include "TestSupport.h"

namespace lumo {

namespace fs = std::filesystem;

// Sets TZ for one scope; the tests run without TZ otherwise.
struct ScopedZone {
  explicit ScopedZone(const char* zone) { setenv("TZ", zone, 1), tzset(); }
  ~ScopedZone() { unsetenv("TZ"), tzset(); }
};

FolderEntry Entry(std::string name, std::uint64_t size, std::int64_t seconds, bool folder = false) {
  return {std::move(name), size, {seconds, 0}, folder};
}

// Each entry shows its own time, whichever the lines around it show.
TEST(FolderListingLine, FormatsInLocalTimeWhateverTheLocale) {
  // The window program runs in the user's locale; a decimal comma must not show.
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  std::string lines;
  {
    const ScopedZone japan("JST-9");
    lines = FormatFolderListing(std::vector{Entry("report.txt", 2'345'678, 1709615229),
                                            Entry("photos", 0, 1700436600, true)})
                .bytes;
  }
  const ScopedZone utc("UTC0");
  std::vector<FolderEntry> sizes;
  for (const std::uint64_t size :
       {std::uint64_t{4'999}, std::uint64_t{5'000}, std::uint64_t{15'000}, UINT64_MAX})
    sizes.push_back(Entry("a", size, 1709615229 + static_cast<std::int64_t>(sizes.size())));
  lines += FormatFolderListing(sizes).bytes;
  std::setlocale(LC_ALL, "C");
  // Megabytes with two decimals; 15,000 is just below 0.015 as a double.
  EXPECT_EQ(lines,
            "report.txt 2.35 MB 2024/03/05 14:07:09\r\n"
            "photos          2023/11/20 08:30:00\r\n"
            "a 0.00 MB 2024/03/05 05:07:09\r\n"
            "a 0.01 MB 2024/03/05 05:07:10\r\n"
            "a 0.01 MB 2024/03/05 05:07:11\r\n"
            "a 18446744073709.55 MB 2024/03/05 05:07:12\r\n");
  if (!german) GTEST_SKIP() << "de_DE.UTF-8 is missing (scripts/install-deps makes it)";
}

TEST(FolderListingTime, BirthInTicksOrTheLastChange) {
  EXPECT_EQ(CreationTime(EntryTime{5, 199}, {9, 0}), (EntryTime{5, 100}));
  EXPECT_EQ(CreationTime(EntryTime{0, 0}, {9, 350}), (EntryTime{9, 300}));  // zero: not recorded
  EXPECT_EQ(CreationTime(EntryTime{0, 1}, {9, 350}), (EntryTime{0, 0}));
  EXPECT_EQ(CreationTime(std::nullopt, {9, 99}), (EntryTime{9, 0}));
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
  std::mt19937 random(2024);
  for (int round = 0; round < 10'000; ++round) {
    const bool large = round % 100 == 0;
    std::vector<std::uint64_t> keys(random() % (large ? 600 : 40));
    // Few distinct values, so most times are shared by several entries.
    const std::uint64_t spread = 1 + random() % (large ? 40 : 6);
    for (auto& key : keys) key = random() % spread;
    ASSERT_EQ(ExchangeSortOrder(keys), LiteralExchangeOrder(keys)) << testing::PrintToString(keys);
  }
  // Saw-tooth shapes make the longest walks; the largest keys must compare unsigned.
  for (std::size_t teeth = 2; teeth < 40; teeth += 5) {
    std::vector<std::uint64_t> keys(400);
    for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = UINT64_MAX - i % teeth;
    ASSERT_EQ(ExchangeSortOrder(keys), LiteralExchangeOrder(keys)) << teeth;
  }
}

TEST(FolderListingOrder, PutsFoldersFirstEachGroupInExchangeOrder) {
  std::vector<FolderEntry> entries = {Entry("b", 1, 800),       Entry("raw", 0, 1000, true),
                                      Entry("d", 1, 800),       Entry(".", 0, 100, true),
                                      Entry("..", 0, 50, true), Entry("a", 1, 700),
                                      Entry("c", 1, 800)};
  entries[6].created.nanoseconds = 100;  // the same second is not the same time
  OrderFolderEntries(entries);
  std::string names;
  for (const auto& entry : entries) names += entry.name.bytes + ' ';
  EXPECT_EQ(names, ".. . raw a d b c ");  // b and d, made together, changed places
}

// The listing's lines without their CR LF; none for a folder that cannot be listed.
std::vector<std::string> ListingLines(const fs::path& folder) {
  std::vector<std::string> lines;
  const Result<LabelText> read = BuildFolderListing(folder.string());
  std::string listing = read ? read->bytes : std::string();
  for (std::size_t end; (end = listing.find("\r\n")) != std::string::npos;
       listing.erase(0, end + 2))
    lines.push_back(listing.substr(0, end));
  EXPECT_TRUE(listing.empty()) << listing;  // every line ends in CR LF
  return lines;
}

TEST(FolderListingDisk, ListsEveryEntryAsWhatItIs) {
  const test::TempDir dir;
  const fs::path& root = dir.path();
  fs::create_directory(root / "photos");
  fs::create_directory_symlink("photos", root / "link");
  test::WriteFileBytes(root / "写真メモ.txt", std::string(15'000, 'x'));
  test::WriteFileBytes(root / "bad\xFF.bin", "");
  test::WriteFileBytes(root / "two\nlines", "");
  test::WriteFileBytes(root / "del\x7F", "");
  test::WriteFileBytes(root / "huge.img", "");
  fs::resize_file(root / "huge.img", 4'500'000'000);  // sparse
  // The creation time where the file system records one, else the last change.
  const timespec times[2] = {{978'307'200, 0}, {978'307'200, 0}};  // 2001-01-01 UTC
  ASSERT_EQ(utimensat(AT_FDCWD, (root / "huge.img").c_str(), times, 0), 0);
  struct statx info {};
  ASSERT_EQ(statx(AT_FDCWD, (root / "huge.img").c_str(), 0, STATX_BTIME, &info), 0);
  const bool born = (info.stx_mask & STATX_BTIME) != 0 && info.stx_btime.tv_sec != 0;
  const ScopedZone utc("UTC0");
  std::vector<std::string> lines = ListingLines(root);
  ASSERT_EQ(lines.size(), 9u);
  // Folders first, then the files from the oldest on.
  for (std::size_t i = 4; i < lines.size(); ++i) {
    EXPECT_LE(lines[i - 1].substr(lines[i - 1].size() - 19), lines[i].substr(lines[i].size() - 19));
  }
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "huge.img 4500.00 MB 2001/01/01 00:00:00"),
            born ? 0 : 1);
  for (std::string& line : lines) line.resize(line.size() - 20);  // without the time
  std::sort(lines.begin(), lines.begin() + 3);
  std::sort(lines.begin() + 3, lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{
                       ".         ", "..         ", "photos         ", "bad?.bin 0.00 MB",
                       "del? 0.00 MB", "huge.img 4500.00 MB",
                       "link 0.00 MB",  // the link, not the folder
                       "two?lines 0.00 MB", "\x8E\xCA\x90\x5E\x83\x81\x83\x82.txt 0.01 MB"}));
  EXPECT_EQ(BuildFolderListing("").error().reason, ErrorReason::NotFound);
  const auto withNul = BuildFolderListing(std::string(root.string()).insert(1, 1, '\0'));
  EXPECT_EQ(std::tuple(withNul.error().reason, withNul.error().errnum),
            std::tuple(ErrorReason::Unlistable, EINVAL));
}

}  // namespace lumo
