// Settings file bytes and opening a settings file.
#include "SettingsFile.h"

#include <algorithm>
#include <bit>

#include "CanvasGeometry.h"
#include "FileStart.h"
#include "LittleEndian.h"

namespace lumo {

SettingsBytes EncodeSettings(const LabelSettings& settings) {
  SettingsBytes bytes{};
  PutLittleEndian<8>(&bytes[0], std::bit_cast<std::uint64_t>(settings.diameterMm));
  PutLittleEndian<8>(&bytes[8], std::bit_cast<std::uint64_t>(settings.resolutionDpi));
  PutLittleEndian<4>(&bytes[16], static_cast<std::uint32_t>(settings.charsPerCircle));
  PutLittleEndian<4>(&bytes[20], static_cast<std::uint32_t>(settings.ringCount));
  PutLittleEndian<4>(&bytes[24], static_cast<std::uint32_t>(settings.firstRing));
  PutLittleEndian<4>(&bytes[28], static_cast<std::uint32_t>(settings.usedRings));
  return bytes;
}

std::optional<LabelSettings> DecodeSettings(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kSettingsFileSize) return std::nullopt;
  auto int32At = [&](std::size_t offset) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(GetLittleEndian<4>(&bytes[offset])));
  };
  return LabelSettings{std::bit_cast<double>(GetLittleEndian<8>(&bytes[0])),
                       std::bit_cast<double>(GetLittleEndian<8>(&bytes[8])),
                       int32At(16),
                       int32At(20),
                       int32At(24),
                       int32At(28)};
}

Result<LabelSettings> LoadSettingsFile(const std::filesystem::path& path) {
  // A settings file is its 32 bytes exactly: anything longer is some other
  // file, which saving the settings over would destroy.
  const Result<FileStart> start = ReadFileStart(path, kSettingsFileSize + 1);
  if (!start) return start.error();
  const std::string& bytes = start->bytes;
  if (bytes.size() != kSettingsFileSize) {
    Error wrongSize(ErrorReason::SettingsWrongSize, 0, path.string());
    wrongSize.size = std::max<std::uint64_t>(bytes.size(), start->size);
    return wrongSize;
  }
  const auto decoded =
      DecodeSettings(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  // Other values are taken as they are; these two would leave nothing to draw on.
  if (!ComputeCanvasGeometry(*decoded)) {
    Error noCanvas = NoCanvasFor(*decoded);
    noCanvas.path = path.string();
    return noCanvas;
  }
  return *decoded;
}

}  // namespace lumo
