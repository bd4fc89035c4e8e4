// lumo-render: renders one label without a window and writes it as the next
// numbered bitmap file, or prints where every glyph goes.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "CommandLine.h"
#include "LabelBitmap.h"
#include "LabelCanvas.h"
#include "LabelComposer.h"
#include "LabelInput.h"
#include "SettingsOverrides.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUnreadableOrUnwritable = 1;
constexpr int kExitUsage = 2;

// Messages are one line each, whatever a file name holds.
void Report(std::string_view message) {
  std::string line = "lumo-render: ";
  for (const char c : message) line += (c == '\n' || c == '\r') ? '?' : c;
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
}

// Standard output is where scripts get the result; a failure to write it is
// an error like any other.
int WriteStdout(std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    Report("cannot write to standard output");
    return kExitUnreadableOrUnwritable;
  }
  return kExitOk;
}

void AppendLayoutLine(std::string& out, lumo::LabelHalf half, const lumo::GlyphPlacement& glyph) {
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, "%s %d %d %d %d %d %d ",
                half == lumo::LabelHalf::Upper ? "upper" : "lower", glyph.ring, glyph.x, glyph.y,
                glyph.font.escapement, glyph.font.height, glyph.font.width);
  out += numbers;
  constexpr char kHex[] = "0123456789abcdef";
  for (const char c : glyph.bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
  }
  out += '\n';
}

int Run(std::span<const std::string_view> args) {
  const lumo::cli::ParsedCommandLine parsed = lumo::cli::ParseCommandLine(args);
  if (!parsed.ok) {
    Report(parsed.error);
    return kExitUsage;
  }
  const lumo::cli::CommandLine& line = parsed.line;
  if (line.help) return WriteStdout(lumo::cli::UsageText());
  if (line.version) return WriteStdout("lumo-render " LUMO_VERSION "\n");

  const lumo::cli::SettingsOutcome settings = lumo::cli::ResolveSettings(line);
  if (!settings.ok) {
    Report(settings.error);
    return settings.exitStatus;
  }
  lumo::LabelCanvas canvas;
  if (!lumo::CreateCanvas(canvas, settings.settings)) {
    Report("settings refused: the label canvas cannot be made");
    return kExitUsage;
  }

  lumo::cli::LabelInput input = lumo::cli::ReadLabelInput(line.input, canvas.textCapacity);
  if (!input.ok) {
    Report(input.error);
    return kExitUnreadableOrUnwritable;
  }
  if (!input.warning.empty()) Report(input.warning);

  std::string lowerText;
  if (line.layout) {
    std::string layout;
    lumo::ComposeLabel(
        canvas, settings.settings, input.text, lowerText,
        [&layout](lumo::LabelHalf half, const lumo::GlyphPlacement& glyph) {
          AppendLayoutLine(layout, half, glyph);
        },
        /*draw=*/false);
    return WriteStdout(layout);
  }

  std::filesystem::path directory;
  if (line.outputDir) {
    directory = *line.outputDir;
  } else {
    std::error_code error;
    directory = std::filesystem::current_path(error);
    if (error) {
      Report("cannot find the current directory: " + error.message());
      return kExitUnreadableOrUnwritable;
    }
  }
  const lumo::SaveResult saved =
      lumo::RenderAndSave(canvas, settings.settings, input.text, lowerText, directory);
  if (!saved.ok) {
    Report(saved.error);
    return kExitUnreadableOrUnwritable;
  }
  return WriteStdout(saved.path.string() + "\n");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  try {
    return Run(args);
  } catch (const std::bad_alloc&) {
    Report("not enough memory for this label");
  } catch (const std::exception& error) {
    Report(error.what());
  }
  return kExitUnreadableOrUnwritable;
}
