// The label's file formats and writing a label in any of them: the next file
// of the numbered series, or a file under a chosen name.
#pragma once

#include <filesystem>
#include <memory>

#include "LabelCanvas.h"
#include "LabelFace.h"
#include "LabelFormat.h"
#include "LabelLayout.h"
#include "LabelVector.h"
#include "Result.h"
#include "SafeWrite.h"

namespace lumo {

// A label as drawn: the canvas (for a vector format only its geometry need be
// set), the layout drawn on it, and the face it was drawn with.
struct LabelPicture {
  const LabelCanvas& canvas;
  const LabelLayout& layout;
  double resolutionDpi = 0;
  const Result<std::shared_ptr<LabelFace>>& face;
};

// Writes the next free lumoNNN.<format> in `directory`, as WriteNumberedFile.
// A canvas without pixels (NoPixels), a bitmap beyond its size fields
// (TooLarge), a vector page beyond the sides readers take (PageOutOfRange)
// and a vector format without a face write nothing.
[[nodiscard]] Result<std::filesystem::path> SaveLabel(LabelFormat format,
                                                      const LabelPicture& picture,
                                                      const std::filesystem::path& directory);

// Draws the label on `canvas`, cleared beforehand, and writes it as
// SaveLabel does: a bitmap's rows go to its file while the rest are still
// drawn. The canvas is drawn whatever becomes of the file.
[[nodiscard]] Result<std::filesystem::path> DrawAndSaveLabel(
    LabelFormat format, LabelCanvas& canvas, const LabelLayout& layout, double resolutionDpi,
    const Result<std::shared_ptr<LabelFace>>& face, const std::filesystem::path& directory);

// Writes the next free lumoNNN.pdf in `directory`: a page of `sheet` with the
// label at its places, at its true size (WriteSheetPdf).
[[nodiscard]] Result<std::filesystem::path> SaveSheet(const LabelPicture& picture,
                                                      const SheetPage& sheet,
                                                      const std::filesystem::path& directory);

// Writes the label to `path`, replacing a file there only once the new one is
// complete.
[[nodiscard]] Result<void> ExportLabel(LabelFormat format, const LabelPicture& picture,
                                       const std::filesystem::path& path);

}  // namespace lumo
