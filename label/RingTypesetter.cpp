// The ring walk: every character gets its own turned font and is placed on
// its ring at the angle before its step; the fit test is on its trailing edge.
#include "RingTypesetter.h"

#include <cmath>
#include <vector>

#include "CodePage932.h"
#include "Truncate.h"

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

void DrawArcText(LabelCanvas& canvas, const LabelSettings& settings, int startDegrees,
                 int sweepDegrees, std::string_view text, const GlyphObserver& observer,
                 bool draw) {
  const std::int32_t charsPerCircle = settings.charsPerCircle;
  const std::int32_t ringCount = settings.ringCount;
  const double startAngle = startDegrees * kDegreesToRadians;
  const double endAngle = startAngle - sweepDegrees * kDegreesToRadians;
  const std::int32_t cx = canvas.canvasRect.width() / 2;
  const std::int32_t cy = canvas.canvasRect.height() / 2;
  const double outerRadius = canvas.outerRadiusPx;
  // Neither a ring pitch nor a step exists for these; the walk would not end
  // (a negative pitch grows the radius) or would place nothing.
  if (!(outerRadius > 0) || charsPerCircle <= 0 || ringCount <= 0) return;

  // The window's end as the 32-bit sum has always been taken (it wraps).
  const auto windowEnd = static_cast<std::int32_t>(static_cast<std::uint32_t>(settings.firstRing) +
                                                   static_cast<std::uint32_t>(settings.usedRings));
  const std::int32_t height = TruncateToInt32(outerRadius / ringCount);

  std::vector<GlyphRun> runs;
  std::size_t position = 0;
  std::int32_t ring = 0;
  double radius = outerRadius;
  while (true) {
    int advance = 1;
    double angle = startAngle;
    while (angle > endAngle && ring >= settings.firstRing && ring < windowEnd &&
           position < text.size()) {
      const auto byte = static_cast<unsigned char>(text[position]);
      if (byte == '\r') {
        ++position;
        advance = 0;
        break;
      }
      if (byte == '\n') {
        ++position;
        advance = 1;
        break;
      }
      FontRequest font;
      font.height = height;
      font.width = TruncateToInt32(radius * kWidthFactor / charsPerCircle);
      font.escapement = TruncateToInt32((angle - kQuarterTurn) * kRadiansToTenthDegrees);
      font.orientation = font.escapement;
      const std::int32_t x = TruncateToInt32(std::cos(angle) * radius + cx);
      const std::int32_t y = TruncateToInt32(cy - std::sin(angle) * radius);
      const bool twoByte = cp932::IsLeadByte(byte);
      const double step = (twoByte ? kTwoByteStep : kOneByteStep) / charsPerCircle;
      const double nextAngle = angle - step;
      if (nextAngle <= endAngle) break;  // opens the next ring, position unchanged
      const std::size_t length = twoByte && position + 1 < text.size() ? 2 : 1;
      const std::string_view glyph = text.substr(position, length);
      position += twoByte ? 2 : 1;
      angle = nextAngle;
      if (observer) observer(GlyphPlacement{ring, x, y, font, glyph});
      if (draw) runs.push_back({font, x, y, glyph});
    }
    ring += advance;
    radius = radius - advance * outerRadius / ringCount;
    // Past the window nothing more can be drawn: the ring index only grows.
    if (!(radius > 0) || ring >= windowEnd || position >= text.size()) break;
  }
  canvas.image.DrawRuns(runs);
}

}  // namespace lumo
