// Owns a POSIX file descriptor that is only read, for the libraries that read
// files below the level of streams (no waiting on pipes, exact error numbers).
#pragma once

#include <unistd.h>

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

 private:
  int fd_;
};

}  // namespace lumo
