// Where lumo keeps what a user sets up once: the freedesktop configuration
// folder, found the same way with or without a window.
#pragma once

#include <filesystem>

namespace lumo {

// $XDG_CONFIG_HOME/lumo when XDG_CONFIG_HOME names an absolute folder, as the
// freedesktop base-directory rules say; ~/.config/lumo otherwise.
[[nodiscard]] std::filesystem::path UserConfigFolder();

}  // namespace lumo
