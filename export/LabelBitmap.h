// Writes a label canvas as a numbered bottom-up 32-bit BMP file
// (lumo000.bmp ... lumo999.bmp) and the compose-then-save sequence.
#pragma once

#include <filesystem>
#include <string>

#include "LabelCanvas.h"
#include "LabelSettings.h"

namespace lumo {

struct SaveResult {
  bool ok = false;
  std::filesystem::path path;  // the file written, when ok
  std::string error;           // why nothing was written, when !ok
};

// Writes `canvas` under the first free name of the series in `directory`.
// A file is never overwritten or emptied, and a failed write leaves no file.
[[nodiscard]] SaveResult SaveLabelBitmap(const LabelCanvas& canvas, double resolutionDpi,
                                         const std::filesystem::path& directory);

// ComposeLabel followed by SaveLabelBitmap.
SaveResult RenderAndSave(LabelCanvas& canvas, const LabelSettings& settings,
                         std::string& labelText, std::string& lowerText,
                         const std::filesystem::path& directory);

}  // namespace lumo
