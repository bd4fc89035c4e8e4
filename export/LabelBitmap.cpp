// Writes a label image as a numbered bottom-up 32-bit BMP file; the numbered
// series itself (never replacing, never partial) is FileWrite's.
#include "LabelBitmap.h"

#include <sys/uio.h>

#include <algorithm>
#include <bit>
#include <span>
#include <vector>

#include "Int32Arithmetic.h"
#include "Io.h"
#include "LittleEndian.h"

namespace lumo {

Result<void> WriteLabelBitmap(int fd, const Surface& image, double resolutionDpi) {
  return WriteLabelBitmapAsDrawn(fd, image, resolutionDpi,
                                 [&image](const LabelFace::RowsDrawn& drawn) {
                                   drawn(0, image.height());
                                 });
}

// The surface's rows already hold the file's byte order on a little-endian
// machine, so they go to the kernel without a copy.
Result<void> WriteLabelBitmapAsDrawn(int fd, const Surface& image, double resolutionDpi,
                                     const BitmapDrawing& draw) {
  BitmapHeader header = EncodeBitmapHeader(image, resolutionDpi);
  const std::size_t rowBytes = static_cast<std::size_t>(image.width()) * sizeof(Pixel);
  std::vector<iovec> pieces{{header.data(), header.size()}};
  std::vector<std::uint8_t> converted;
  Result<void> written;
  draw([&](int top, int bottom) {
    if (!written) return;  // the file has failed; the drawing goes on
    if constexpr (std::endian::native != std::endian::little) {
      converted.resize(rowBytes * static_cast<std::size_t>(bottom - top));
    }
    std::uint8_t* out = converted.data();
    for (int y = bottom - 1; y >= top; --y) {
      const std::span<const Pixel> row = image.row(y);
      if constexpr (std::endian::native == std::endian::little) {
        // writev only reads through the pointer.
        pieces.push_back({const_cast<Pixel*>(row.data()), rowBytes});
      } else {
        pieces.push_back({out, rowBytes});
        for (const Pixel pixel : row) {
          PutLittleEndian<4>(out, pixel);
          out += 4;
        }
      }
    }
    written = WriteAll(fd, pieces);
    pieces.clear();
  });
  return written;
}

std::int32_t PixelsPerMetre(double resolutionDpi) noexcept {
  return TruncateToInt32(resolutionDpi * 1000.0 / 25.4);
}

BitmapHeader EncodeBitmapHeader(const Surface& image, double resolutionDpi) {
  const auto width = static_cast<std::uint32_t>(std::max(0, image.width()));
  const auto height = static_cast<std::uint32_t>(std::max(0, image.height()));
  const std::uint32_t imageSize = width * height * 4;
  const auto pixelsPerMetre = static_cast<std::uint32_t>(PixelsPerMetre(resolutionDpi));

  BitmapHeader header{};
  std::uint8_t* out = header.data();
  out[0] = 'B';
  out[1] = 'M';
  PutLittleEndian<4>(out + 2, static_cast<std::uint32_t>(kBitmapHeaderSize) + imageSize);  // bfSize
  PutLittleEndian<4>(out + 10, static_cast<std::uint32_t>(kBitmapHeaderSize));  // bfOffBits
  PutLittleEndian<4>(out + 14, 40);                                             // biSize
  PutLittleEndian<4>(out + 18, width);
  PutLittleEndian<4>(out + 22, height);  // positive: bottom row first
  PutLittleEndian<2>(out + 26, 1);       // planes
  PutLittleEndian<2>(out + 28, 32);      // bits per pixel
  PutLittleEndian<4>(out + 34, imageSize);
  PutLittleEndian<4>(out + 38, pixelsPerMetre);
  PutLittleEndian<4>(out + 42, pixelsPerMetre);
  // Reserved fields, compression (BI_RGB) and colour counts stay 0.
  return header;
}

}  // namespace lumo
