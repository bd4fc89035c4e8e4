// Each printer's calibration in the user's settings, under its own group.
#include "PrintCalibrationStore.h"

#include <QPrinter>
#include <QSettings>
#include <QUrl>

#include "UserSettings.h"

namespace {

// A printer's name may hold "/", which QSettings reads as a group separator.
QString CalibrationGroup(const QString& printerName) {
  return QStringLiteral("Print Calibration/") +
         QString::fromLatin1(QUrl::toPercentEncoding(printerName));
}

}  // namespace

lumo::PrintCalibration LoadPrintCalibration(const QString& printerName) {
  QSettings settings = UserSettings();
  settings.beginGroup(CalibrationGroup(printerName));
  bool ok = false;
  lumo::PrintCalibration stored;
  const auto read = [&](const char* key, double& value) {
    const double got = settings.value(QLatin1String(key)).toDouble(&ok);
    if (ok) value = got;
  };
  read("OffsetAcross", stored.offsetAcrossMm);
  read("OffsetDown", stored.offsetDownMm);
  read("Scale", stored.scalePercent);
  return lumo::ClampCalibration(stored);
}

void SavePrintCalibration(const QString& printerName, const lumo::PrintCalibration& calibration) {
  const lumo::PrintCalibration c = lumo::ClampCalibration(calibration);
  QSettings settings = UserSettings();
  settings.beginGroup(CalibrationGroup(printerName));
  settings.setValue(QStringLiteral("OffsetAcross"), c.offsetAcrossMm);
  settings.setValue(QStringLiteral("OffsetDown"), c.offsetDownMm);
  settings.setValue(QStringLiteral("Scale"), c.scalePercent);
}

lumo::PrintCalibration CalibrationFor(const QPrinter& printer) {
  if (printer.outputFormat() != QPrinter::NativeFormat) return {};
  return LoadPrintCalibration(printer.printerName());
}
