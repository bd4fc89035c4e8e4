// The configuration folder from the environment.
#include "UserConfig.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <span>
#include <string>
#include <system_error>

#include "Io.h"
#include "SafeWrite.h"

namespace lumo {
namespace {

// $HOME, or the password database's entry when it is unset, as a shell does.
std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  std::string buffer(16384, '\0');
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return "/";
}

}  // namespace

std::filesystem::path UserConfigFolder() {
  const char* given = std::getenv("XDG_CONFIG_HOME");
  if (given != nullptr && std::filesystem::path(given).is_absolute()) {
    return std::filesystem::path(given) / "lumo";
  }
  return HomeFolder() / ".config" / "lumo";
}

Result<void> WriteConfigFile(const std::filesystem::path& path, std::string_view text) {
  if (const std::filesystem::path folder = path.parent_path(); !folder.empty()) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return Error(ErrorReason::CannotCreate, error.value(), folder.string());
  }
  return ReplaceFile(path, [text](int fd) { return WriteAll(fd, std::span(text)); });
}

}  // namespace lumo
