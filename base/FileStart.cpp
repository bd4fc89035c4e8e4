// Reading the start of a file with plain POSIX calls, so that a folder is
// told apart from a file and every failure keeps its errno.
#include "FileStart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "FileDescriptor.h"
#include "Io.h"

namespace lumo {
namespace {

// Why a file that is not a regular file cannot be read.
ErrorReason ReasonFor(mode_t mode) {
  if (S_ISDIR(mode)) return ErrorReason::IsFolder;
  if (S_ISFIFO(mode) || S_ISSOCK(mode)) return ErrorReason::IsPipe;
  return ErrorReason::IsDevice;
}

}  // namespace

Error ReadFailure(const std::filesystem::path& path, int errnum, ErrorReason otherwise) {
  return Error(errnum == ENOENT ? ErrorReason::NotFound : otherwise, errnum, path.string());
}

Result<FileStart> ReadFileStart(const std::filesystem::path& path, std::size_t limit,
                                const MoreOfFile& more) {
  // Without O_NONBLOCK opening a named pipe would wait for a writer, forever.
  const FileDescriptor file(RetryOnEintr(
      [&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK); }));
  if (file.get() < 0) return ReadFailure(path, errno);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return ReadFailure(path, errno);
  // Folders, pipes, sockets and devices can block or never end; only files are read.
  if (!S_ISREG(info.st_mode)) {
    return Error(ReasonFor(info.st_mode), 0, path.string());
  }
  constexpr std::size_t kFirstBlock = 64 * 1024;
  FileStart start;
  start.size = static_cast<std::uint64_t>(info.st_size);
  std::string& out = start.bytes;
  std::size_t filled = 0;
  while (filled < limit) {
    out.resize(std::min(limit, std::max(kFirstBlock, out.size() * 2)));
    const ssize_t got = ReadFully(file.get(), std::span(out).subspan(filled));
    if (got < 0) return ReadFailure(path, errno);
    filled += static_cast<std::size_t>(got);
    if (filled < out.size()) {
      start.wholeFile = true;
      break;
    }
  }
  out.resize(filled);
  if (!more || start.wholeFile) return start;
  std::string block(kFirstBlock, '\0');
  while (true) {
    const ssize_t got = ReadFully(file.get(), std::span(block));
    if (got < 0) return ReadFailure(path, errno);
    if (got == 0 || !more(start, std::string_view(block.data(), static_cast<std::size_t>(got)))) {
      break;
    }
  }
  return start;
}

}  // namespace lumo
