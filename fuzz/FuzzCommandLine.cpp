// lumo-render's option parsing: arguments split at NUL bytes; whatever they
// are, parsing ends in a command line or a mistake, an INPUT is never empty,
// and settings are refused or give a canvas (judged without reading a file).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CanvasGeometry.h"
#include "CommandLine.h"
#include "ResolveSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> args;
  for (std::size_t start = 0; start <= all.size();) {
    const std::size_t end = std::min(all.find('\0', start), all.size());
    args.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  auto parsed = lumo::cli::ParseCommandLine(args);
  if (!parsed) return 0;
  if (parsed->input && parsed->input->empty()) __builtin_trap();
  parsed->settingsFile.reset();
  const auto resolved = lumo::cli::ResolveSettings(*parsed);
  if (!resolved && resolved.error().exitStatus != 2) __builtin_trap();
  if (resolved && !lumo::ComputeCanvasGeometry(*resolved)) __builtin_trap();
  return 0;
}
