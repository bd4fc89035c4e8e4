// The 32-byte settings file: its bytes, and opening one the way both front
// ends do.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
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

// Opens a settings file. Its values are taken as they are, except that a file
// of any size but 32 bytes (SettingsWrongSize) or whose diameter and
// resolution give no canvas (SettingsNoCanvas) is refused.
[[nodiscard]] Result<LabelSettings> LoadSettingsFile(const std::filesystem::path& path);

}  // namespace lumo
