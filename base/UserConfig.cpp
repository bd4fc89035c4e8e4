// The configuration folder from the environment.
#include "UserConfig.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

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

}  // namespace lumo
