// Reading the start of a file with plain POSIX calls, so that a folder is
// told apart from a file and every failure keeps its errno.
#include "FileStart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "FileDescriptor.h"

namespace lumo {

FileStart ReadFileStart(const std::filesystem::path& path, std::size_t limit) {
  FileStart start;
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    start.error = errno;
    return start;
  }
  const FileDescriptor file(fd);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) {
    start.error = errno;
    return start;
  }
  if (S_ISDIR(info.st_mode)) {
    start.error = EISDIR;
    return start;
  }
  constexpr std::size_t kFirstBlock = 64 * 1024;
  std::string& out = start.bytes;
  out.resize(std::min(limit, kFirstBlock));
  std::size_t filled = 0;
  while (filled < limit) {
    if (filled == out.size()) out.resize(std::min(limit, out.size() * 2));
    const ssize_t got = ::read(file.get(), out.data() + filled, out.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      start.error = errno;
      break;
    }
    if (got == 0) {
      start.wholeFile = true;
      break;
    }
    filled += static_cast<std::size_t>(got);
  }
  out.resize(filled);
  return start;
}

}  // namespace lumo
