// The ring walk: every character gets its own turned font and is placed on
// its ring at the angle before its step; the fit test is on its trailing edge.
#include "RingTypesetter.h"

#include <algorithm>
#include <cmath>

#include "CodePage932.h"
#include "Int32Arithmetic.h"

namespace lumo {
namespace {

// The angle arithmetic has always used pi written as 3.141592654; the layout
// of every label depends on these exact doubles.
constexpr double kDegreesToRadians = 3.141592654 / 180;
constexpr double kQuarterTurn = 1.570796327;
constexpr double kRadiansToTenthDegrees = 1800 / 3.141592654;
constexpr double kTwoByteStep = 6.283185308;
constexpr double kOneByteStep = 3.141592654;
constexpr double kWidthFactor = 0.9 * 3.141592654;

}  // namespace

std::size_t LayOutArcText(const CanvasGeometry& canvas, const LabelSettings& settings,
                          int startDegrees, int sweepDegrees, std::string_view text, LabelHalf half,
                          double& areaBudget, std::vector<PlacedGlyph>& out) {
  const std::int32_t charsPerCircle = settings.charsPerCircle;
  const std::int32_t ringCount = settings.ringCount;
  const double startAngle = startDegrees * kDegreesToRadians;
  const double endAngle = startAngle - sweepDegrees * kDegreesToRadians;
  const std::int32_t cx = canvas.canvasRect.width / 2;
  const std::int32_t cy = canvas.canvasRect.height / 2;
  const double outerRadius = canvas.outerRadiusPx;
  // Neither a ring pitch nor a step exists for these; the walk would not end
  // (a negative pitch grows the radius) or would place nothing.
  if (!(outerRadius > 0) || charsPerCircle <= 0 || ringCount <= 0) return 0;
  // Every ring's font is one pitch high. Below one pixel there is nothing to
  // draw, and with a pitch of a pixel or more the walk meets at most about R
  // rings before the centre, however many the settings ask for.
  const std::int32_t height = TruncateToInt32(outerRadius / ringCount);
  if (height < 1) return 0;

  // The window's end as the 32-bit sum has always been taken (it wraps).
  const std::int32_t windowEnd = WrappingSum(settings.firstRing, settings.usedRings);
  std::size_t position = 0;
  std::int32_t ring = 0;
  std::int32_t line = 0;
  double radius = outerRadius;
  while (true) {
    int advance = 1;
    double angle = startAngle;
    while (angle > endAngle && ring >= settings.firstRing && ring < windowEnd &&
           position < text.size()) {
      const auto byte = static_cast<unsigned char>(text[position]);
      if (byte == '\r' || byte == '\n') {
        // The second byte of a CR LF or LF CR pair ends no further line.
        const bool pairEnd = position > 0 && text[position - 1] == (byte == '\r' ? '\n' : '\r') &&
                             !(position > 1 && text[position - 2] == static_cast<char>(byte));
        line += pairEnd ? 0 : 1;
        ++position;
        advance = byte == '\r' ? 0 : 1;
        break;
      }
      const bool twoByte = cp932::IsLeadByte(byte);
      const double step = (twoByte ? kTwoByteStep : kOneByteStep) / charsPerCircle;
      const double nextAngle = angle - step;
      if (nextAngle <= endAngle) break;  // opens the next ring, position unchanged
      PlacedGlyph glyph;
      glyph.half = half;
      glyph.ring = ring;
      glyph.line = line;
      glyph.x = TruncateToInt32(std::cos(angle) * radius + cx);
      glyph.y = TruncateToInt32(cy - std::sin(angle) * radius);
      glyph.font = {height, TruncateToInt32(radius * kWidthFactor / charsPerCircle),
                    TruncateToInt32((angle - kQuarterTurn) * kRadiansToTenthDegrees)};
      // A width of 0 asks for the face's own proportions: about a square cell.
      const double cellWidth = glyph.font.width != 0
                                   ? std::abs(static_cast<double>(glyph.font.width))
                                   : static_cast<double>(height);
      const double area = static_cast<double>(height) * cellWidth * (twoByte ? 2 : 1);
      if (area > areaBudget) return position;  // the rest is not drawn
      areaBudget -= area;
      glyph.length = twoByte && position + 1 < text.size() ? 2 : 1;
      text.copy(glyph.code.data(), glyph.length, position);
      out.push_back(glyph);
      position += twoByte ? 2 : 1;
      angle = nextAngle;
    }
    ring += advance;
    radius = radius - advance * outerRadius / ringCount;
    // Past the window nothing more can be placed: the ring index only grows.
    if (!(radius > 0) || ring >= windowEnd || position >= text.size()) break;
  }
  return std::min(position, text.size());
}

}  // namespace lumo
