// Chooses the writer for a format; the files themselves are FileWrite's.
#include "LabelExport.h"

#include "LabelBitmap.h"
#include "LabelPng.h"
#include "LabelVector.h"

namespace lumo {
namespace {

// Why the label cannot be written at all, before any file is made.
std::optional<Error> Unwritable(LabelFormat format, const LabelPicture& picture) {
  if (picture.canvas.geometry.canvasRect.width() <= 0) {
    return Error{"the label has no pixels (its diameter and resolution give a canvas of size 0)"};
  }
  if (!IsRaster(format)) return VectorFaceProblem();
  return std::nullopt;
}

FileWriter WriterFor(LabelFormat format, const LabelPicture& picture) {
  const VectorPage page{picture.canvas.geometry.canvasRect.width(), picture.resolutionDpi};
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
      return [&picture, page](int fd) { return WriteLabelPdf(fd, picture.layout, page); };
    case LabelFormat::Svg:
      break;
  }
  return [&picture, page](int fd) { return WriteLabelSvg(fd, picture.layout, page); };
}

}  // namespace

Result<std::filesystem::path> SaveLabel(LabelFormat format, const LabelPicture& picture,
                                        const std::filesystem::path& directory) {
  if (format == LabelFormat::Bmp) {
    return SaveLabelBitmap(picture.canvas.image, picture.resolutionDpi, directory);
  }
  if (std::optional<Error> problem = Unwritable(format, picture)) return *std::move(problem);
  return WriteNumberedFile(directory, FormatName(format), WriterFor(format, picture));
}

Result<std::filesystem::path> ExportLabel(LabelFormat format, const LabelPicture& picture,
                                          const std::filesystem::path& path) {
  if (std::optional<Error> problem = Unwritable(format, picture)) return *std::move(problem);
  return WriteReplacingFile(path, WriterFor(format, picture));
}

}  // namespace lumo
