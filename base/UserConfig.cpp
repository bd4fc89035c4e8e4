// The configuration folder from the environment.
#include "UserConfig.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
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

// The value the last XDG_PICTURES_DIR line gives, read as the shell that
// xdg-user-dir is reads it: quotes dropped, a backslash keeping the next
// character, $HOME at the start standing for `home`. Nothing when the line
// is missing or gives no absolute path.
std::optional<std::filesystem::path> PicturesFolder(std::string_view text,
                                                    const std::filesystem::path& home) {
  constexpr std::string_view kKey = "XDG_PICTURES_DIR=";
  std::optional<std::filesystem::path> found;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    if (!line.starts_with(kKey)) continue;
    line.remove_prefix(kKey.size());
    std::string value;
    bool quoted = line.starts_with('"');
    if (quoted) line.remove_prefix(1);
    if (line.starts_with("$HOME") && (line.size() == 5 || line[5] == '/' || line[5] == '"')) {
      value = home.string();
      line.remove_prefix(5);
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '"') {
        quoted = !quoted;
      } else if (c == '\\' && i + 1 < line.size()) {
        value += line[++i];
      } else if (!quoted && (c == ' ' || c == '\t' || c == '#')) {
        break;
      } else {
        value += c;
      }
    }
    found = value.starts_with('/') ? std::optional<std::filesystem::path>(value) : std::nullopt;
  }
  return found;
}

// Without "." or ".." and without a closing "/": "$HOME/" is the home folder.
std::filesystem::path Plain(const std::filesystem::path& folder) {
  std::filesystem::path plain = folder.lexically_normal();
  if (!plain.has_filename() && plain.has_relative_path()) plain = plain.parent_path();
  return plain;
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

std::filesystem::path DesktopLabelFolder(std::string_view userDirs,
                                         const std::filesystem::path& home) {
  // Pictures that are the home folder itself need no case of their own.
  return Plain(PicturesFolder(userDirs, home).value_or(home)) / "lumo";
}

std::filesystem::path DesktopLabelFolder() {
  // The file is a few lines; more than this is no user-dirs file.
  std::string text(64 * 1024, '\0');
  std::ifstream file(UserConfigFolder().parent_path() / "user-dirs.dirs", std::ios::binary);
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(file.gcount()));
  return DesktopLabelFolder(text, HomeFolder());
}

}  // namespace lumo
