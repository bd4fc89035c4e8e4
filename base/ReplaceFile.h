// Replacing a whole file: the settings file and exported labels are written
// this way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace lumo {

// Replaces the file at `requested` with `bytes` through a new file beside it
// that is renamed over it only when complete and on disk, so a failure leaves
// the old file whole and nothing else behind. A replaced file keeps its
// permissions; a symbolic link is written through. 0, or the errno of the
// failure.
[[nodiscard]] int ReplaceFile(const std::filesystem::path& requested,
                              std::span<const std::uint8_t> bytes);

// The same, with the new file's contents written by `write` to the descriptor
// it is given; `write` returns 0 or the errno of its failure.
[[nodiscard]] int ReplaceFile(const std::filesystem::path& requested,
                              const std::function<int(int fd)>& write);

}  // namespace lumo
