// The options and the input of lumo-render as given on its command line.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ExitStatus.h"
#include "LabelFormat.h"
#include "Result.h"

namespace lumo::cli {

// The settings that single options override, in the order of LabelSettings
// (and of kEnteredFields): diameter, resolution, characters per circle, rings,
// first ring, used rings.
inline constexpr std::array<std::string_view, 6> kSettingOptions = {
    "--diameter", "--dpi", "--chars-per-circle", "--rings", "--first-ring", "--used-rings"};

struct CommandLine {
  std::optional<std::string> settingsFile;
  std::array<std::optional<std::int32_t>, 6> overrides;  // order of kSettingOptions
  std::optional<std::string> outputDir;
  std::optional<std::string> font;       // a family or a font file
  std::optional<std::string> sheet;      // a sheet's name or a sheets file; "list" lists them
  std::optional<std::string> positions;  // the sheet's places, "1,2" or "all"
  LabelFormat format = LabelFormat::Bmp;
  bool formatGiven = false;
  std::optional<std::string> input;  // "-" is standard input
  bool layout = false;
  bool help = false;
  bool version = false;
};

// `args` are the arguments after the program name. Options may come before
// or after the input; "--" ends the options. A mistake is a usage error whose
// line names the argument at fault.
[[nodiscard]] Result<CommandLine, Failure> ParseCommandLine(std::span<const std::string_view> args);

// The text that --help prints.
[[nodiscard]] std::string UsageText();

}  // namespace lumo::cli
