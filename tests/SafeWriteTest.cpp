// Whole-file writes: the numbered series fills gaps and never touches a taken
// name, and nothing is left behind by a failed write, on both ways a file is
// made before it is named; a replaced file changes only once complete.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <utility>

#include "HiddenFile.h"
#include "SafeWrite.h"
#include "TestSupport.h"

namespace lumo {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Entries;
using test::ReadFileBytes;
using Names = std::vector<std::string>;

// A close that reports this errno once the file is closed (a late write
// error), or 0.
int gCloseError = 0;

// The system's calls, but for a file system without unnamed files.
FileSystemCalls WithoutUnnamedFiles() {
  FileSystemCalls calls = SystemFileCalls();
  calls.open = [](const char* path, int flags, mode_t mode) {
    if ((flags & O_TMPFILE) == O_TMPFILE) {
      errno = EOPNOTSUPP;
      return -1;
    }
    return ::open(path, flags, mode);
  };
  return calls;
}

// Writes `bytes`, or half of them and then fails with EIO.
FileWriter Bytes(std::string bytes, bool fail = false) {
  return [bytes = std::move(bytes), fail](int fd) -> Result<void> {
    const std::size_t count = fail ? bytes.size() / 2 : bytes.size();
    if (::write(fd, bytes.data(), count) != static_cast<ssize_t>(count) || fail) {
      return Error(ErrorReason::CannotWrite, EIO);
    }
    return {};
  };
}

class NumberedFile : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    calls = GetParam() ? SystemFileCalls() : WithoutUnnamedFiles();
    calls.close = [](int fd) {
      ::close(fd);
      errno = gCloseError;
      return gCloseError == 0 ? 0 : -1;
    };
  }
  void TearDown() override { gCloseError = 0; }
  Result<fs::path> Write(const std::string& bytes, bool fail = false) {
    return WriteNumberedFile(dir.path(), "png", Bytes(bytes, fail), calls);
  }
  FileSystemCalls calls{};
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
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, dir.path() / expected);
    EXPECT_EQ(ReadFileBytes(*written), expected);
  }
  EXPECT_TRUE(fs::is_directory(dir.path() / "lumo000.png"));
  EXPECT_EQ(fs::file_size(dir.path() / "lumo001.png"), 7u);
  EXPECT_FALSE(fs::exists(dir.path() / "elsewhere.png"));  // the dangling link was not followed
  EXPECT_EQ(ReadFileBytes(dir.path() / "lumo004.png"), "keep me");
  // No hidden file stays behind.
  EXPECT_EQ(Entries(dir.path()), (Names{"lumo000.png", "lumo001.png", "lumo002.png", "lumo003.bmp",
                                        "lumo003.png", "lumo004.png", "lumo005.png"}));
  // New files are made as any other: 0666 less the umask.
  const mode_t old = ::umask(027);
  const auto masked = Write("x");
  ::umask(old);
  struct stat info {};
  ASSERT_TRUE(masked && ::stat(masked->c_str(), &info) == 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_P(NumberedFile, FullSeriesWritesNothing) {
  for (int n = 0; n + 1 < kLabelFileCount; ++n) {
    test::WriteFileBytes(dir.path() / NumberedFileName(n, "png"), "");
  }
  EXPECT_EQ(Write("last")->filename(), "lumo999.png");
  const auto written = Write("new");
  ASSERT_FALSE(written);
  EXPECT_EQ(std::tuple(written.error().reason, written.error().path, written.error().name),
            std::tuple(ErrorReason::SeriesFull, dir.path().string(), std::string("png")));
  EXPECT_EQ(Entries(dir.path()).size(), 1000u);
}

// A write that fails, at once or only when the file is closed, leaves nothing.
TEST_P(NumberedFile, FailedWriteLeavesNothing) {
  test::WriteFileBytes(dir.path() / "lumo000.png", "old");
  for (const bool lateError : {false, true}) {
    gCloseError = lateError ? EIO : 0;
    const auto written = Write("half of this is written", !lateError);
    ASSERT_FALSE(written) << lateError;
    EXPECT_EQ(std::tuple(written.error().reason, written.error().errnum, written.error().path),
              std::tuple(ErrorReason::CannotWrite, EIO, (dir.path() / "lumo001.png").string()));
    EXPECT_EQ(Entries(dir.path()), Names{"lumo000.png"});
  }
  EXPECT_EQ(ReadFileBytes(dir.path() / "lumo000.png"), "old");
  const auto missing = WriteNumberedFile(dir.path() / "missing", "png", Bytes("x"), calls);
  ASSERT_FALSE(missing);
  EXPECT_EQ(std::tuple(missing.error().reason, missing.error().errnum),
            std::tuple(ErrorReason::CannotCreate, ENOENT));
}

INSTANTIATE_TEST_SUITE_P(Creation, NumberedFile, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Unnamed" : "HiddenName"; });

// Without the privilege for AT_EMPTY_PATH, /proc or hard links (a chroot on a
// vfat stick), a file is still written, and a name that appears meanwhile is
// still never replaced.
TEST(NumberedFile, FallsBackToProcThenToARenameThatReplacesNothing) {
  const test::TempDir dir;
  // How linking an unnamed file fails: 0 (it does not), ENOENT (no privilege
  // and no /proc, where links are refused too), or EIO.
  static int failure = 0;
  static fs::path racer;
  racer = dir.path() / "lumo000.png";
  FileSystemCalls calls = SystemFileCalls();
  calls.linkat = [](int fromDir, const char* from, int toDir, const char* to, int flags) {
    const bool unnamed = (flags & AT_EMPTY_PATH) != 0 || std::string_view(from).starts_with("/proc/");
    if ((flags & AT_EMPTY_PATH) != 0 || (failure != 0 && unnamed) || failure == ENOENT) {
      errno = (flags & AT_EMPTY_PATH) != 0 ? ENOENT : unnamed ? failure : EPERM;
      return -1;
    }
    return ::linkat(fromDir, from, toDir, to, flags);
  };
  calls.renameat2 = [](int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    if (!racer.empty()) test::WriteFileBytes(std::exchange(racer, {}), "another writer's");
    return ::renameat2(fromDir, from, toDir, to, flags);
  };
  int writes = 0;
  const auto counted = [&](std::string bytes) {
    return [&writes, writer = Bytes(std::move(bytes))](int fd) { return ++writes, writer(fd); };
  };
  EXPECT_EQ(WriteNumberedFile(dir.path(), "pdf", counted("via /proc"), calls)->filename(),
            "lumo000.pdf");
  EXPECT_EQ(writes, 1);
  failure = ENOENT;
  EXPECT_EQ(WriteNumberedFile(dir.path(), "png", counted("renamed"), calls)->filename(),
            "lumo001.png");
  EXPECT_EQ(ReadFileBytes(dir.path() / "lumo000.png"), "another writer's");
  EXPECT_EQ(ReadFileBytes(dir.path() / "lumo001.png"), "renamed");
  // Any other failure to name it is the write's failure, not a reason to write again.
  failure = EIO;
  EXPECT_EQ(WriteNumberedFile(dir.path(), "svg", counted("x"), calls).error().errnum, EIO);
  EXPECT_EQ(writes, 4);
  EXPECT_EQ(Entries(dir.path()), (Names{"lumo000.pdf", "lumo000.png", "lumo001.png"}));
}

// What a killed writer left is removed once surely stale: this user's, older
// than an hour, from another boot or by a process gone; nothing else.
TEST(NumberedFile, StaleHiddenFilesAreRemoved) {
  if (BootId().empty()) GTEST_SKIP() << "this system tells no boot id";
  const test::TempDir dir;
  pid_t gone = 4'000'000;
  while (::kill(gone, 0) == 0 || errno != ESRCH) --gone;
  const std::string alive = std::to_string(::getpid()), dead = std::to_string(gone);
  const auto hidden = [&](const std::string& boot, const std::string& pid, bool old) {
    const std::string name = ".lumo-" + boot + "-" + pid + (old ? "-1.tmp" : "-2.tmp");
    test::WriteFileBytes(dir.path() / name, "");
    if (old) fs::last_write_time(dir.path() / name, fs::file_time_type::clock::now() - 2h);
    return name;
  };
  hidden("0badb007", alive, true);
  hidden(BootId(), dead, true);
  Names kept = {hidden("0badb007", alive, false), hidden(BootId(), alive, true),
                hidden(BootId(), dead, false), "lumo000.png"};
  if (::geteuid() == 0) {  // another user's, which only root can make here
    kept.push_back(hidden("0badc0de", alive, true));
    ASSERT_EQ(::chown((dir.path() / kept.back()).c_str(), 65534, 65534), 0);
  }
  ASSERT_TRUE(WriteNumberedFile(dir.path(), "png", Bytes("x")));
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(Entries(dir.path()), kept);
}

// A folder that cannot be looked into says why, never that every name is taken.
TEST(NumberedFile, AFolderThatIsNoneSaysWhy) {
  const test::TempDir dir;
  test::WriteFileBytes(dir.path() / "afile", "");
  fs::create_symlink("loop", dir.path() / "loop");
  fs::create_directory(dir.path() / "closed");
  fs::permissions(dir.path() / "closed", fs::perms::none);
  const auto errnumOf = [&](const char* name) {
    const auto written = WriteNumberedFile(dir.path() / name, "svg", Bytes("x"));
    return written                                               ? 0
           : written.error().reason == ErrorReason::CannotCreate ? written.error().errnum
                                                                 : -1;
  };
  EXPECT_EQ(errnumOf("afile"), ENOTDIR);
  EXPECT_EQ(errnumOf("loop"), ELOOP);
  // A folder one may not enter; root may enter any, so an unprivileged child tries.
  if (::geteuid() != 0) {
    EXPECT_EQ(errnumOf("closed"), EACCES);
    return;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    const bool dropped = ::setgroups(0, nullptr) == 0 && ::setresgid(65534, 65534, 65534) == 0 &&
                         ::setresuid(65534, 65534, 65534) == 0;
    ::_exit(dropped ? errnumOf("closed") : 255);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), EACCES);
}

TEST(ReplaceFile, ReplacesWholeOnlyWhenCompleteKeepingModeAndLinks) {
  const test::TempDir dir;
  const fs::path path = dir.path() / "label.pdf";
  test::WriteFileBytes(path, "old contents");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const auto failed = ReplaceFile(path, Bytes("new contents", true));
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error().reason, ErrorReason::CannotReplace);
  EXPECT_EQ(ReadFileBytes(path), "old contents");
  EXPECT_EQ(Entries(dir.path()), Names{"label.pdf"});
  // Written through a link: the link stays, the file it names changes.
  fs::create_symlink("label.pdf", dir.path() / "link.pdf");
  ASSERT_TRUE(ReplaceFile(dir.path() / "link.pdf", Bytes("new contents")));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.pdf"));
  EXPECT_EQ(ReadFileBytes(path), "new contents");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A folder in the way is not replaced.
  fs::create_directory(dir.path() / "folder.pdf");
  EXPECT_FALSE(ReplaceFile(dir.path() / "folder.pdf", Bytes("x")));
  EXPECT_EQ(Entries(dir.path()), (Names{"folder.pdf", "label.pdf", "link.pdf"}));
}

}  // namespace lumo
