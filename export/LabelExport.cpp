// Chooses the writer for a format; the files themselves are SafeWrite's.
#include "LabelExport.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "LabelBitmap.h"
#include "LabelPng.h"
#include "LabelVector.h"

namespace lumo {
namespace {

// Why the label cannot be written at all, before any file is made.
std::optional<Error> Unwritable(LabelFormat format, const LabelPicture& picture) {
  const std::int32_t side = picture.canvas.geometry.canvasRect.width;
  if (side <= 0) return Error(ErrorReason::NoPixels);
  if (format == LabelFormat::Bmp) {
    // The header's size fields are 32 bits wide; a canvas within the canvas
    // limit stays far below that.
    const std::uint64_t fileBytes = kBitmapHeaderSize + std::uint64_t{4} * side * side;
    if (fileBytes > std::numeric_limits<std::uint32_t>::max()) {
      return Error(ErrorReason::TooLarge);
    }
  }
  if (IsRaster(format)) return std::nullopt;
  if (Result<void> fits = CheckVectorPage({side, picture.resolutionDpi}); !fits) {
    return fits.error();
  }
  if (!picture.face) return picture.face.error();
  return std::nullopt;
}

FileWriter WriterFor(LabelFormat format, const LabelPicture& picture) {
  const VectorPage page{picture.canvas.geometry.canvasRect.width, picture.resolutionDpi};
  switch (format) {
    case LabelFormat::Bmp:
      return [&picture](int fd) {
        return WriteLabelBitmap(fd, picture.canvas.image, picture.resolutionDpi);
      };
    case LabelFormat::Png:
      return [&picture](int fd) {
        return WriteLabelPng(fd, picture.canvas.image, picture.resolutionDpi);
      };
    case LabelFormat::Pdf:
      return [&picture, page](int fd) {
        return WriteLabelPdf(fd, picture.layout, page, **picture.face);
      };
    case LabelFormat::Svg:
      break;
  }
  return
      [&picture, page](int fd) { return WriteLabelSvg(fd, picture.layout, page, **picture.face); };
}

}  // namespace

Result<std::filesystem::path> SaveLabel(LabelFormat format, const LabelPicture& picture,
                                        const std::filesystem::path& directory) {
  if (std::optional<Error> problem = Unwritable(format, picture)) return *std::move(problem);
  return WriteNumberedFile(directory, FormatName(format), WriterFor(format, picture));
}

Result<std::filesystem::path> DrawAndSaveLabel(LabelFormat format, LabelCanvas& canvas,
                                               const LabelLayout& layout, double resolutionDpi,
                                               const Result<std::shared_ptr<LabelFace>>& face,
                                               const std::filesystem::path& directory) {
  const LabelPicture picture{canvas, layout, resolutionDpi, face};
  const LabelFace* drawWith = face ? face->get() : nullptr;
  bool drawn = false;
  const auto draw = [&](const LabelFace::RowsDrawn& rows) {
    // A writer may be asked for the file again; the label is drawn once.
    if (drawWith == nullptr || drawn) {
      if (rows) rows(0, canvas.image.height());
    } else {
      drawWith->DrawBottomUp(canvas.image, layout.glyphs, layout.extras, rows);
    }
    drawn = true;
  };
  if (format != LabelFormat::Bmp || Unwritable(format, picture)) {
    draw({});
    return SaveLabel(format, picture, directory);
  }
  Result<std::filesystem::path> saved = WriteNumberedFile(directory, "bmp", [&](int fd) {
    return WriteLabelBitmapAsDrawn(fd, canvas.image, resolutionDpi, draw);
  });
  if (!drawn) draw({});  // no file was begun
  return saved;
}

Result<std::filesystem::path> SaveSheet(const LabelPicture& picture, const SheetPage& sheet,
                                        const std::filesystem::path& directory) {
  if (std::optional<Error> problem = Unwritable(LabelFormat::Pdf, picture)) {
    return *std::move(problem);
  }
  const VectorPage label{picture.canvas.geometry.canvasRect.width, picture.resolutionDpi};
  return WriteNumberedFile(directory, "pdf", [&](int fd) {
    return WriteSheetPdf(fd, picture.layout, label, **picture.face, sheet);
  });
}

Result<void> ExportLabel(LabelFormat format, const LabelPicture& picture,
                         const std::filesystem::path& path) {
  if (std::optional<Error> problem = Unwritable(format, picture)) return *std::move(problem);
  return ReplaceFile(path, WriterFor(format, picture));
}

}  // namespace lumo
