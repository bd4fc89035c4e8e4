// The grey PNG through libpng. libpng reports errors by longjmp, so the
// encoding runs in a function whose frame holds nothing with a destructor.
#include "LabelPng.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <new>
#include <vector>

#include "Io.h"
#include "LabelBitmap.h"

namespace lumo {
namespace {

// Where the encoder's output collects; the label compresses to a few hundred
// kilobytes, written with one call at the end.
struct Output {
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> row;
};

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Output*>(png_get_io_ptr(png));
  try {
    out->bytes.insert(out->bytes.end(), data, data + length);
  } catch (const std::bad_alloc&) {
    png_error(png, "out of memory");
  }
}

void NoFlush(png_structp) {}

// Errors end the encoding through the jump buffer; warnings are of no use to
// the person saving a label.
void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

std::uint32_t Density(double resolutionDpi) {
  return static_cast<std::uint32_t>(std::max(0, PixelsPerMetre(resolutionDpi)));
}

// True when the whole image went into `out`. Only trivially destructible
// values live in this frame, so a longjmp out of libpng skips nothing.
bool Encode(png_structp png, png_infop info, const Surface& image, double resolutionDpi,
            Output& out) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_set_write_fn(png, &out, &Append, &NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
               static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  const std::uint32_t density = Density(resolutionDpi);
  png_set_pHYs(png, info, density, density, PNG_RESOLUTION_METER);
  // A label is mostly long white runs between short grey edges: unfiltered
  // rows under run-length deflate came out both smallest and fastest, well
  // ahead of filtered rows at any level.
  png_set_compression_strategy(png, Z_RLE);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_write_info(png, info);
  std::uint8_t* grey = out.row.data();
  for (int y = 0; y < image.height(); ++y) {
    GreyRow(image.row(y), grey);
    png_write_row(png, grey);
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

Result<void> WriteLabelPng(int fd, const Surface& image, double resolutionDpi) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &OnError, &OnWarning);
  if (png == nullptr) return WriteFailure(ENOMEM);
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return WriteFailure(ENOMEM);
  }
  Output out;
  bool encoded = false;
  try {
    out.row.resize(static_cast<std::size_t>(image.width()));
    out.bytes.reserve(std::size_t{1} << 20);
    encoded = Encode(png, info, image, resolutionDpi, out);
  } catch (const std::bad_alloc&) {
  }
  png_destroy_write_struct(&png, &info);
  if (!encoded) return WriteFailure(ENOMEM);
  return WriteAll(fd, std::span(reinterpret_cast<const char*>(out.bytes.data()), out.bytes.size()));
}

}  // namespace lumo
