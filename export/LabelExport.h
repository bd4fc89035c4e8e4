// The label's file formats and writing a label in any of them: the next file
// of the numbered series, or a file under a chosen name.
#pragma once

#include <filesystem>

#include "FileWrite.h"
#include "LabelCanvas.h"
#include "LabelFormat.h"
#include "LabelLayout.h"
#include "Result.h"

namespace lumo {

// A label as drawn: the canvas (for a vector format only its geometry need be
// set) and the layout drawn on it.
struct LabelPicture {
  const LabelCanvas& canvas;
  const LabelLayout& layout;
  double resolutionDpi = 0;
};

// Writes the next free lumoNNN.<format> in `directory`, as WriteNumberedFile.
// A canvas without pixels writes nothing.
[[nodiscard]] Result<std::filesystem::path> SaveLabel(LabelFormat format,
                                                      const LabelPicture& picture,
                                                      const std::filesystem::path& directory);

// Writes the label to `path`, replacing a file there only once the new one is
// complete.
[[nodiscard]] Result<std::filesystem::path> ExportLabel(LabelFormat format,
                                                        const LabelPicture& picture,
                                                        const std::filesystem::path& path);

}  // namespace lumo
