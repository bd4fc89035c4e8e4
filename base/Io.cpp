// Whole-buffer reads and writes over the EINTR-retrying system calls.
#include "Io.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace lumo {

ssize_t ReadFully(int fd, std::span<char> buffer) {
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t got =
        RetryOnEintr([&] { return ::read(fd, buffer.data() + filled, buffer.size() - filled); });
    if (got < 0) return -1;
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  return static_cast<ssize_t>(filled);
}

Error WriteFailure(int errnum) { return Error(ErrorReason::CannotWrite, errnum); }

Result<void> WriteAll(int fd, std::span<iovec> pieces) {
  std::size_t next = 0;
  while (next < pieces.size()) {
    const int count = static_cast<int>(std::min<std::size_t>(IOV_MAX, pieces.size() - next));
    const ssize_t written = RetryOnEintr([&] { return ::writev(fd, &pieces[next], count); });
    if (written < 0) return WriteFailure(errno);
    if (written == 0) return WriteFailure(ENOSPC);
    auto left = static_cast<std::size_t>(written);
    while (next < pieces.size() && left >= pieces[next].iov_len) left -= pieces[next++].iov_len;
    if (left > 0) {
      pieces[next].iov_base = static_cast<std::uint8_t*>(pieces[next].iov_base) + left;
      pieces[next].iov_len -= left;
    }
  }
  return {};
}

Result<void> WriteAll(int fd, std::span<const char> bytes) {
  iovec piece{const_cast<char*>(bytes.data()), bytes.size()};  // writev only reads
  return WriteAll(fd, {&piece, 1});
}

}  // namespace lumo
