// Reading the start of a file with plain POSIX calls, so that a folder is
// told apart from a file and every failure keeps its errno.
#include "FileStart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "FileDescriptor.h"
#include "Io.h"

namespace lumo {
namespace {

Error CannotRead(const std::filesystem::path& path, int errnum) {
  return {"cannot read " + path.string() + ": " + std::strerror(errnum), errnum};
}

}  // namespace

Result<FileStart> ReadFileStart(const std::filesystem::path& path, std::size_t limit) {
  const FileDescriptor file(
      RetryOnEintr([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY); }));
  if (file.get() < 0) return CannotRead(path, errno);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return CannotRead(path, errno);
  if (S_ISDIR(info.st_mode)) return CannotRead(path, EISDIR);
  constexpr std::size_t kFirstBlock = 64 * 1024;
  FileStart start;
  std::string& out = start.bytes;
  std::size_t filled = 0;
  while (filled < limit) {
    out.resize(std::min(limit, std::max(kFirstBlock, out.size() * 2)));
    const ssize_t got = ReadFully(file.get(), std::span(out).subspan(filled));
    if (got < 0) return CannotRead(path, errno);
    filled += static_cast<std::size_t>(got);
    if (filled < out.size()) {
      start.wholeFile = true;
      break;
    }
  }
  out.resize(filled);
  return start;
}

}  // namespace lumo
