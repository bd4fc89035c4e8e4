// System calls that a signal may interrupt, retried until they give a real
// answer, and the whole-buffer loops built on them.
#pragma once

#include <sys/types.h>
#include <sys/uio.h>

#include <cerrno>
#include <cstddef>
#include <span>

#include "Result.h"

namespace lumo {

// Calls `call` again for as long as it fails with EINTR; returns its result.
template <typename Call>
auto RetryOnEintr(Call call) -> decltype(call()) {
  decltype(call()) result;
  do {
    result = call();
  } while (result < 0 && errno == EINTR);
  return result;
}

// Reads into `buffer` until it is full or the file ends. Returns the bytes
// read, or -1 with errno set.
[[nodiscard]] ssize_t ReadFully(int fd, std::span<char> buffer);

// Writes every piece in order, however the kernel splits the writes; the
// pieces are used up as they go. A failure is CannotWrite with its errno
// (ENOSPC when the device takes nothing more).
[[nodiscard]] Result<void> WriteAll(int fd, std::span<iovec> pieces);

// The same for one buffer, which is only read.
[[nodiscard]] Result<void> WriteAll(int fd, std::span<const char> bytes);

// The failure of a write whose file the caller names.
[[nodiscard]] Error WriteFailure(int errnum);

}  // namespace lumo
