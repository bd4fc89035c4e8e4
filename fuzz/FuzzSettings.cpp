// The settings file and the acceptance rules: decoding and encoding give the
// bytes back, and the rules agree with their plain statement.
#include <cstdint>
#include <cstring>

#include "AcceptanceRules.h"
#include "CanvasGeometry.h"
#include "SettingsFile.h"

namespace {

// The rules as the settings dialog states them, in 64-bit arithmetic where
// only the ring sum wraps to 32 bits.
lumo::EnteredSettings Literally(const lumo::EnteredSettings& loaded,
                                const lumo::EnteredSettings& e) {
  lumo::EnteredSettings out = loaded;
  if (e.diameter > 40 && e.diameter < 600) out.diameter = e.diameter;
  if (e.resolution > 60 && e.resolution < 24000) out.resolution = e.resolution;
  if (e.charsPerCircle > 1 && e.charsPerCircle <= 300) out.charsPerCircle = e.charsPerCircle;
  std::int64_t sum = std::int64_t{e.firstRing} + e.usedRings;
  if (sum > INT32_MAX) sum -= std::int64_t{1} << 32;
  if (sum < INT32_MIN) sum += std::int64_t{1} << 32;
  if (sum <= e.ringCount && e.ringCount > 0 && e.ringCount < 80 && e.usedRings > 0) {
    out.ringCount = e.ringCount;
    out.firstRing = e.firstRing;
    out.usedRings = e.usedRings;
  }
  // A canvas side of more than 8191 pixels keeps both of the pair.
  if (2.0 * (out.resolution * static_cast<double>(out.diameter) * 0.5 / 25.4) >= 8192.0) {
    out.diameter = loaded.diameter;
    out.resolution = loaded.resolution;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  if (const auto settings = lumo::DecodeSettings(bytes)) {
    const lumo::SettingsBytes again = lumo::EncodeSettings(*settings);
    if (std::memcmp(again.data(), data, again.size()) != 0) __builtin_trap();
    (void)lumo::ComputeCanvasGeometry(*settings);
  }
  if (size >= 48) {
    // Six 32-bit values each, in the order of the fields.
    lumo::EnteredSettings loaded;
    lumo::EnteredSettings entered;
    for (std::size_t i = 0; i < lumo::kEnteredFields.size(); ++i) {
      std::memcpy(&(loaded.*lumo::kEnteredFields[i]), data + 4 * i, 4);
      std::memcpy(&(entered.*lumo::kEnteredFields[i]), data + 24 + 4 * i, 4);
    }
    // What the dialog opens with always came from settings with a canvas.
    if (!lumo::ComputeCanvasGeometry(lumo::FromEntered(loaded))) return 0;
    if (lumo::ApplyAcceptanceRules(loaded, entered) != Literally(loaded, entered)) __builtin_trap();
  }
  return 0;
}
