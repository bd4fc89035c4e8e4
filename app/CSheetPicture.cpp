// Drawing a sheet in small and finding the place under a click.
#include "CSheetPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

CSheetPicture::CSheetPicture(QWidget* parent) : QWidget(parent) {
  setMinimumSize(110, 150);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
}

void CSheetPicture::SetSheet(const lumo::Sheet& sheet, const QList<int>& chosen) {
  sheet_ = sheet;
  chosen_ = chosen;
  update();
}

QTransform CSheetPicture::PageToWidget() const {
  constexpr double kMargin = 4;
  const double scale = std::min((width() - 2 * kMargin) / sheet_.pageWidthMm,
                                (height() - 2 * kMargin) / sheet_.pageHeightMm);
  QTransform transform;
  transform.translate((width() - sheet_.pageWidthMm * scale) / 2,
                      (height() - sheet_.pageHeightMm * scale) / 2);
  transform.scale(scale, scale);
  return transform;
}

void CSheetPicture::paintEvent(QPaintEvent* /*event*/) {
  if (!(sheet_.pageWidthMm > 0 && sheet_.pageHeightMm > 0)) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QTransform toWidget = PageToWidget();
  const QRectF page = toWidget.mapRect(QRectF(0, 0, sheet_.pageWidthMm, sheet_.pageHeightMm));
  painter.setPen(palette().color(QPalette::Mid));
  painter.setBrush(Qt::white);
  painter.drawRect(page);
  const double scale = toWidget.m11();
  for (int i = 0; i < static_cast<int>(sheet_.positions.size()); ++i) {
    const lumo::SheetPosition& at = sheet_.positions[static_cast<std::size_t>(i)];
    const QPointF centre = toWidget.map(QPointF(at.xMm, at.yMm));
    const double radius = sheet_.discMm / 2 * scale;
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.setBrush(chosen_.contains(i) ? palette().color(QPalette::Highlight) : Qt::white);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, sheet_.holeMm / 2 * scale, sheet_.holeMm / 2 * scale);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(centre.x() - 10, centre.y() - 10, 20, 20), Qt::AlignCenter,
                     QString::number(i + 1));
  }
}

void CSheetPicture::mousePressEvent(QMouseEvent* event) {
  const QPointF mm = PageToWidget().inverted().map(event->position());
  for (int i = 0; i < static_cast<int>(sheet_.positions.size()); ++i) {
    const lumo::SheetPosition& at = sheet_.positions[static_cast<std::size_t>(i)];
    if (std::hypot(mm.x() - at.xMm, mm.y() - at.yMm) <= sheet_.discMm / 2) {
      emit positionClicked(i);
      return;
    }
  }
  QWidget::mousePressEvent(event);
}
