// The numbered series and the replacing write: names filled in order, taken
// names never touched, and nothing left behind by a failed write, on both
// ways a file is made before it is named.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FileWrite.h"
#include "TestSupport.h"

namespace lumo {

namespace fs = std::filesystem;
using test::Entries;
using test::ReadFileBytes;
using Names = std::vector<std::string>;

// Writes `bytes`, or half of them and then fails with EIO.
FileWriter Bytes(std::string bytes, bool fail = false) {
  return [bytes = std::move(bytes), fail](int fd) {
    const std::size_t count = fail ? bytes.size() / 2 : bytes.size();
    if (::write(fd, bytes.data(), count) != static_cast<ssize_t>(count)) return errno;
    return fail ? EIO : 0;
  };
}

class NumberedFile : public ::testing::TestWithParam<FileCreation> {
 protected:
  Result<fs::path> Write(const std::string& bytes, bool fail = false) {
    return WriteNumberedFile(dir.path(), "png", Bytes(bytes, fail), GetParam());
  }
  test::TempDir dir;
};

TEST_P(NumberedFile, GapsAreFilledAndTakenNamesLeftAlone) {
  fs::create_directory(dir.path() / "lumo000.png");
  test::WriteFileBytes(dir.path() / "lumo001.png", "private");
  fs::permissions(dir.path() / "lumo001.png", fs::perms::none);
  fs::create_symlink(dir.path() / "elsewhere.png", dir.path() / "lumo002.png");
  test::WriteFileBytes(dir.path() / "lumo004.png", "keep me");
  test::WriteFileBytes(dir.path() / "lumo003.bmp", "other series");
  for (const char* expected : {"lumo003.png", "lumo005.png"}) {
    const auto written = Write(expected);
    ASSERT_TRUE(written) << written.error().message;
    EXPECT_EQ(*written, dir.path() / expected);
    EXPECT_EQ(ReadFileBytes(*written), expected);
  }
  EXPECT_TRUE(fs::is_directory(dir.path() / "lumo000.png"));
  EXPECT_EQ(fs::file_size(dir.path() / "lumo001.png"), 7u);
  EXPECT_FALSE(fs::exists(dir.path() / "elsewhere.png"));  // the dangling link was not followed
  EXPECT_EQ(ReadFileBytes(dir.path() / "lumo004.png"), "keep me");
  EXPECT_EQ(ReadFileBytes(dir.path() / "lumo003.bmp"), "other series");
  // No hidden file stays behind.
  EXPECT_EQ(Entries(dir.path()), (Names{"lumo000.png", "lumo001.png", "lumo002.png", "lumo003.bmp",
                                        "lumo003.png", "lumo004.png", "lumo005.png"}));
}

TEST_P(NumberedFile, NewFilesHonourTheUmask) {
  const mode_t old = ::umask(027);
  const auto written = Write("x");
  ::umask(old);
  ASSERT_TRUE(written) << written.error().message;
  struct stat info {};
  ASSERT_EQ(::stat(written->c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_P(NumberedFile, FullSeriesWritesNothing) {
  for (int n = 0; n < kLabelFileCount; ++n) {
    test::WriteFileBytes(dir.path() / NumberedFileName(n, "png"), "");
  }
  const auto written = Write("new");
  ASSERT_FALSE(written);
  EXPECT_EQ(written.error().message,
            "all names from lumo000.png to lumo999.png are taken in " + dir.path().string());
  EXPECT_EQ(Entries(dir.path()).size(), 1000u);
}

TEST_P(NumberedFile, FailedWriteLeavesNothing) {
  test::WriteFileBytes(dir.path() / "lumo000.png", "old");
  const auto written = Write("half of this is written", true);
  ASSERT_FALSE(written);
  EXPECT_EQ(written.error().errnum, EIO);
  EXPECT_EQ(written.error().message, "cannot write " + (dir.path() / "lumo001.png").string() +
                                         ": Input/output error (the incomplete file was removed)");
  EXPECT_EQ(Entries(dir.path()), Names{"lumo000.png"});
  EXPECT_EQ(ReadFileBytes(dir.path() / "lumo000.png"), "old");
}

TEST_P(NumberedFile, MissingFolderIsOneLineAndCreatesNothing) {
  const auto written = WriteNumberedFile(dir.path() / "missing", "png", Bytes("x"), GetParam());
  ASSERT_FALSE(written);
  EXPECT_EQ(written.error().errnum, ENOENT);
  EXPECT_NE(written.error().message.find((dir.path() / "missing").string()), std::string::npos);
  EXPECT_EQ(written.error().message.find('\n'), std::string::npos);
  EXPECT_TRUE(Entries(dir.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(Creation, NumberedFile,
                         ::testing::Values(FileCreation::Unnamed, FileCreation::HiddenName),
                         [](const auto& info) {
                           return info.param == FileCreation::Unnamed ? "Unnamed" : "HiddenName";
                         });

TEST(ReplacingFile, ReplacesWholeOnlyWhenComplete) {
  const test::TempDir dir;
  const fs::path path = dir.path() / "label.pdf";
  test::WriteFileBytes(path, "old contents");
  const auto failed = WriteReplacingFile(path, Bytes("new contents", true));
  ASSERT_FALSE(failed);
  EXPECT_NE(failed.error().message.find("nothing was changed"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(path), "old contents");
  EXPECT_EQ(Entries(dir.path()), Names{"label.pdf"});

  const auto written = WriteReplacingFile(path, Bytes("new contents"));
  ASSERT_TRUE(written) << written.error().message;
  EXPECT_EQ(ReadFileBytes(path), "new contents");
  EXPECT_EQ(Entries(dir.path()), Names{"label.pdf"});
  // A folder in the way is not replaced.
  fs::create_directory(dir.path() / "folder.pdf");
  EXPECT_FALSE(WriteReplacingFile(dir.path() / "folder.pdf", Bytes("x")));
  EXPECT_TRUE(fs::is_directory(dir.path() / "folder.pdf"));
  EXPECT_EQ(Entries(dir.path()), (Names{"folder.pdf", "label.pdf"}));
}

}  // namespace lumo
