// The window program's icons, with pictures drawn here for a build or an
// installation that lacks the image files.
#include "AppIcons.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QString>

// Resources in a static library are registered only when something names them.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace {

struct IconSource {
  const char* themeName;
  const char* resource;
};

IconSource SourceOf(AppIcon which) {
  switch (which) {
    case AppIcon::Paste:
      return {"edit-paste", ":/icons/edit-paste.png"};
    case AppIcon::Fit:
      return {"zoom-fit-best", ":/icons/zoom-fit.png"};
    case AppIcon::Adjust:
      return {"document-properties", ":/icons/adjust.png"};
    case AppIcon::Application:
      return {"lumo", ":/icons/lumo.png"};
  }
  return {"", ""};
}

// A clipboard with a sheet of paper on it.
void DrawPaste(QPainter& p) {
  p.setPen(QPen(QColor(0x70, 0x48, 0x20), 1));
  p.setBrush(QColor(0xC0, 0x90, 0x50));
  p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
  p.setBrush(QColor(0xA0, 0xA0, 0xA0));
  p.drawRect(QRectF(4.5, 1.5, 4, 2));
  p.setPen(QPen(QColor(0x30, 0x30, 0x60), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(6.5, 6.5, 8, 8));
  p.drawLine(QPointF(8, 9), QPointF(13, 9));
  p.drawLine(QPointF(8, 11), QPointF(13, 11));
}

// A label between two arrows that push it out to both sides.
void DrawFit(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(3.5, 3.5, 9, 9));
  p.setBrush(Qt::black);
  QPainterPath left;
  left.moveTo(0.5, 8);
  left.lineTo(3, 5.5);
  left.lineTo(3, 10.5);
  left.closeSubpath();
  QPainterPath right;
  right.moveTo(15.5, 8);
  right.lineTo(13, 5.5);
  right.lineTo(13, 10.5);
  right.closeSubpath();
  p.drawPath(left);
  p.drawPath(right);
}

// Two sliders.
void DrawAdjust(QPainter& p) {
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  p.drawLine(QPointF(2, 5.5), QPointF(14, 5.5));
  p.drawLine(QPointF(2, 11.5), QPointF(14, 11.5));
  p.setBrush(QColor(0x30, 0x60, 0xC0));
  p.drawRect(QRectF(4.5, 3.5, 3, 4));
  p.drawRect(QRectF(9.5, 9.5, 3, 4));
}

// A disc with its rings of text.
void DrawApplication(QPainter& p) {
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  p.setBrush(QColor(0xF4, 0xF4, 0xF4));
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x20, 0x40, 0xA0), 1));
  p.drawArc(QRectF(2.5, 2.5, 11, 11), 20 * 16, 140 * 16);
  p.drawArc(QRectF(2.5, 2.5, 11, 11), 200 * 16, 140 * 16);
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  p.drawEllipse(QRectF(6.5, 6.5, 3, 3));
}

QIcon DrawnIcon(AppIcon which) {
  QIcon icon;
  for (const int side : {16, 32}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 16.0, side / 16.0);
    switch (which) {
      case AppIcon::Paste:
        DrawPaste(painter);
        break;
      case AppIcon::Fit:
        DrawFit(painter);
        break;
      case AppIcon::Adjust:
        DrawAdjust(painter);
        break;
      case AppIcon::Application:
        DrawApplication(painter);
        break;
    }
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QIcon ResourceIcon(AppIcon which, const QString& resource) {
  QIcon icon(resource);
  if (which == AppIcon::Application) {
    // Small sizes drawn for their size look sharper than the large one scaled.
    for (const int side : {16, 24, 32, 48, 64, 128}) {
      const QString sized = QStringLiteral(":/icons/lumo-%1.png").arg(side);
      if (QFile::exists(sized)) icon.addFile(sized, QSize(side, side));
    }
  }
  return icon;
}

}  // namespace

QIcon LoadAppIcon(AppIcon which) {
  static const bool registered = (InitIconResources(), true);
  (void)registered;
  const IconSource source = SourceOf(which);
  const QString resource = QString::fromLatin1(source.resource);
  const QIcon fallback = QFile::exists(resource) ? ResourceIcon(which, resource) : DrawnIcon(which);
  return QIcon::fromTheme(QString::fromLatin1(source.themeName), fallback);
}
