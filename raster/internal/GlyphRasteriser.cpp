// Signed-area accumulation: every line adds, to the cells it crosses, the area
// it sweeps; a running sum along each row then gives the covered fraction.
#include "GlyphRasteriser.h"

#include <algorithm>
#include <cmath>

namespace lumo {
namespace {

// Rows are filled in strips so that a huge glyph never needs a huge buffer.
constexpr int kStripRows = 128;

// Quadratic and cubic curves are cut into lines close enough that the error
// stays far below a pixel.
int CurveSteps(double devSquared) {
  if (devSquared < 0.333) return 1;
  return std::clamp(1 + static_cast<int>(std::sqrt(std::sqrt(3.0 * devSquared))), 1, 256);
}

}  // namespace

void GlyphRasteriser::AddLine(double x0, double y0, double x1, double y1) {
  flat_.push_back({x0, y0, x1, y1});
  minX_ = std::min({minX_, x0, x1});
  maxX_ = std::max({maxX_, x0, x1});
  minY_ = std::min({minY_, y0, y1});
  maxY_ = std::max({maxY_, y0, y1});
}

void GlyphRasteriser::Flatten(const std::vector<PathSegment>& path, const Affine& m) {
  flat_.clear();
  minX_ = minY_ = INFINITY;
  maxX_ = maxY_ = -INFINITY;
  for (const PathSegment& segment : path) {
    double px[4];
    double py[4];
    const int points = segment.kind == PathSegment::Kind::Line   ? 2
                       : segment.kind == PathSegment::Kind::Quad ? 3
                                                                 : 4;
    for (int i = 0; i < points; ++i) {
      px[i] = m.xx * segment.x[i] + m.xy * segment.y[i] + m.tx;
      py[i] = m.yx * segment.x[i] + m.yy * segment.y[i] + m.ty;
    }
    if (points == 2) {
      AddLine(px[0], py[0], px[1], py[1]);
      continue;
    }
    double devSquared;
    if (points == 3) {
      const double dx = px[0] - 2 * px[1] + px[2];
      const double dy = py[0] - 2 * py[1] + py[2];
      devSquared = dx * dx + dy * dy;
    } else {
      const double dx =
          std::max(std::abs(px[0] - 2 * px[1] + px[2]), std::abs(px[1] - 2 * px[2] + px[3]));
      const double dy =
          std::max(std::abs(py[0] - 2 * py[1] + py[2]), std::abs(py[1] - 2 * py[2] + py[3]));
      devSquared = 2.25 * (dx * dx + dy * dy);
    }
    const int steps = CurveSteps(devSquared);
    double lastX = px[0];
    double lastY = py[0];
    for (int i = 1; i <= steps; ++i) {
      const double t = static_cast<double>(i) / steps;
      const double u = 1 - t;
      double x;
      double y;
      if (points == 3) {
        x = u * u * px[0] + 2 * u * t * px[1] + t * t * px[2];
        y = u * u * py[0] + 2 * u * t * py[1] + t * t * py[2];
      } else {
        x = u * u * u * px[0] + 3 * u * u * t * px[1] + 3 * u * t * t * px[2] + t * t * t * px[3];
        y = u * u * u * py[0] + 3 * u * u * t * py[1] + 3 * u * t * t * py[2] + t * t * t * py[3];
      }
      AddLine(lastX, lastY, x, y);
      lastX = x;
      lastY = y;
    }
  }
}

// Keeps the part of a line within [0, width] in x; what lies left of 0 still
// covers everything to its right, so it is kept as a vertical line at 0; what
// lies right of `width` covers nothing visible and is kept at `width`.
void GlyphRasteriser::ClipAndKeep(double x0, double y0, double x1, double y1, double width) {
  if (y0 == y1) return;  // a horizontal line covers no area
  auto keep = [&](double ax, double ay, double bx, double by) {
    clipped_.push_back({std::clamp(ax, 0.0, width), ay, std::clamp(bx, 0.0, width), by});
  };
  auto yAt = [&](double x) { return y0 + (x - x0) * (y1 - y0) / (x1 - x0); };
  double sx = x0, sy = y0;
  // Split where the line crosses x = 0 and x = width, in the order met.
  const double cuts[2] = {0.0, width};
  double ts[2];
  int n = 0;
  for (const double c : cuts) {
    if ((x0 < c) != (x1 < c)) ts[n++] = c;
  }
  if (n == 2 && (x1 < x0)) std::swap(ts[0], ts[1]);
  for (int i = 0; i < n; ++i) {
    const double cy = yAt(ts[i]);
    keep(sx, sy, ts[i], cy);
    sx = ts[i];
    sy = cy;
  }
  keep(sx, sy, x1, y1);
}

void GlyphRasteriser::Accumulate(const Line& line, int firstRow, int rows, std::size_t stride) {
  double x0 = line.x0, y0 = line.y0, x1 = line.x1, y1 = line.y1;
  if (y0 == y1) return;
  double dir = 1.0;
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
    dir = -1.0;
  }
  const double top = firstRow;
  const double bottom = firstRow + rows;
  if (y1 <= top || y0 >= bottom) return;
  const double dxdy = (x1 - x0) / (y1 - y0);
  double x = x0;
  if (y0 < top) x += (top - y0) * dxdy;
  const int rowFrom = std::max(firstRow, static_cast<int>(std::floor(y0)));
  const int rowTo = std::min(firstRow + rows, static_cast<int>(std::ceil(y1)));
  for (int row = rowFrom; row < rowTo; ++row) {
    const auto r = static_cast<std::size_t>(row - firstRow);
    float* cells = cells_.data() + r * stride;
    const double dy = std::min(row + 1.0, y1) - std::max(static_cast<double>(row), y0);
    const double xNext = x + dxdy * dy;
    const double d = dy * dir;
    // Rounding can stray a hair outside the box the line was clipped to.
    const double left = std::clamp(std::min(x, xNext), 0.0, width_);
    const double right = std::clamp(std::max(x, xNext), 0.0, width_);
    const double leftFloor = std::floor(left);
    const auto li = static_cast<std::size_t>(leftFloor);
    const double rightCeil = std::ceil(right);
    const auto ri = static_cast<std::size_t>(rightCeil);
    rowFirst_[r] = std::min(rowFirst_[r], li);
    rowEnd_[r] = std::max(rowEnd_[r], std::max(ri, li + 1) + 1);
    if (ri <= li + 1) {
      // Within one column: the area splits between it and the next.
      const double xm = 0.5 * (left + right) - leftFloor;
      cells[li] += static_cast<float>(d - d * xm);
      cells[li + 1] += static_cast<float>(d * xm);
    } else {
      const double s = 1.0 / (right - left);
      const double lf = left - leftFloor;
      const double a0 = 0.5 * s * (1 - lf) * (1 - lf);
      const double rf = right - rightCeil + 1;
      const double am = 0.5 * s * rf * rf;
      cells[li] += static_cast<float>(d * a0);
      if (ri == li + 2) {
        cells[li + 1] += static_cast<float>(d * (1 - a0 - am));
      } else {
        const double a1 = s * (1.5 - lf);
        cells[li + 1] += static_cast<float>(d * (a1 - a0));
        for (std::size_t xi = li + 2; xi < ri - 1; ++xi) cells[xi] += static_cast<float>(d * s);
        const double a2 = a1 + static_cast<double>(ri - li - 3) * s;
        cells[ri - 1] += static_cast<float>(d * (1 - a2 - am));
      }
      cells[ri] += static_cast<float>(d * am);
    }
    x = xNext;
  }
}

