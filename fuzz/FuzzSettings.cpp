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
  if (e[0] > 40 && e[0] < 600) out[0] = e[0];
  if (e[1] > 60 && e[1] < 24000) out[1] = e[1];
  if (e[2] > 1 && e[2] <= 300) out[2] = e[2];
  std::int64_t sum = std::int64_t{e[4]} + e[5];
  if (sum > INT32_MAX) sum -= std::int64_t{1} << 32;
  if (sum < INT32_MIN) sum += std::int64_t{1} << 32;
  if (sum <= e[3] && e[3] > 0 && e[3] < 80 && e[5] > 0) {
    out[3] = e[3];
    out[4] = e[4];
    out[5] = e[5];
  }
  // A canvas side of more than 8191 pixels keeps both of the pair.
  if (2.0 * (out[1] * static_cast<double>(out[0]) * 0.5 / 25.4) >= 8192.0) {
    out[0] = loaded[0];
    out[1] = loaded[1];
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
    lumo::EnteredSettings loaded{};
    lumo::EnteredSettings entered{};
    std::memcpy(loaded.data(), data, 24);
    std::memcpy(entered.data(), data + 24, 24);
    // What the dialog opens with always came from settings with a canvas.
    if (!lumo::ComputeCanvasGeometry(lumo::FromEntered(loaded))) return 0;
    if (lumo::ApplyAcceptanceRules(loaded, entered) != Literally(loaded, entered)) __builtin_trap();
  }
  return 0;
}
