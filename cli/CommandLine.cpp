// Parses the command line of lumo-render; every mistake becomes one line
// that names the argument at fault.
#include "CommandLine.h"

#include <algorithm>
#include <charconv>

#include "AcceptanceRules.h"
#include "CanvasGeometry.h"
#include "ErrorText.h"

namespace lumo::cli {
namespace {

// A usage error, one line.
Failure Usage(std::string message) {
  return {kExitUsage, std::move(message) + " (see lumo-render --help)"};
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
  std::int32_t value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  if (text.empty() || error != std::errc() || end != last) return std::nullopt;
  return value;
}

std::optional<Failure> TakeInput(CommandLine& line, std::string_view arg) {
  // An unset variable in a script must not make the label of "/".
  if (arg.empty()) return Usage("INPUT is empty");
  if (line.input) {
    return Usage("more than one INPUT given: \"" + *line.input + "\" and \"" + std::string(arg) +
                 "\"");
  }
  line.input = std::string(arg);
  return std::nullopt;
}

// The options without a value; false for any other argument.
bool TakeSwitch(CommandLine& line, std::string_view arg) {
  bool* const flag = arg == "-h" || arg == "--help" ? &line.help
                     : arg == "--version"           ? &line.version
                     : arg == "--layout"            ? &line.layout
                                                    : nullptr;
  if (flag != nullptr) *flag = true;
  return flag != nullptr;
}

std::optional<Failure> TakeFormat(CommandLine& line, std::string_view value) {
  const std::optional<LabelFormat> format = FormatNamed(value);
  if (format) {
    line.format = *format;
    line.formatGiven = true;
    return std::nullopt;
  }
  std::string names;
  for (const LabelFormat each : kLabelFormats) {
    names += names.empty() ? "" : ", ";
    names += FormatName(each);
  }
  return Usage("--format " + std::string(value) + " refused: the format must be one of " + names);
}

bool TakesValue(std::string_view name) {
  return name == "--settings" || name == "-o" || name == "--output-dir" || name == "--format" ||
         name == "--font" || name == "--sheet" || name == "--positions" ||
         std::find(kSettingOptions.begin(), kSettingOptions.end(), name) != kSettingOptions.end();
}

// An option with its value.
std::optional<Failure> TakeValue(CommandLine& line, std::string_view name, std::string_view value) {
  if (name == "--settings") {
    line.settingsFile = std::string(value);
  } else if (name == "--format") {
    return TakeFormat(line, value);
  } else if (name == "--sheet") {
    line.sheet = std::string(value);
  } else if (name == "--positions") {
    line.positions = std::string(value);
  } else if (name == "--font") {
    if (value.empty()) return Usage("option --font needs a family or a font file");
    line.font = std::string(value);
  } else if (name == "-o" || name == "--output-dir") {
    if (value.empty()) return Usage("option " + std::string(name) + " needs a folder");
    line.outputDir = std::string(value);
  } else {
    // One of kSettingOptions: TakesValue has let nothing else through.
    const auto index = static_cast<std::size_t>(
        std::find(kSettingOptions.begin(), kSettingOptions.end(), name) - kSettingOptions.begin());
    const auto number = ParseWholeNumber(value);
    if (!number) {
      return Usage(std::string(name) + " needs a whole number, not \"" + std::string(value) + "\"");
    }
    line.overrides[index] = number;
  }
  return std::nullopt;
}

}  // namespace

std::string UsageText() {
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
         RangeText(kDiameterRule) +
         "\n"
         "  --dpi DPI               resolution, " +
         RangeText(kResolutionRule) +
         "\n"
         "  --chars-per-circle N    two-byte characters in a whole circle, " +
         RangeText(kCharsPerCircleRule) +
         "\n"
         "  --rings N               ring pitches across the radius, " +
         RangeText(kRingCountRule) +
         "\n"
         "  --first-ring N          first ring that receives text (0 = outermost)\n"
         "  --used-rings N          rings that receive text, at least 1;\n"
         "                          first ring + used rings may not exceed rings\n"
         "                          (a label's side may not exceed " +
         std::to_string(kMaxCanvasSide) +
         " pixels)\n"
         "  --font FAMILY-OR-FILE   the label's face: a font family fontconfig knows, or a\n"
         "                          font file (default: $LUMO_FONT, then the face chosen in\n"
         "                          the window, then the fixed-pitch Japanese Gothic)\n"
         "  --sheet NAME|FILE       write a PDF page of a label sheet with the label at its\n"
         "                          places: a sheet's name (a4-2, a4-2-small-hole, letter-2,\n"
         "                          centred-a4, centred-letter, or one of the user's sheets)\n"
         "                          or a sheets file, whose first sheet is taken;\n"
         "                          --sheet list tells every known sheet\n"
         "  --positions LIST        the sheet's places to fill, counted from 1: 1,2 or all\n"
         "                          (default: all)\n"
         "  -o, --output-dir DIR    where the numbered file goes (default: the current directory)\n"
         "  --format FORMAT         the file's format (default: bmp):\n"
         "                          bmp  32-bit bitmap, the label's pixels\n"
         "                          png  8-bit grey PNG, the same pixels and resolution\n"
         "                          pdf  vector page of the label's size, text searchable\n"
         "                          svg  vector drawing of the label's size in millimetres\n"
         "  --layout                write no file; print one line per glyph, in drawing order:\n"
         "                          <upper|lower> <ring> <x> <y> <escapement> <height> <width> "
         "<hex>\n"
         "                          where <hex> is the glyph's code page 932 bytes, or for a\n"
         "                          character beyond code page 932 its code points, as\n"
         "                          u+e9 or u+2764+fe0f\n"
         "  -h, --help              show this help and exit\n"
         "  --version               show the version and exit\n"
         "\n"
         "Exit status: 0 and the written file's path on standard output; 1 when the input\n"
         "cannot be read or the file cannot be written; 2 for a usage error or refused settings.\n";
}

Result<CommandLine, Failure> ParseCommandLine(std::span<const std::string_view> args) {
  CommandLine line;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
      if (std::optional<Failure> failed = TakeInput(line, arg)) return *failed;
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (!TakeSwitch(line, arg)) {
      // Options with a value, given as "--name=value" or as the next argument.
      std::string_view name = arg;
      std::optional<std::string_view> value;
      if (const auto equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
        name = arg.substr(0, equals);
        value = arg.substr(equals + 1);
      }
      if (!TakesValue(name)) return Usage("unknown option " + std::string(arg));
      if (!value && i + 1 >= args.size()) {
        return Usage("option " + std::string(name) + " needs a value");
      }
      if (!value) value = args[++i];
      if (std::optional<Failure> failed = TakeValue(line, name, *value)) return *failed;
    }
  }
  if (line.positions && !line.sheet) return Usage("--positions needs --sheet");
  if (line.sheet && *line.sheet != "list" &&
      (line.layout || (line.formatGiven && line.format != LabelFormat::Pdf))) {
    return Usage("--sheet writes a PDF page; it goes with neither --layout nor another --format");
  }
  return line;
}

}  // namespace lumo::cli
