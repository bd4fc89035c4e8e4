// Files that appear under their name only when complete: written without a
// name (or under a hidden one) first, then linked or renamed into place.
#include "SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <optional>

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

// A new empty file under a name no other writer in this or another process
// picks at the same time (O_EXCL settles the rare clash); the leading dot keeps
// it out of listings. The errno when none can be made.
struct HiddenFile {
  fs::path path;
  int fd = -1;
  int errnum = 0;
};
HiddenFile CreateHidden(const fs::path& directory, const FileSystemCalls& calls) {
  static std::atomic<unsigned> counter{0};
  for (;;) {
    char name[64];
    std::snprintf(name, sizeof name, ".lumo-%ld-%u.tmp", static_cast<long>(::getpid()),
                  counter.fetch_add(1));
    fs::path path = directory / name;
    // 0666 less the umask, as for any new file.
    const int fd = RetryOnEintr([&] {
      return calls.open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    });
    if (fd >= 0) return {std::move(path), fd, 0};
    if (errno != EEXIST) return {{}, -1, errno};
  }
}

fs::path OrCurrent(const fs::path& directory) {
  return directory.empty() ? fs::path(".") : directory;
}

// The first number whose name does not exist in any form; a dangling link is
// seen as itself, never followed.
std::optional<int> FirstFreeNumber(const fs::path& directory, std::string_view extension) {
  for (int number = 0; number < kLabelFileCount; ++number) {
    struct stat info {};
    const fs::path path = directory / NumberedFileName(number, extension);
    if (::fstatat(AT_FDCWD, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) {
      return number;
    }
  }
  return std::nullopt;
}

Error FullSeries(const fs::path& directory, std::string_view extension) {
  Error error = Failure(ErrorReason::SeriesFull, directory, EEXIST);
  error.name = extension;
  return error;
}

// Gives the complete file `source` (a path link() accepts) the first free
// name from `first` on. link() never replaces a name: EEXIST means taken.
Result<fs::path> LinkIntoSeries(const char* source, int follow, const fs::path& directory,
                                std::string_view extension, int first,
                                const FileSystemCalls& calls) {
  for (int number = first; number < kLabelFileCount; ++number) {
    fs::path path = directory / NumberedFileName(number, extension);
    if (calls.linkat(AT_FDCWD, source, AT_FDCWD, path.c_str(), follow) == 0) return path;
    if (errno != EEXIST) return Failure(ErrorReason::CannotCreate, path, errno);
  }
  return FullSeries(directory, extension);
}

}  // namespace

const FileSystemCalls& SystemFileCalls() noexcept {
  static constexpr FileSystemCalls kCalls{
      [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
      &::linkat,
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
  // Looked for before writing, so that a full series costs no write and a
  // failed write can say which file it was going to be.
  const std::optional<int> first = FirstFreeNumber(directory, extension);
  if (!first) return FullSeries(directory, extension);
  const fs::path intended = directory / NumberedFileName(*first, extension);

  OwnedFile unnamed(RetryOnEintr([&] {
                      return calls.open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
                    }),
                    calls);
  if (unnamed.get() >= 0) {
    // The file has no name yet: closed without one, it is gone.
    const std::string source = "/proc/self/fd/" + std::to_string(unnamed.get());
    if (const Result<void> written = writer(unnamed.get()); !written) {
      return Failure(ErrorReason::CannotWrite, intended, written.error().errnum);
    }
    Result<fs::path> named =
        LinkIntoSeries(source.c_str(), AT_SYMLINK_FOLLOW, directory, extension, *first, calls);
    if (!named) return named;
    // Late write errors only surface at close, after the name is given.
    if (const int error = unnamed.Close(); error != 0) {
      calls.unlink(named->c_str());
      return Failure(ErrorReason::CannotWrite, *named, error);
    }
    return named;
  }
  // Only a file system without unnamed files goes on to a hidden name.
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
    return Failure(ErrorReason::CannotCreate, directory, errno);
  }

  const HiddenFile hidden = CreateHidden(directory, calls);
  if (hidden.fd < 0) return Failure(ErrorReason::CannotCreate, directory, hidden.errnum);
  OwnedFile file(hidden.fd, calls);
  const int error = WriteAndClose(file, writer);
  Result<fs::path> named =
      error != 0 ? Result<fs::path>(Failure(ErrorReason::CannotWrite, intended, error))
                 : LinkIntoSeries(hidden.path.c_str(), 0, directory, extension, *first, calls);
  // Linked or not, the hidden name goes; a linked file keeps its numbered name.
  calls.unlink(hidden.path.c_str());
  return named;
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

  const HiddenFile hidden = CreateHidden(OrCurrent(path.parent_path()), calls);
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
