// The grey PNG written directly with zlib: the rows are deflated in two
// halves on two threads, the first ended by a full flush so that the second
// can start its own stream of blocks, and the two are one zlib stream whose
// checksum is combined from theirs.
#include "LabelPng.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "InTwoBands.h"
#include "Io.h"
#include "LabelBitmap.h"

namespace lumo {
namespace {

// Below this many pixels a second thread costs more than it saves.
constexpr std::size_t kPixelsWorthASecondThread = std::size_t{1} << 20;

void PutBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

void AppendChunk(std::string& out, const char (&type)[5], std::string_view data) {
  PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.append(type, 4);
  out.append(data);
  const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + start);
  PutBigEndian32(
      out, static_cast<std::uint32_t>(crc32(0, bytes, static_cast<uInt>(out.size() - start))));
}

// Rows [top, bottom) as PNG scanlines (filter byte 0, then one grey byte a
// pixel) deflated raw; the last part finishes the stream, the others end on a
// byte boundary with a full flush. The Adler-32 of the scanlines comes back
// in `adler`. False when zlib gives up (out of memory).
bool DeflateRows(const Surface& image, int top, int bottom, bool last, std::string& out,
                 uLong& adler) {
  z_stream stream{};
  // A label is mostly long white runs between short grey edges: unfiltered
  // rows under run-length deflate came out both smallest and fastest.
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_RLE) != Z_OK) {
    return false;
  }
  adler = adler32(0, nullptr, 0);
  const auto width = static_cast<std::size_t>(image.width());
  std::vector<Bytef> scanline(width + 1, 0);
  bool ok = true;
  for (int y = top; y < bottom && ok; ++y) {
    GreyRow(image.row(y), scanline.data() + 1);
    adler = adler32(adler, scanline.data(), static_cast<uInt>(scanline.size()));
    stream.next_in = scanline.data();
    stream.avail_in = static_cast<uInt>(scanline.size());
    const int flush = y + 1 < bottom ? Z_NO_FLUSH : last ? Z_FINISH : Z_FULL_FLUSH;
    // Until the row is taken in and zlib has room left over, all it had to give is out.
    do {
      out.resize(stream.total_out + scanline.size() + 4096);
      stream.next_out = reinterpret_cast<Bytef*>(out.data() + stream.total_out);
      stream.avail_out = static_cast<uInt>(out.size() - stream.total_out);
      const int status = deflate(&stream, flush);
      ok = status == Z_OK || status == Z_STREAM_END || status == Z_BUF_ERROR;
    } while (ok && (stream.avail_in > 0 || stream.avail_out == 0));
    out.resize(stream.total_out);
  }
  deflateEnd(&stream);
  return ok;
}

}  // namespace

Result<void> WriteLabelPng(int fd, const Surface& image, double resolutionDpi) {
  const int height = image.height();
  std::array<std::string, 2> parts;
  std::array<uLong, 2> adlers{1, 1};  // the Adler-32 of nothing
  std::array<int, 2> rows{};
  std::array<bool, 2> deflated{true, true};
  try {
    InTwoBands(height, image.pixels().size() >= kPixelsWorthASecondThread,
               [&](int top, int bottom) {
                 const std::size_t part = top == 0 ? 0 : 1;
                 rows[part] = bottom - top;
                 deflated[part] =
                     DeflateRows(image, top, bottom, bottom == height, parts[part], adlers[part]);
               });
  } catch (const std::bad_alloc&) {
    return WriteFailure(ENOMEM);
  }
  if (!deflated[0] || !deflated[1]) return WriteFailure(ENOMEM);

  const auto rowBytes = static_cast<z_off_t>(image.width()) + 1;
  const uLong adler = adler32_combine(adlers[0], adlers[1], rowBytes * rows[1]);
  std::string zlib = "\x78\x01";  // deflate, 32 KiB window, no dictionary
  zlib += parts[0];
  zlib += parts[1];
  PutBigEndian32(zlib, static_cast<std::uint32_t>(adler));

  std::string file = "\x89PNG\r\n\x1a\n";
  std::string header;
  PutBigEndian32(header, static_cast<std::uint32_t>(image.width()));
  PutBigEndian32(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, deflate, no filter, no interlace
  AppendChunk(file, "IHDR", header);
  // The bitmap's own resolution, per metre on both axes.
  const auto density = static_cast<std::uint32_t>(std::max(0, PixelsPerMetre(resolutionDpi)));
  std::string physical;
  PutBigEndian32(physical, density);
  PutBigEndian32(physical, density);
  physical += '\x01';
  AppendChunk(file, "pHYs", physical);
  AppendChunk(file, "IDAT", zlib);
  AppendChunk(file, "IEND", {});
  return WriteAll(fd, std::span<const char>(file));
}

}  // namespace lumo
