// Replacing a whole file so that a failure, or a crash, leaves the old one.
#include "ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "FileDescriptor.h"
#include "Io.h"

namespace lumo {

int ReplaceFile(const std::filesystem::path& requested, std::span<const std::uint8_t> bytes) {
  return ReplaceFile(requested, [bytes](int fd) {
    iovec piece{const_cast<std::uint8_t*>(bytes.data()), bytes.size()};  // only read
    return WriteAll(fd, {&piece, 1});
  });
}

int ReplaceFile(const std::filesystem::path& requested, const std::function<int(int fd)>& write) {
  // A link is saved through: it stays a link, and the file it names changes.
  std::error_code ignored;
  std::filesystem::path path = requested;
  if (std::filesystem::is_symlink(requested, ignored)) {
    std::filesystem::path target = std::filesystem::canonical(requested, ignored);
    if (!target.empty()) path = std::move(target);
  }
  struct stat replaced {};
  const bool replacing = ::stat(path.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode);

  std::filesystem::path temporary;
  int fd = -1;
  std::random_device random;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
    temporary = path;
    temporary += suffix;
    // 0666 less the umask, as for any new file; O_EXCL never reuses a name.
    fd = RetryOnEintr([&] {
      return ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    });
    if (fd < 0 && errno != EEXIST) return errno;
  }
  if (fd < 0) return EEXIST;
  FileDescriptor file(fd);
  // A replaced file keeps who may read and write it.
  if (replacing) (void)::fchmod(file.get(), replaced.st_mode & 07777);
  int error = write(file.get());
  // On disk before it takes the old file's place, so a crash leaves one whole file.
  if (error == 0 && ::fsync(file.get()) != 0) error = errno;
  const int closeError = file.Close();
  if (error == 0) error = closeError;
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) ::unlink(temporary.c_str());
  return error;
}

}  // namespace lumo
