// Label and test page on a QPrinter, both laid out in millimetres from the
// paper's top-left corner, whatever margins the printer has.
#include "LabelPrinting.h"

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "SheetStore.h"

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

// One position of the test page, in millimetres about its centre: the disc's
// edge and hole, crosshairs a little beyond the edge (clear of the page's
// heading on the built-in sheets), ticks every millimetre up to the edge,
// longer every 5 and numbered every 10, and the position's `number` unless
// it is 0.
void DrawTestPosition(QPainter& painter, double discMm, double holeMm, int number) {
  const double radius = discMm / 2;
  painter.drawEllipse(QPointF(0, 0), radius, radius);
  if (holeMm > 0) painter.drawEllipse(QPointF(0, 0), holeMm / 2, holeMm / 2);
  const double reach = radius + 5;
  painter.drawLine(QPointF(-reach, 0), QPointF(reach, 0));
  painter.drawLine(QPointF(0, -reach), QPointF(0, reach));
  const int ticks = static_cast<int>(radius);
  for (int mm = -ticks; mm <= ticks; ++mm) {
    if (mm == 0) continue;
    const double length = mm % 10 == 0 ? 4.0 : mm % 5 == 0 ? 2.5 : 1.5;
    painter.drawLine(QPointF(mm, -length / 2), QPointF(mm, length / 2));
    painter.drawLine(QPointF(-length / 2, mm), QPointF(length / 2, mm));
    if (mm % 10 == 0) {
      const QString text = QString::number(mm);
      painter.drawText(QRectF(mm - 5, 2.5, 10, 4), Qt::AlignHCenter | Qt::AlignTop, text);
      painter.drawText(QRectF(2.5, mm - 2, 10, 4), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
  }
  // The position's number in its upper left quarter, as the print dialog
  // counts; a lone position needs none.
  if (number == 0) return;
  painter.save();
  QFont large = painter.font();
  large.setPixelSize(8);
  painter.setFont(large);
  const double corner = -radius * 0.55;
  painter.drawText(QRectF(corner - 8, corner - 8, 16, 16), Qt::AlignCenter,
                   QString::number(number));
  painter.restore();
}

}  // namespace

void UseSheetPaper(QPrinter& printer, const lumo::Sheet& sheet) {
  if (sheet.centred) return;
  // Qt keeps page sizes upright; a sheet wider than high is a turned page.
  const bool wide = sheet.pageWidthMm > sheet.pageHeightMm;
  const QSizeF upright = wide ? QSizeF(sheet.pageHeightMm, sheet.pageWidthMm)
                              : QSizeF(sheet.pageWidthMm, sheet.pageHeightMm);
  printer.setPageSize(QPageSize(upright, QPageSize::Millimeter));
  printer.setPageOrientation(wide ? QPageLayout::Landscape : QPageLayout::Portrait);
}

lumo::Result<void> PrintOnSheet(QPrinter& printer, const lumo::Surface& image, double resolutionDpi,
                                const lumo::Sheet& sheet, std::span<const int> positions,
                                const lumo::PrintCalibration& calibration) {
  if (image.empty() || !(resolutionDpi > 0)) return lumo::Error(lumo::ErrorReason::NothingToPrint);
  printer.setFullPage(true);
  const PaperFrame paper(printer);
  const double sideMm = image.width() * 25.4 / resolutionDpi;
  const auto places =
      lumo::PlaceOnSheet(sheet, paper.width(), paper.height(), positions, sideMm, calibration);
  if (!places) return places.error();

  // The label is grey; one byte per pixel keeps the print job small.
  QImage grey(image.width(), image.height(), QImage::Format_Grayscale8);
  for (int y = 0; y < image.height(); ++y) lumo::GreyRow(image.row(y), grey.scanLine(y));
  QPainter painter;
  if (lumo::Result<void> begun = Begin(printer, painter); !begun) return begun;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  // A PDF would otherwise hold the label as a JPEG, whose noise prints as a
  // faint grey square about the text.
  painter.setRenderHint(QPainter::LosslessImageRendering);
  for (const lumo::PrintRect& place : *places) painter.drawImage(paper.Rect(place), grey);
  return End(painter);
}

lumo::Result<void> PrintTestPage(QPrinter& printer, const lumo::Sheet& sheet,
                                 double labelDiameterMm,
                                 const lumo::PrintCalibration& calibration) {
  printer.setFullPage(true);
  const PaperFrame paper(printer);
  const lumo::PrintCalibration c = lumo::ClampCalibration(calibration);
  const lumo::Sheet onPaper =
      lumo::SheetForPaper(sheet, paper.width(), paper.height(), labelDiameterMm);
  QPainter painter;
  if (lumo::Result<void> begun = Begin(printer, painter); !begun) return begun;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 0.15));
  painter.setBrush(Qt::NoBrush);
  QFont font = painter.font();
  font.setPixelSize(3);  // 3 mm: a unit is a millimetre about each position
  painter.setFont(font);
  // Each position in millimetres about its intended centre, scaled as a label
  // is, so that ticks and circles measure what the printer does to it.
  const double scale = c.scalePercent / 100.0;
  for (std::size_t i = 0; i < onPaper.positions.size(); ++i) {
    const lumo::SheetPosition& at = onPaper.positions[i];
    painter.resetTransform();
    painter.translate(paper.Pixels(at.xMm + c.offsetAcrossMm),
                      paper.Pixels(at.yMm + c.offsetDownMm));
    painter.scale(paper.Pixels(scale), paper.Pixels(scale));
    const bool several = onPaper.positions.size() > 1;
    DrawTestPosition(painter, onPaper.discMm, onPaper.holeMm,
                     several ? static_cast<int>(i) + 1 : 0);
  }
  painter.resetTransform();
  QFont small = painter.font();
  small.setPixelSize(static_cast<int>(paper.Pixels(2.8)));
  painter.setFont(small);
  painter.drawText(QRectF(paper.Pixels(8), paper.Pixels(5),
                          paper.Pixels(std::max(paper.width() - 16, 40.0)), paper.Pixels(12)),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   QStringLiteral("lumo 印刷位置の調整 (%1): 横 %2 mm, 縦 %3 mm, 倍率 %4 %  "
                                  "(外側の円は直径 %5 mm, 内側の円は直径 %6 mm)")
                       .arg(SheetTitle(sheet))
                       .arg(c.offsetAcrossMm, 0, 'f', 1)
                       .arg(c.offsetDownMm, 0, 'f', 1)
                       .arg(c.scalePercent, 0, 'f', 1)
                       .arg(onPaper.discMm, 0, 'f', 1)
                       .arg(onPaper.holeMm, 0, 'f', 1));
  return End(painter);
}
