// Owns a POSIX file descriptor, for the libraries that read and write files
// below the level of streams (exclusive creation, exact error numbers).
#pragma once

#include <unistd.h>

#include <cerrno>

namespace lumo {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  [[nodiscard]] int get() const noexcept { return fd_; }

  // Closes now and returns 0 or the errno that a plain close would lose
  // (delayed write errors surface there on some file systems).
  [[nodiscard]] int Close() noexcept {
    const int fd = fd_;
    fd_ = -1;
    // On Linux the descriptor is gone even when close is interrupted.
    if (::close(fd) != 0 && errno != EINTR) return errno;
    return 0;
  }

 private:
  int fd_;
};

}  // namespace lumo
