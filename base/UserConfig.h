// Where lumo keeps what a user sets up once: the freedesktop configuration
// folder, found the same way with or without a window.
#pragma once

#include <filesystem>
#include <string_view>

#include "Result.h"

namespace lumo {

// $XDG_CONFIG_HOME/lumo when XDG_CONFIG_HOME names an absolute folder, as the
// freedesktop base-directory rules say; ~/.config/lumo otherwise.
[[nodiscard]] std::filesystem::path UserConfigFolder();

// Writes `text` as the whole file at `path` in that folder, made first when
// missing; the old file is replaced only once the new one is complete.
[[nodiscard]] Result<void> WriteConfigFile(const std::filesystem::path& path,
                                           std::string_view text);

}  // namespace lumo
