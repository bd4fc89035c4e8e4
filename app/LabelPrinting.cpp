// Label and test page on a QPrinter, both laid out in millimetres from the
// paper's top-left corner, whatever margins the printer has.
#include "LabelPrinting.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <algorithm>

namespace {

// Millimetres on the paper to the printer's device pixels, from the paper's corner.
class PaperFrame {
 public:
  explicit PaperFrame(const QPrinter& printer)
      : paper_(printer.paperRect(QPrinter::Millimeter)),
        pixelsPerMm_(printer.resolution() / 25.4) {}
  [[nodiscard]] double width() const { return paper_.width(); }
  [[nodiscard]] double height() const { return paper_.height(); }
  [[nodiscard]] double Pixels(double mm) const { return mm * pixelsPerMm_; }
  [[nodiscard]] QRectF Rect(const lumo::PrintRect& r) const {
    return {Pixels(r.left), Pixels(r.top), Pixels(r.width), Pixels(r.height)};
  }

 private:
  QRectF paper_;
  double pixelsPerMm_;
};

// Starts the one page on the whole paper, so that the painter's origin is the
// paper's corner and not the printable area's.
lumo::Result<void> Begin(QPrinter& printer, QPainter& painter) {
  printer.setFullPage(true);
  if (!painter.begin(&printer)) return lumo::Error(lumo::ErrorReason::PrintNotStarted);
  return {};
}

lumo::Result<void> End(QPainter& painter) {
  if (!painter.end()) return lumo::Error(lumo::ErrorReason::PrintNotFinished);
  return {};
}

}  // namespace

lumo::Result<void> PrintLabel(QPrinter& printer, const lumo::Surface& image, double resolutionDpi,
                              const lumo::PrintCalibration& calibration) {
  if (image.empty() || !(resolutionDpi > 0)) return lumo::Error(lumo::ErrorReason::NothingToPrint);
  printer.setFullPage(true);
  const PaperFrame paper(printer);
  const double sideMm = image.width() * 25.4 / resolutionDpi;
  const lumo::PrintRect place =
      lumo::PlaceLabel(paper.width(), paper.height(), sideMm, calibration);
  // Never shrunk to the paper: a label cut off or at another size is spoilt.
  if (!lumo::FitsOnPaper(place, paper.width(), paper.height())) {
    return lumo::Error(lumo::ErrorReason::LabelOffPaper);
  }

  // The label is grey; one byte per pixel keeps the print job small.
  QImage grey(image.width(), image.height(), QImage::Format_Grayscale8);
  for (int y = 0; y < image.height(); ++y) lumo::GreyRow(image.row(y), grey.scanLine(y));
  QPainter painter;
  if (lumo::Result<void> begun = Begin(printer, painter); !begun) return begun;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(paper.Rect(place), grey);
  return End(painter);
}

lumo::Result<void> PrintTestPage(QPrinter& printer, double diameterMm,
                                 const lumo::PrintCalibration& calibration) {
  printer.setFullPage(true);
  const PaperFrame paper(printer);
  const lumo::PrintCalibration c = lumo::ClampCalibration(calibration);
  const lumo::PrintRect label = lumo::PlaceLabel(paper.width(), paper.height(), diameterMm, c);
  QPainter painter;
  if (lumo::Result<void> begun = Begin(printer, painter); !begun) return begun;
  painter.setRenderHint(QPainter::Antialiasing);
  // Everything below is in millimetres about the intended centre, scaled as a
  // label is, so that ticks and circles measure what the printer does to it.
  const double scale = c.scalePercent / 100.0;
  painter.translate(paper.Pixels(label.left + label.width / 2),
                    paper.Pixels(label.top + label.height / 2));
  painter.scale(paper.Pixels(scale), paper.Pixels(scale));
  QPen pen(Qt::black, 0.15);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  // The crosshairs run across the whole paper.
  const double reach = std::max(paper.width(), paper.height()) * 2 / scale;
  painter.drawLine(QPointF(-reach, 0), QPointF(reach, 0));
  painter.drawLine(QPointF(0, -reach), QPointF(0, reach));
  painter.drawEllipse(QPointF(0, 0), diameterMm / 2, diameterMm / 2);
  painter.drawEllipse(QPointF(0, 0), 7.5, 7.5);  // the hole of a standard disc
  // Ticks every millimetre, longer every 5 and numbered every 10.
  QFont font = painter.font();
  font.setPixelSize(3);  // 3 mm: a unit here is a millimetre
  painter.setFont(font);
  const int ticks = static_cast<int>(reach);
  for (int mm = -ticks; mm <= ticks; ++mm) {
    if (mm == 0) continue;
    const double length = mm % 10 == 0 ? 4.0 : mm % 5 == 0 ? 2.5 : 1.5;
    painter.drawLine(QPointF(mm, -length / 2), QPointF(mm, length / 2));
    painter.drawLine(QPointF(-length / 2, mm), QPointF(length / 2, mm));
    if (mm % 10 == 0) {
      const QString number = QString::number(mm);
      painter.drawText(QRectF(mm - 5, 2.5, 10, 4), Qt::AlignHCenter | Qt::AlignTop, number);
      painter.drawText(QRectF(2.5, mm - 2, 10, 4), Qt::AlignLeft | Qt::AlignVCenter, number);
    }
  }
  painter.resetTransform();
  painter.setFont(QFont());
  // In the top-left quarter, clear of the crosshairs for any offset in range.
  const double textWidth = paper.width() / 2 - lumo::kMaxPrintOffsetMm - 10;
  painter.drawText(QRectF(paper.Pixels(8), paper.Pixels(8), paper.Pixels(std::max(textWidth, 40.0)),
                          paper.Pixels(40)),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   QStringLiteral("lumo 印刷位置の調整: 横 %1 mm, 縦 %2 mm, 倍率 %3 %  "
                                  "(外側の円は直径 %4 mm, 内側の円は直径 15 mm)")
                       .arg(c.offsetAcrossMm, 0, 'f', 1)
                       .arg(c.offsetDownMm, 0, 'f', 1)
                       .arg(c.scalePercent, 0, 'f', 1)
                       .arg(diameterMm, 0, 'f', 1));
  return End(painter);
}
