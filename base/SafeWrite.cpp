// Files that appear under their name only when complete: written without a
// name (or under a hidden one) first, then linked or renamed into place.
#include "SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>

#include "HiddenFile.h"
#include "Io.h"

namespace lumo {
namespace {

namespace fs = std::filesystem;

Error Failure(ErrorReason reason, const fs::path& path, int errnum) {
  return Error(reason, errnum, path.string());
}

// A descriptor closed through the calls the write was given.
class OwnedFile {
 public:
  OwnedFile(int fd, const FileSystemCalls& calls) noexcept : fd_(fd), calls_(calls) {}
  ~OwnedFile() {
    if (fd_ >= 0) calls_.close(fd_);
  }
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;

  [[nodiscard]] int get() const noexcept { return fd_; }
  // Closes now: 0, or the errno of a write error that surfaced only here.
  [[nodiscard]] int Close() noexcept {
    const int fd = fd_;
    fd_ = -1;
    // On Linux the descriptor is gone even when close is interrupted.
    return calls_.close(fd) != 0 && errno != EINTR ? errno : 0;
  }

 private:
  int fd_;
  const FileSystemCalls& calls_;
};

// Runs the writer and closes the file: 0 or the first errno.
int WriteAndClose(OwnedFile& file, const FileWriter& writer) {
  const Result<void> written = writer(file.get());
  const int closeError = file.Close();
  return written ? closeError : written.error().errnum;
}

fs::path OrCurrent(const fs::path& directory) {
  return directory.empty() ? fs::path(".") : directory;
}

// The first number whose name does not exist in any form; a dangling link is
// seen as itself, never followed. Nothing when every name is taken; why, when
// the folder cannot be looked into (not a folder, a loop of links, no
// permission, a path too long).
Result<std::optional<int>> FirstFreeNumber(const fs::path& directory, std::string_view extension) {
  for (int number = 0; number < kLabelFileCount; ++number) {
    struct stat info {};
    const fs::path path = directory / NumberedFileName(number, extension);
    if (::fstatat(AT_FDCWD, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) continue;
    if (errno == ENOENT) return std::optional(number);
    return Failure(ErrorReason::CannotCreate, directory, errno);
  }
  return std::optional<int>();
}

Error FullSeries(const fs::path& directory, std::string_view extension) {
  Error error = Failure(ErrorReason::SeriesFull, directory, EEXIST);
  error.name = extension;
  return error;
}

// Gives a complete file the first free name of the series from `first` on,
// as `name` does (0, or the errno of a link or a rename). Neither ever
// replaces a name: EEXIST means taken, and the next one is tried.
template <typename Name>
Result<fs::path> NameInSeries(const fs::path& directory, std::string_view extension, int first,
                              Name name) {
  for (int number = first; number < kLabelFileCount; ++number) {
    fs::path path = directory / NumberedFileName(number, extension);
    const int error = name(path);
    if (error == 0) return path;
    if (error != EEXIST) return Failure(ErrorReason::CannotCreate, directory, error);
  }
  return FullSeries(directory, extension);
}

// Names the unnamed file `fd`: through AT_EMPTY_PATH where the process may,
// otherwise through /proc. Without the privilege and without /proc both fail
// with ENOENT, and the caller writes the file under a hidden name instead.
Result<fs::path> NameUnnamed(int fd, const fs::path& directory, std::string_view extension,
                             int first, const FileSystemCalls& calls) {
  const std::string proc = "/proc/self/fd/" + std::to_string(fd);
  bool viaProc = false;
  return NameInSeries(directory, extension, first, [&](const fs::path& path) {
    if (!viaProc) {
      if (calls.linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return 0;
      if (errno == EEXIST) return EEXIST;
      viaProc = true;
    }
    return calls.linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0
               ? 0
               : errno;
  });
}

// Names the hidden file: a hard link, then the hidden name removed; where the
// file system has no hard links (vfat, exFAT, some network shares), a rename
// that refuses to replace.
Result<fs::path> NameHidden(const fs::path& hidden, const fs::path& directory,
                            std::string_view extension, int first, const FileSystemCalls& calls) {
  bool renaming = false;
  Result<fs::path> named = NameInSeries(directory, extension, first, [&](const fs::path& path) {
    if (!renaming) {
      if (calls.linkat(AT_FDCWD, hidden.c_str(), AT_FDCWD, path.c_str(), 0) == 0) return 0;
      if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK) return errno;
      renaming = true;
    }
    return calls.renameat2(AT_FDCWD, hidden.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0
               ? 0
               : errno;
  });
  // Linked or not, the hidden name goes; a renamed file has no other name left.
  if (!renaming || !named) calls.unlink(hidden.c_str());
  return named;
}

}  // namespace

const FileSystemCalls& SystemFileCalls() noexcept {
  static constexpr FileSystemCalls kCalls{
      [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
      &::linkat,
      &::renameat2,
      &::rename,
      &::fsync,
      &::close,
      &::unlink,
  };
  return kCalls;
}

std::string NumberedFileName(int number, std::string_view extension) {
  char name[16];
  std::snprintf(name, sizeof name, "lumo%03d.", number);
  return name + std::string(extension);
}

Result<fs::path> WriteNumberedFile(const fs::path& requestedDirectory, std::string_view extension,
                                   const FileWriter& writer, const FileSystemCalls& calls) {
  const fs::path directory = OrCurrent(requestedDirectory);
  RemoveStaleHiddenFiles(directory);
  // Looked for before writing, so that a full series costs no write and a
  // failed write can say which file it was going to be.
  const Result<std::optional<int>> free = FirstFreeNumber(directory, extension);
  if (!free) return free.error();
  if (!*free) return FullSeries(directory, extension);
  const int first = **free;
  const fs::path intended = directory / NumberedFileName(first, extension);

  OwnedFile unnamed(RetryOnEintr([&] {
                      return calls.open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
                    }),
                    calls);
  // Only a file system without unnamed files goes on to a hidden name.
  if (unnamed.get() < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
    return Failure(ErrorReason::CannotCreate, directory, errno);
  }
  if (unnamed.get() >= 0) {
    // The file has no name yet: closed without one, it is gone.
    if (const Result<void> written = writer(unnamed.get()); !written) {
      return Failure(ErrorReason::CannotWrite, intended, written.error().errnum);
    }
    Result<fs::path> named = NameUnnamed(unnamed.get(), directory, extension, first, calls);
    if (named) {
      // Late write errors only surface at close, after the name is given.
      if (const int error = unnamed.Close(); error != 0) {
        calls.unlink(named->c_str());
        return Failure(ErrorReason::CannotWrite, *named, error);
      }
      return named;
    }
    // Anything but a file it could not name (no privilege, no /proc) is final.
    if (named.error().reason != ErrorReason::CannotCreate || named.error().errnum != ENOENT) {
      return named;
    }
  }

  const HiddenFile hidden = CreateHiddenFile(directory, calls);
  if (hidden.fd < 0) return Failure(ErrorReason::CannotCreate, directory, hidden.errnum);
  OwnedFile file(hidden.fd, calls);
  if (const int error = WriteAndClose(file, writer); error != 0) {
    calls.unlink(hidden.path.c_str());
    return Failure(ErrorReason::CannotWrite, intended, error);
  }
  return NameHidden(hidden.path, directory, extension, first, calls);
}

Result<void> ReplaceFile(const fs::path& requested, const FileWriter& writer,
                         const FileSystemCalls& calls) {
  // A link is saved through: it stays a link, and the file it names changes.
  std::error_code ignored;
  fs::path path = requested;
  if (fs::is_symlink(requested, ignored)) {
    fs::path target = fs::canonical(requested, ignored);
    if (!target.empty()) path = std::move(target);
  }
  struct stat replaced {};
  const bool replacing = ::stat(path.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode);

  const fs::path directory = OrCurrent(path.parent_path());
  RemoveStaleHiddenFiles(directory);
  const HiddenFile hidden = CreateHiddenFile(directory, calls);
  if (hidden.fd < 0) return Failure(ErrorReason::CannotReplace, requested, hidden.errnum);
  OwnedFile file(hidden.fd, calls);
  // A replaced file keeps who may read and write it.
  if (replacing) (void)::fchmod(file.get(), replaced.st_mode & 07777);
  int error = 0;
  if (const Result<void> written = writer(file.get()); !written) error = written.error().errnum;
  // On disk before it takes the old file's place, so a crash leaves one whole file.
  if (error == 0 && calls.fsync(file.get()) != 0) error = errno;
  const int closeError = file.Close();
  if (error == 0) error = closeError;
  if (error == 0 && calls.rename(hidden.path.c_str(), path.c_str()) != 0) error = errno;
  if (error == 0) return {};
  calls.unlink(hidden.path.c_str());
  return Failure(ErrorReason::CannotReplace, requested, error);
}

}  // namespace lumo
