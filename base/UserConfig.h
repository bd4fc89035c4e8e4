// Where lumo keeps what a user sets up once: the freedesktop configuration
// folder, found the same way with or without a window, and the user's
// pictures folder that the desktop's user directories name.
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

// Where label files go when the window was started from the desktop and the
// user chose no folder: a "lumo" folder in the pictures folder that the text
// of a user-dirs.dirs file names, as `xdg-user-dir PICTURES` reads it ($HOME
// standing for `home`); in `home` itself when it names none, or names `home`.
[[nodiscard]] std::filesystem::path DesktopLabelFolder(std::string_view userDirs,
                                                       const std::filesystem::path& home);
// The same from the user's own user-dirs.dirs in $XDG_CONFIG_HOME (or
// ~/.config) and $HOME.
[[nodiscard]] std::filesystem::path DesktopLabelFolder();

}  // namespace lumo