void GlyphRasteriser::Fill(Surface& surface, const std::vector<PathSegment>& path,
                           const Affine& transform, int top, int bottom) {
  if (path.empty() || surface.empty()) return;
  Flatten(path, transform);
  if (flat_.empty() || !std::isfinite(minX_ + maxX_ + minY_ + maxY_)) return;
  // The visible box: the outline's bounds within the surface and the rows.
  const double left = std::max(0.0, std::floor(minX_));
  const double right = std::min(static_cast<double>(surface.width()), std::ceil(maxX_));
  const int rowTop = static_cast<int>(std::max<double>(top, std::floor(minY_)));
  const int rowBottom = static_cast<int>(std::min<double>(bottom, std::ceil(maxY_)));
  if (left >= right || rowTop >= rowBottom) return;
  const double width = right - left;
  width_ = width;

  clipped_.clear();
  for (const Line& line : flat_)
    ClipAndKeep(line.x0 - left, line.y0, line.x1 - left, line.y1, width);

  const auto columns = static_cast<std::size_t>(width);
  const std::size_t stride = columns + 2;
  const auto firstColumn = static_cast<std::size_t>(left);
  for (int stripTop = rowTop; stripTop < rowBottom; stripTop += kStripRows) {
    const int rows = std::min(kStripRows, rowBottom - stripTop);
    const std::size_t needed = stride * static_cast<std::size_t>(rows);
    if (cells_.size() < needed) cells_.resize(needed, 0.0f);
    rowFirst_.assign(static_cast<std::size_t>(rows), stride);
    rowEnd_.assign(static_cast<std::size_t>(rows), 0);
    for (const Line& line : clipped_) Accumulate(line, stripTop, rows, stride);
    for (int r = 0; r < rows; ++r) {
      const auto ru = static_cast<std::size_t>(r);
      if (rowFirst_[ru] >= rowEnd_[ru]) continue;  // no edge crosses this row
      float* cells = cells_.data() + ru * stride;
      auto out = surface.row(stripTop + r).subspan(firstColumn, columns);
      float sum = 0;
      // Before the first cell an edge touched nothing is covered, and after
      // the last one the signed areas have summed back to nothing.
      const std::size_t end = std::min(rowEnd_[ru], columns);
      for (std::size_t c = rowFirst_[ru]; c < end; ++c) {
        sum += cells[c];
        const float coverage = std::min(1.0f, std::abs(sum));
        const auto keep = 255u - static_cast<unsigned>(coverage * 255.0f + 0.5f);
        if (keep == 255u) continue;
        const Pixel pixel = out[c];
        // Glyphs land on their freshly painted white cells nearly always.
        if (pixel == kWhite) {
          out[c] = keep * 0x010101u;
          continue;
        }
        Pixel darker = 0;
        for (int shift = 0; shift < 24; shift += 8) {
          darker |= ((((pixel >> shift) & 0xFFu) * keep + 127u) / 255u) << shift;
        }
        out[c] = darker;
      }
      std::fill(cells + rowFirst_[ru], cells + rowEnd_[ru], 0.0f);
    }
  }
}

}  // namespace lumo
