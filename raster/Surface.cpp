// Raster operations of the label surface: white fill and the scaled copy.
#include "Surface.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace lumo {
namespace {

// Transparent huge pages come in 2 MiB; an image of a few of them is worth
// putting on pages of its own, where the first touch of 32 MB then costs a
// few dozen page faults instead of thousands.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kWorthHugePages = 2 * kHugePage;

}  // namespace

void SurfacePixelsDeleter::operator()(Pixel* pixels) const noexcept {
  if (mappedBytes == 0) {
    delete[] pixels;
  } else {
    ::munmap(pixels, mappedBytes);
  }
}

Surface Surface::Unfilled(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  const std::size_t bytes = count * sizeof(Pixel);
  if (bytes >= kWorthHugePages) {
    // Whole huge pages, mapped one larger and trimmed to a huge page's boundary.
    const std::size_t length = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    const std::size_t mapped = length + kHugePage;
    void* block =
        ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block != MAP_FAILED) {
      const auto start = reinterpret_cast<std::uintptr_t>(block);
      const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
      const std::size_t before = aligned - start;
      if (before > 0) ::munmap(block, before);
      if (mapped - before > length) {
        ::munmap(reinterpret_cast<void*>(aligned + length), mapped - before - length);
      }
      ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
      return {width, height,
              Pixels(reinterpret_cast<Pixel*>(aligned), SurfacePixelsDeleter{length})};
    }
  }
  return {width, height, Pixels(new Pixel[count], SurfacePixelsDeleter{})};
}

Surface::Surface(int width, int height) : Surface(Unfilled(width, height)) { FillWhite(); }

Surface::Surface(const Surface& other) : Surface(Unfilled(other.width_, other.height_)) {
  if (!empty()) std::memcpy(pixels_.get(), other.pixels_.get(), pixels().size_bytes());
}

Surface& Surface::operator=(const Surface& other) {
  if (this != &other) *this = Surface(other);
  return *this;
}

void Surface::FillWhite(int top, int bottom) {
  top = std::max(top, 0);
  bottom = std::min(bottom, height_);
  if (empty() || top >= bottom) return;
  std::fill(pixels_.get() + index(0, top), pixels_.get() + index(0, bottom), kWhite);
}

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
