// Raster operations of the label surface: white fill and the scaled copy.
#include "Surface.h"

#include <algorithm>
#include <cstring>

namespace lumo {

Surface::Surface(int width, int height) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kWhite);
}

void Surface::FillWhite() { std::fill(pixels_.begin(), pixels_.end(), kWhite); }

void GreyRow(std::span<const Pixel> row, std::uint8_t* out) noexcept {
  for (const Pixel pixel : row) *out++ = static_cast<std::uint8_t>(pixel >> 8);
}

namespace {

// The source span [first, last) that destination index `i` of `dstSize`
// covers: every source pixel that falls on it when shrinking, the nearest one
// when enlarging.
struct SourceSpan {
  int first;
  int last;
};

SourceSpan SpanFor(std::int64_t i, std::int64_t dstSize, std::int64_t srcSize) {
  auto first = static_cast<int>(i * srcSize / dstSize);
  auto last = static_cast<int>((i + 1) * srcSize / dstSize);
  if (last <= first) last = first + 1;
  return {first, last};
}

// Per-channel minimum of two BGRX pixels, byte by byte.
inline Pixel MinChannels(Pixel a, Pixel b) {
  std::uint8_t x[4];
  std::uint8_t y[4];
  std::memcpy(x, &a, 4);
  std::memcpy(y, &b, 4);
  for (int i = 0; i < 4; ++i) x[i] = std::min(x[i], y[i]);
  Pixel out;
  std::memcpy(&out, x, 4);
  return out;
}

}  // namespace

void ScaledCopy(Surface& dst, int dstX, int dstY, int dstWidth, int dstHeight, const Surface& src) {
  if (src.empty() || dst.empty() || dstWidth <= 0 || dstHeight <= 0) return;
  const int x0 = std::max(0, dstX);
  const int x1 =
      static_cast<int>(std::min<std::int64_t>(dst.width(), std::int64_t{dstX} + dstWidth));
  const int y0 = std::max(0, dstY);
  const int y1 =
      static_cast<int>(std::min<std::int64_t>(dst.height(), std::int64_t{dstY} + dstHeight));
  if (x0 >= x1 || y0 >= y1) return;

  // Source columns of the visible destination columns, once for all rows.
  std::vector<SourceSpan> columns;
  columns.reserve(static_cast<std::size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x) columns.push_back(SpanFor(x - dstX, dstWidth, src.width()));
  const int srcFirst = columns.front().first;
  const int srcLast = columns.back().last;
  const auto srcCount = static_cast<std::size_t>(srcLast - srcFirst);

  // The rows that fall together are first combined byte by byte (a loop the
  // compiler turns into vector minimums), then the columns.
  std::vector<Pixel> combined(srcCount);
  const std::size_t combinedBytes = srcCount * sizeof(Pixel);
  for (int y = y0; y < y1; ++y) {
    const SourceSpan rows = SpanFor(y - dstY, dstHeight, src.height());
    std::memcpy(combined.data(), src.row(rows.first).data() + srcFirst, combinedBytes);
    for (int r = rows.first + 1; r < rows.last; ++r) {
      const auto* from = reinterpret_cast<const std::uint8_t*>(src.row(r).data() + srcFirst);
      auto* to = reinterpret_cast<std::uint8_t*>(combined.data());
      for (std::size_t i = 0; i < combinedBytes; ++i) to[i] = std::min(to[i], from[i]);
    }
    const Pixel* acc = combined.data();
    auto out = dst.row(y);
    for (int x = x0; x < x1; ++x) {
      const SourceSpan span = columns[static_cast<std::size_t>(x - x0)];
      Pixel value = acc[span.first - srcFirst];
      for (int c = span.first + 1; c < span.last; ++c)
        value = MinChannels(value, acc[c - srcFirst]);
      out[static_cast<std::size_t>(x)] = value;
    }
  }
}

}  // namespace lumo
