// The dialogs' font and dialog units.
#include "DialogLayout.h"

#include <QFontMetrics>
#include <QStringList>
#include <QString>

#include "DialogNumbers.h"

QFont DialogFont() {
  // The Windows face first; where it is missing, the proportional IPA gothic
  // is the nearest Japanese face, then whatever fontconfig offers for sans.
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(9);
  return font;
}

QRect DialogUnitsRect(const QFont& font, int x, int y, int width, int height) {
  const QFontMetrics metrics(font);
  const int baseX = lumo::HorizontalBaseUnit(metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
  const int fontHeight = metrics.height();
  // Position and size are converted each on its own, as a dialog template's are.
  return {lumo::DialogUnitsToPixelsX(x, baseX), lumo::DialogUnitsToPixelsY(y, fontHeight),
          lumo::DialogUnitsToPixelsX(width, baseX), lumo::DialogUnitsToPixelsY(height, fontHeight)};
}
