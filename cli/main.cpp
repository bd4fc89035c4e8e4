// lumo-render: renders one label without a window and writes it as the next
// numbered label file (BMP, PNG, PDF or SVG), or prints where every glyph goes.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "CommandLine.h"
#include "ErrorText.h"
#include "FaceChoice.h"
#include "LabelSession.h"
#include "Printable.h"
#include "ResolveSettings.h"
#include "SheetChoice.h"
#include "TextIntake.h"
#include "Version.h"

namespace {

using lumo::cli::Failure;

// Messages are one line each, whatever a file name holds.
void Report(std::string_view message) {
  const std::string line = "lumo-render: " + lumo::Printable(message) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

int Stop(const Failure& failure) {
  Report(failure.message);
  return failure.exitStatus;
}

// Standard output is where scripts get the result; a failure to write it is
// an error like any other.
int WriteStdout(std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    return Stop({lumo::cli::kExitFailed, "cannot write to standard output"});
  }
  return lumo::cli::kExitOk;
}

// One line per glyph: half, ring, reference point, escapement, height, width
// and the glyph's bytes in hexadecimal, or for a character beyond code page
// 932 its code points ("u+1f600", "u+2764+fe0f"), which no bytes can look like.
std::string LayoutText(const lumo::LabelLayout& layout) {
  std::string out;
  for (const lumo::PlacedGlyph& glyph : layout.glyphs) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "%s %d %d %d %d %d %d ",
                  glyph.half == lumo::LabelHalf::Upper ? "upper" : "lower", glyph.ring, glyph.x,
                  glyph.y, glyph.font.escapement, glyph.font.height, glyph.font.width);
    out += numbers;
    if (glyph.extra >= 0) {
      const char* joint = "u+";
      for (const char32_t cp : layout.extras[static_cast<std::size_t>(glyph.extra)]) {
        char code[16];
        std::snprintf(code, sizeof code, "%s%x", joint, static_cast<unsigned>(cp));
        out += code;
        joint = "+";
      }
    } else {
      for (const char c : glyph.bytes()) lumo::AppendHex(out, static_cast<unsigned char>(c));
    }
    out += '\n';
  }
  return out;
}

// INPUT as the window takes its start-up, a paste or a drop: nothing is the
// start-up prompt, "-" standard input, a name ending in ".txt" a text file,
// anything else a folder. A folder that exists but cannot be listed makes an
// empty label, with a warning; one that does not exist is an error.
std::optional<Failure> TakeInput(lumo::LabelSession& session,
                                 const std::optional<std::string>& input) {
  if (!input) {
    session.SetLabelText(std::string(lumo::kStartupPrompt));
    return std::nullopt;
  }
  if (*input == "-") {
    lumo::Result<lumo::LabelText> pasted =
        lumo::ReadPastedText(STDIN_FILENO, session.canvas().geometry.textCapacity);
    if (!pasted) return lumo::cli::FailureOf(pasted.error());
    session.SetLabelText(std::move(*pasted));
    return std::nullopt;
  }
  if (lumo::HasTxtExtension(*input)) {
    const lumo::Result<void> taken = session.TakeTextFile(*input);
    if (!taken) return lumo::cli::FailureOf(taken.error());
    return std::nullopt;
  }
  const lumo::Result<void> listed = session.TakeFolder(*input);
  if (!listed && listed.error().reason != lumo::ErrorReason::Unlistable) {
    return lumo::cli::FailureOf(listed.error());
  }
  if (!listed) Report(lumo::cli::ListingWarning(listed.error()));
  return std::nullopt;
}

// The written file's path for scripts: absolute where the system can tell
// the current directory's name, as given otherwise.
std::string WrittenPath(const std::filesystem::path& written) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(written, error);
  return lumo::Printable((error ? written : absolute.lexically_normal()).string());
}

