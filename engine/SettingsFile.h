// The 32-byte settings file: its bytes, and opening one the way both front
// ends do.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <span>

#include "LabelSettings.h"
#include "Result.h"

namespace lumo {

inline constexpr std::size_t kSettingsFileSize = 32;
using SettingsBytes = std::array<std::uint8_t, kSettingsFileSize>;

// Little-endian: two binary64 values, then four 32-bit two's complement values.
[[nodiscard]] SettingsBytes EncodeSettings(const LabelSettings& settings);

// Reads the first 32 bytes; bytes after them are ignored. Values are taken as
// they are (no range check). Fewer than 32 bytes give nothing.
[[nodiscard]] std::optional<LabelSettings> DecodeSettings(std::span<const std::uint8_t> bytes);

// Why a settings file was not taken.
struct SettingsFileError {
  enum class Reason {
    Unreadable,  // missing, a folder, no permission, a read error: see errnum
    TooShort,    // fewer than 32 bytes: see size
    NoCanvas,    // its diameter and resolution give no canvas that can be made
  };
  Reason reason = Reason::Unreadable;
  int errnum = 0;
  std::string message;  // for Unreadable: one line naming the file and why
  std::size_t size = 0;
  LabelSettings settings;  // the values read, for NoCanvas
};

// Opens a settings file. Its values are taken as they are, except that a
// diameter and resolution that give no canvas (not finite, or beyond the
// canvas limit) refuse the file.
[[nodiscard]] Result<LabelSettings, SettingsFileError> LoadSettingsFile(
    const std::filesystem::path& path);

}  // namespace lumo
