// Parses the command line of lumo-render; every mistake becomes one line
// that names the argument at fault.
#include "CommandLine.h"

#include <algorithm>
#include <charconv>

#include "AcceptanceRules.h"
#include "CanvasGeometry.h"

namespace lumo::cli {
namespace {

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
  std::int32_t value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  if (text.empty() || error != std::errc() || end != last) return std::nullopt;
  return value;
}

}  // namespace

std::string UsageText() {
  const auto range = [](RuleRange r) {
    return std::to_string(r.min) + " to " + std::to_string(r.max);
  };
  return "Usage: lumo-render [OPTIONS] [INPUT]\n"
         "Typesets text onto a round disc label and writes it as the next free\n"
         "lumo000.bmp ... lumo999.bmp (or .png, .pdf, .svg with --format).\n"
         "\n"
         "INPUT  a file whose name ends in \".txt\" (any case): its first bytes are the text;\n"
         "       any other path: a listing of that folder is the text;\n"
         "       \"-\": standard input, UTF-8 text up to the first NUL byte;\n"
         "       none: the start-up prompt.\n"
         "\n"
         "Options:\n"
         "  --settings FILE.lum     start from the settings in that file (default: the defaults)\n"
         "  --diameter MM           label diameter, " +
         range(kDiameterRule) +
         "\n"
         "  --dpi DPI               resolution, " +
         range(kResolutionRule) +
         "\n"
         "  --chars-per-circle N    two-byte characters in a whole circle, " +
         range(kCharsPerCircleRule) +
         "\n"
         "  --rings N               ring pitches across the radius, " +
         range(kRingCountRule) +
         "\n"
         "  --first-ring N          first ring that receives text (0 = outermost)\n"
         "  --used-rings N          rings that receive text, at least 1;\n"
         "                          first ring + used rings may not exceed rings\n"
         "                          (a label's side may not exceed " +
         std::to_string(kMaxCanvasSide) +
         " pixels)\n"
         "  -o, --output-dir DIR    where the numbered file goes (default: the current directory)\n"
         "  --format FORMAT         the file's format (default: bmp):\n"
         "                          bmp  32-bit bitmap, the label's pixels\n"
         "                          png  8-bit grey PNG, the same pixels and resolution\n"
         "                          pdf  vector page of the label's size, text searchable\n"
         "                          svg  vector drawing of the label's size in millimetres\n"
         "  --layout                write no file; print one line per glyph, in drawing order:\n"
         "                          <upper|lower> <ring> <x> <y> <escapement> <height> <width> "
         "<hex>\n"
         "  -h, --help              show this help and exit\n"
         "  --version               show the version and exit\n"
         "\n"
         "Exit status: 0 and the written file's path on standard output; 1 when the input\n"
         "cannot be read or the file cannot be written; 2 for a usage error or refused settings.\n";
}

Result<CommandLine> ParseCommandLine(std::span<const std::string_view> args) {
  CommandLine line;
  auto fail = [](std::string message) {
    return Error{std::move(message) + " (see lumo-render --help)"};
  };

  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool isOption = !optionsEnded && arg.size() > 1 && arg.front() == '-';
    if (!isOption) {
      // An unset variable in a script must not make the label of "/".
      if (arg.empty()) return fail("INPUT is empty");
      if (line.input) {
        return fail("more than one INPUT given: \"" + *line.input + "\" and \"" + std::string(arg) +
                    "\"");
      }
      line.input = std::string(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      line.help = true;
      continue;
    }
    if (arg == "--version") {
      line.version = true;
      continue;
    }
    if (arg == "--layout") {
      line.layout = true;
      continue;
    }

    // Options with a value, given as "--name=value" or as the next argument.
    std::string_view name = arg;
    std::optional<std::string_view> value;
    if (const auto equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    }
    const bool known =
        name == "--settings" || name == "-o" || name == "--output-dir" || name == "--format" ||
        std::find(kSettingOptions.begin(), kSettingOptions.end(), name) != kSettingOptions.end();
    if (!known) return fail("unknown option " + std::string(arg));
    if (!value) {
      if (i + 1 >= args.size()) return fail("option " + std::string(name) + " needs a value");
      value = args[++i];
    }

    if (name == "--settings") {
      line.settingsFile = std::string(*value);
    } else if (name == "--format") {
      const std::optional<LabelFormat> format = FormatNamed(*value);
      if (!format) {
        std::string names;
        for (const LabelFormat each : kLabelFormats) {
          names += names.empty() ? "" : ", ";
          names += FormatName(each);
        }
        return fail("--format " + std::string(*value) + " refused: the format must be one of " +
                    names);
      }
      line.format = *format;
    } else if (name == "-o" || name == "--output-dir") {
      if (value->empty()) return fail("option " + std::string(name) + " needs a folder");
      line.outputDir = std::string(*value);
    } else {
      const auto index =
          static_cast<std::size_t>(std::find(kSettingOptions.begin(), kSettingOptions.end(), name) -
                                   kSettingOptions.begin());
      const auto number = ParseWholeNumber(*value);
      if (!number) {
        return fail(std::string(name) + " needs a whole number, not \"" + std::string(*value) +
                    "\"");
      }
      line.overrides[index] = number;
    }
  }
  return line;
}

}  // namespace lumo::cli
