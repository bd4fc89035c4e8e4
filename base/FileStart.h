// The first bytes of a file, for the inputs that never need more than their
// start: a text file cut to the label's capacity, a 32-byte settings file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "Result.h"

namespace lumo {

struct FileStart {
  std::string bytes;       // at most the limit asked for
  bool wholeFile = false;  // the file ended within the bytes read
  std::uint64_t size = 0;  // the whole file's, as it was when opened
};

// Reads at most `limit` bytes from the start of the file at `path`; the
// buffer grows as data comes, so a short file costs little whatever the limit.
// Only regular files are read: a folder, a named pipe, a socket or a device is
// refused as what it is, and none of them is waited for.
// When `more` is given, a file longer than the limit is read on, block by
// block, each handed to it with the start, until the file ends or it returns
// false.
using MoreOfFile = std::function<bool(const FileStart& start, std::string_view block)>;
[[nodiscard]] Result<FileStart> ReadFileStart(const std::filesystem::path& path, std::size_t limit,
                                              const MoreOfFile& more = {});

// Why `path` could not be opened or read: NotFound for ENOENT, otherwise
// `otherwise` with the errno.
[[nodiscard]] Error ReadFailure(const std::filesystem::path& path, int errnum,
                                ErrorReason otherwise = ErrorReason::Unreadable);

}  // namespace lumo
