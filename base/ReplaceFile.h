// Replacing a whole file: the settings file is written this way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace lumo {

// Replaces the file at `requested` with `bytes` through a new file beside it
// that is renamed over it only when complete and on disk, so a failure leaves
// the old file whole and nothing else behind. A replaced file keeps its
// permissions; a symbolic link is written through. 0, or the errno of the
// failure.
[[nodiscard]] int ReplaceFile(const std::filesystem::path& requested,
                              std::span<const std::uint8_t> bytes);

}  // namespace lumo
