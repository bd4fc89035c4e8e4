// Writes a label canvas as a numbered bottom-up 32-bit BMP file, created
// exclusively so that no existing file is ever emptied or replaced.
#include "LabelBitmap.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <limits>
#include <span>
#include <vector>

#include "FileDescriptor.h"
#include "LabelComposer.h"
#include "Truncate.h"

namespace lumo {
namespace {

void PutU16(std::uint8_t* out, std::uint16_t value) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Writes the pieces in order, however the kernel splits the writes; returns 0
// or the errno of the failure (ENOSPC when the device takes nothing more).
int WriteAllPieces(int fd, std::vector<iovec>& pieces) {
  std::size_t next = 0;
  while (next < pieces.size()) {
    const int count = static_cast<int>(std::min<std::size_t>(IOV_MAX, pieces.size() - next));
    const ssize_t written = ::writev(fd, &pieces[next], count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return ENOSPC;
    auto left = static_cast<std::size_t>(written);
    while (next < pieces.size() && left >= pieces[next].iov_len) left -= pieces[next++].iov_len;
    if (left > 0) {
      pieces[next].iov_base = static_cast<std::uint8_t*>(pieces[next].iov_base) + left;
      pieces[next].iov_len -= left;
    }
  }
  return 0;
}

// Header and pixel rows, bottom row first; returns 0 or an errno. The
// surface's rows already hold the file's byte order on a little-endian
// machine, so they go to the kernel without a copy.
int WriteBitmap(int fd, const LabelCanvas& canvas, double resolutionDpi) {
  BitmapHeader header = EncodeBitmapHeader(canvas, resolutionDpi);
  const Surface& image = canvas.image;
  const std::size_t rowBytes = static_cast<std::size_t>(image.width()) * sizeof(Pixel);
  std::vector<std::uint8_t> converted;
  if constexpr (std::endian::native != std::endian::little) {
    converted.resize(rowBytes * static_cast<std::size_t>(image.height()));
  }
  std::vector<iovec> pieces;
  pieces.reserve(static_cast<std::size_t>(image.height()) + 1);
  pieces.push_back({header.data(), header.size()});
  for (int y = image.height() - 1; y >= 0; --y) {
    const std::span<const Pixel> row = image.row(y);
    if constexpr (std::endian::native == std::endian::little) {
      // writev only reads through the pointer.
      pieces.push_back({const_cast<Pixel*>(row.data()), rowBytes});
    } else {
      std::uint8_t* out = converted.data() + rowBytes * static_cast<std::size_t>(y);
      for (const Pixel pixel : row) {
        PutU32(out, pixel);
        out += 4;
      }
      pieces.push_back({out - rowBytes, rowBytes});
    }
  }
  return WriteAllPieces(fd, pieces);
}

std::string Describe(int error) { return std::strerror(error); }

}  // namespace

std::int32_t PixelsPerMetre(double resolutionDpi) noexcept {
  return TruncateToInt32(resolutionDpi * 1000.0 / 25.4);
}

BitmapHeader EncodeBitmapHeader(const LabelCanvas& canvas, double resolutionDpi) {
  const auto width = static_cast<std::uint32_t>(std::max(0, canvas.image.width()));
  const auto height = static_cast<std::uint32_t>(std::max(0, canvas.image.height()));
  const std::uint32_t imageSize = width * height * 4;
  const auto pixelsPerMetre = static_cast<std::uint32_t>(PixelsPerMetre(resolutionDpi));

  BitmapHeader header{};
  std::uint8_t* out = header.data();
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out + 2, static_cast<std::uint32_t>(kBitmapHeaderSize) + imageSize);  // bfSize
  PutU32(out + 10, static_cast<std::uint32_t>(kBitmapHeaderSize));             // bfOffBits
  PutU32(out + 14, 40);                                                        // biSize
  PutU32(out + 18, width);
  PutU32(out + 22, height);  // positive: bottom row first
  PutU16(out + 26, 1);       // planes
  PutU16(out + 28, 32);      // bits per pixel
  PutU32(out + 34, imageSize);
  PutU32(out + 38, pixelsPerMetre);
  PutU32(out + 42, pixelsPerMetre);
  // Reserved fields, compression (BI_RGB) and colour counts stay 0.
  return header;
}

std::string LabelFileName(int number) {
  char name[16];
  std::snprintf(name, sizeof name, "lumo%03d.bmp", number);
  return name;
}

SaveResult SaveLabelBitmap(const LabelCanvas& canvas, double resolutionDpi,
                           const std::filesystem::path& directory) {
  SaveResult result;
  if (canvas.image.empty()) {
    result.error = "the label has no pixels (its diameter and resolution give a canvas of size 0)";
    return result;
  }
  // The header's size fields are 32 bits wide; a canvas within the canvas limit
  // stays far below that.
  const std::uint64_t fileBytes =
      kBitmapHeaderSize + std::uint64_t{sizeof(Pixel)} * canvas.image.pixels().size();
  if (fileBytes > std::numeric_limits<std::uint32_t>::max()) {
    result.error = "the label is too large for a bitmap file";
    return result;
  }

  for (int number = 0; number < kLabelFileCount; ++number) {
    std::filesystem::path path = directory / LabelFileName(number);
    // O_EXCL fails for every existing name, a folder or a dangling link too,
    // so a name found taken here can never be emptied by a race.
    int fd;
    do {
      fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      result.error = "cannot create " + path.string() + ": " + Describe(errno);
      return result;
    }

    FileDescriptor file(fd);
    int error = WriteBitmap(file.get(), canvas, resolutionDpi);
    const int closeError = file.Close();
    if (error == 0) error = closeError;
    if (error != 0) {
      result.error = "cannot write " + path.string() + ": " + Describe(error);
      if (::unlink(path.c_str()) != 0) {
        result.error += "; the incomplete file could not be removed: " + Describe(errno);
      } else {
        result.error += " (the incomplete file was removed)";
      }
      return result;
    }
    result.ok = true;
    result.path = std::move(path);
    return result;
  }
  result.error = "all names from " + LabelFileName(0) + " to " +
                 LabelFileName(kLabelFileCount - 1) + " are taken in " +
                 (directory.empty() ? std::string(".") : directory.string());
  return result;
}

SaveResult RenderAndSave(LabelCanvas& canvas, const LabelSettings& settings, std::string& labelText,
                         std::string& lowerText, const std::filesystem::path& directory) {
  ComposeLabel(canvas, settings, labelText, lowerText);
  return SaveLabelBitmap(canvas, settings.resolutionDpi, directory);
}

}  // namespace lumo
