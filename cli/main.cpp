// lumo-render: renders one label without a window and writes it as the next
// numbered label file (BMP, PNG, PDF or SVG), or prints where every glyph goes.
#include <csignal>
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
#include "FontFace.h"
#include "LabelCanvas.h"
#include "LabelExport.h"
#include "LabelComposer.h"
#include "LabelInput.h"
#include "Printable.h"
#include "SettingsOverrides.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUnreadableOrUnwritable = 1;
constexpr int kExitUsage = 2;

// Messages are one line each, whatever a file name holds.
void Report(std::string_view message) {
  const std::string line = "lumo-render: " + lumo::Printable(message) + "\n";
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

// One line per glyph: half, ring, reference point, escapement, height, width
// and the glyph's bytes in hexadecimal.
std::string LayoutText(const lumo::LabelLayout& layout) {
  std::string out;
  constexpr char kHex[] = "0123456789abcdef";
  for (const lumo::PlacedGlyph& glyph : layout.glyphs) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "%s %d %d %d %d %d %d ",
                  glyph.half == lumo::LabelHalf::Upper ? "upper" : "lower", glyph.ring, glyph.x,
                  glyph.y, glyph.font.escapement, glyph.font.height, glyph.font.width);
    out += numbers;
    for (const char c : glyph.bytes()) {
      const auto byte = static_cast<unsigned char>(c);
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    }
    out += '\n';
  }
  return out;
}

// Text that does not fit is no error, but a script should hear of it.
void ReportLeftOff(const lumo::LabelLayout& layout) {
  if (layout.leftOffBytes == 0) return;
  Report("warning: " + std::to_string(layout.leftOffCharacters) + " characters (" +
         std::to_string(layout.leftOffBytes) + " bytes) of the text did not fit on the label");
}

int Run(std::span<const std::string_view> args) {
  const lumo::Result<lumo::cli::CommandLine> parsed = lumo::cli::ParseCommandLine(args);
  if (!parsed) {
    Report(parsed.error().message);
    return kExitUsage;
  }
  const lumo::cli::CommandLine& line = *parsed;
  if (line.help) return WriteStdout(lumo::cli::UsageText());
  if (line.version) return WriteStdout("lumo-render " LUMO_VERSION "\n");

  const auto resolved = lumo::cli::ResolveSettings(line);
  if (!resolved) {
    Report(resolved.error().message);
    return resolved.error().exitStatus;
  }
  const auto& [settings, geometry] = *resolved;
  lumo::Result<lumo::cli::LabelInput> input =
      lumo::cli::ReadLabelInput(line.input, geometry.textCapacity);
  if (!input) {
    Report(input.error().message);
    return kExitUnreadableOrUnwritable;
  }
  if (!input->warning.empty()) Report(input->warning);

  // A layout needs the canvas's geometry only, neither pixels nor a face.
  if (line.layout)
    return WriteStdout(LayoutText(lumo::ComposeLabel(geometry, settings, input->text)));

  if (const std::optional<lumo::Error> problem = lumo::LabelFaceProblem()) {
    Report(problem->message);
    return kExitUnreadableOrUnwritable;
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
  // The vector formats draw from the layout; only the raster ones need pixels.
  lumo::LabelCanvas canvas;
  canvas.geometry = geometry;
  lumo::LabelLayout layout;
  if (lumo::IsRaster(line.format)) {
    canvas = lumo::LabelCanvas(geometry);
    layout = lumo::RenderLabel(canvas, settings, input->text);
  } else {
    layout = lumo::ComposeLabel(geometry, settings, input->text);
  }
  const auto saved =
      lumo::SaveLabel(line.format, {canvas, layout, settings.resolutionDpi}, directory);
  if (!saved) {
    Report(saved.error().message);
    return kExitUnreadableOrUnwritable;
  }
  ReportLeftOff(layout);
  return WriteStdout(lumo::Printable(saved->string()) + "\n");
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit then fails the write, which is reported and leaves no
  // file, instead of killing the process in the middle of it.
  std::signal(SIGXFSZ, SIG_IGN);
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
