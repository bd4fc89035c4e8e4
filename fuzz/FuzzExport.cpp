// A label from arbitrary settings and text written as PDF, SVG and PNG: a
// vector page is written exactly when its size is one readers take and
// refused for that alone otherwise, a written PDF's cross-reference table
// points at its objects, and a small canvas's PNG is always written and
// inflates to the canvas's greys.
#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "LabelCanvas.h"
#include "LabelComposer.h"
#include "LabelPng.h"
#include "LabelVector.h"
#include "SettingsFile.h"

namespace {

// What `write` puts in a file, or nothing when it fails.
template <typename Write>
lumo::Result<std::string> Written(Write write) {
  const int fd = memfd_create("page", MFD_CLOEXEC);
  if (fd < 0) __builtin_trap();
  const lumo::Result<void> written = write(fd);
  std::string bytes;
  char buffer[65536];
  ssize_t got = 0;
  while (written &&
         (got = pread(fd, buffer, sizeof buffer, static_cast<off_t>(bytes.size()))) > 0) {
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  if (!written) return written.error();
  return bytes;
}

// Every object the table lists starts where it says, and so does the table.
void CheckPdf(const std::string& pdf) {
  const std::size_t start = pdf.rfind("startxref\n");
  if (start == std::string::npos || !pdf.ends_with("%%EOF\n")) __builtin_trap();
  const std::size_t table = std::stoul(pdf.substr(start + 10));
  if (pdf.compare(table, 7, "xref\n0 ") != 0) __builtin_trap();
  const std::size_t objects = std::stoul(pdf.substr(table + 7));
  std::size_t entry = pdf.find('\n', table + 7) + 1 + 20;
  for (std::size_t id = 1; id < objects; ++id, entry += 20) {
    const std::string object = std::to_string(id) + " 0 obj\n";
    if (pdf.compare(std::stoul(pdf.substr(entry, 10)), object.size(), object) != 0) {
      __builtin_trap();
    }
  }
}

// The PNG's one IDAT inflated is the canvas's rows of greys, each after
// its filter byte 0.
void CheckPng(const std::string& png, const lumo::Surface& image) {
  const std::size_t idat = png.find("IDAT");
  if (idat == std::string::npos || idat < 4) __builtin_trap();
  const auto width = static_cast<std::size_t>(image.width());
  std::string expected;
  std::string row(width, '\0');
  for (int y = 0; y < image.height(); ++y) {
    lumo::GreyRow(image.row(y), reinterpret_cast<std::uint8_t*>(row.data()));
    expected += '\0' + row;
  }
  std::string inflated(expected.size() + 1, '\0');
  uLongf size = inflated.size();
  uLong length = 0;
  for (std::size_t at = idat - 4; at < idat; ++at) {
    length = length << 8 | static_cast<unsigned char>(png[at]);
  }
  if (uncompress(reinterpret_cast<Bytef*>(inflated.data()), &size,
                 reinterpret_cast<const Bytef*>(png.data() + idat + 4), length) != Z_OK ||
      inflated.substr(0, size) != expected) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto settings = lumo::DecodeSettings(std::span(data, size));
  if (!settings) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 32, size - 32);
  const auto geometry = lumo::ComputeCanvasGeometry(*settings);
  if (!geometry) return 0;
  const lumo::LabelLayout layout = lumo::ComposeLayout(*geometry, *settings, text);
  // A vector page costs by the glyph, a PNG by the pixel: both kept small.
  if (layout.glyphs.size() > 512) return 0;
  const auto& face = lumo::DefaultLabelFace();
  if (!face) return 0;

  const lumo::VectorPage page{geometry->canvasRect.width, settings->resolutionDpi};
  const lumo::Result<void> fits = lumo::CheckVectorPage(page);
  if (!fits && fits.error().reason != lumo::ErrorReason::NoPixels &&
      fits.error().reason != lumo::ErrorReason::PageOutOfRange) {
    __builtin_trap();
  }
  const auto pdf = Written([&](int fd) { return WriteLabelPdf(fd, layout, page, **face); });
  const auto svg = Written([&](int fd) { return WriteLabelSvg(fd, layout, page, **face); });
  for (const auto* file : {&pdf, &svg}) {
    if (static_cast<bool>(*file) != static_cast<bool>(fits)) __builtin_trap();
    if (!*file && file->error().reason != fits.error().reason) __builtin_trap();
  }
  if (pdf) CheckPdf(*pdf);
  if (svg && (!svg->starts_with("<?xml") || !svg->ends_with("</svg>\n"))) __builtin_trap();

  if (page.side <= 0 || page.side > 96) return 0;
  lumo::LabelCanvas canvas{*geometry, {}};
  lumo::DrawLabel(canvas, layout, face->get());
  const auto png =
      Written([&](int fd) { return WriteLabelPng(fd, canvas.image, settings->resolutionDpi); });
  if (!png || !png->starts_with("\x89PNG")) __builtin_trap();
  CheckPng(*png, canvas.image);
  return 0;
}