int Run(std::span<const std::string_view> args) {
  const auto parsed = lumo::cli::ParseCommandLine(args);
  if (!parsed) return Stop(parsed.error());
  const lumo::cli::CommandLine& line = *parsed;
  if (line.help) return WriteStdout(lumo::cli::UsageText());
  if (line.version) return WriteStdout("lumo-render " LUMO_VERSION "\n");
  if (line.sheet == "list") {
    std::string warning;
    const std::string list = lumo::cli::SheetListText(warning);
    if (!warning.empty()) Report("warning: " + warning);
    return WriteStdout(list);
  }

  // fontconfig takes some milliseconds to find the face: meanwhile the
  // settings and the input are read and the canvas is made.
  std::optional<lumo::Result<std::shared_ptr<lumo::LabelFace>>> face;
  std::jthread faceLookup;
  if (!line.layout) {
    faceLookup = std::jthread([&face, &line] {
      face = lumo::LoadChosenFace(line.font, lumo::SavedFaceChoice());
    });
  }
  const auto settings = lumo::cli::ResolveSettings(line);
  if (!settings) return Stop(settings.error());
  std::optional<lumo::SheetPage> sheetPage;
  if (line.sheet) {
    const auto sheet = lumo::cli::FindSheet(*line.sheet);
    if (!sheet) return Stop(sheet.error());
    auto page = lumo::cli::SheetPageFor(*sheet, line.positions, settings->diameterMm);
    if (!page) return Stop(page.error());
    sheetPage = std::move(*page);
    if (lumo::LabelBleeds(*sheet, settings->diameterMm)) {
      Report("warning: the " + lumo::cli::FormatNumber(settings->diameterMm) +
             " mm label is larger than the sheet's " + lumo::cli::FormatNumber(sheet->discMm) +
             " mm discs and prints beyond their edges");
    }
  }
  // The folder as given, the current directory by default, so that messages
  // name it as the user knows it and a deep one needs no absolute name.
  lumo::LabelSession session(line.outputDir.value_or(""));
  // Resolved settings always give a canvas.
  if (const lumo::Result<void> created = session.CreateCanvas(*settings); !created) {
    return Stop(lumo::cli::FailureOf(created.error()));
  }
  if (const std::optional<Failure> failed = TakeInput(session, line.input)) return Stop(*failed);

  // A layout needs the canvas's geometry only, neither pixels nor a face.
  if (line.layout) return WriteStdout(LayoutText(session.LayOutLabel()));
  // Only a bitmap needs the canvas, which is cleared while the face is looked up.
  if (!sheetPage && IsRaster(line.format)) session.PrepareCanvas();
  faceLookup.join();
  session.SetFace(std::move(*face));
  if (!session.face()) return Stop(lumo::cli::FailureOf(session.face().error()));
  const auto saved =
      sheetPage ? session.RenderAndSaveSheet(*sheetPage) : session.RenderAndSave(line.format);
  if (!saved) return Stop(lumo::cli::FailureOf(saved.error()));
  // Text that does not fit is no error, but a script should hear of it.
  if (const lumo::LabelLayout& layout = session.layout(); layout.leftOffBytes > 0) {
    Report(std::string("warning: ") + (layout.leftOffMore ? "more than " : "") +
           std::to_string(layout.leftOffCharacters) + " characters (" +
           std::to_string(layout.leftOffBytes) + " bytes) of the text did not fit on the label");
  }
  if (const std::size_t missing = session.MissingCharacters(); missing > 0) {
    Report("warning: " + std::to_string(missing) +
           " characters have no glyph in any installed font");
  }
  const int status = WriteStdout(WrittenPath(*saved) + "\n");
  // The canvas (32 MB for the default label) and the face go with the
  // process: unmapping them page by page would only cost time. The
  // sanitizer builds free everything, so that a leak still shows.
#ifndef LUMO_SANITIZE
  std::_Exit(status);
#endif
  return status;
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
  return lumo::cli::kExitFailed;
}
