// The File menu's outputs of the current label beside the numbered bitmaps:
// export to a chosen file, printing at the true size, and the printer's
// calibration.
#pragma once

#include <QObject>
#include <QString>

#include "LabelFormat.h"
#include "Result.h"

class CLumoView;
class QWidget;

class CLabelOutput : public QObject {
  Q_OBJECT
 public:
  // Dialogs and messages appear over `window`.
  CLabelOutput(CLumoView& view, QWidget* window);

  // A save dialog with the four formats; the label goes to the chosen name,
  // with the chosen format's extension unless it has a format's already, an
  // existing file of that name replaced only after the user said yes.
  void OnFileExport();
  // The sheet and its positions, the print preview and the print dialog,
  // then the label at its true size at each position with the printer's
  // calibration.
  void OnFilePrint();
  // The calibration dialog for the printers there are.
  void OnPrintCalibration();

  // Writes the current label to `path` in `format`; nothing is changed when it fails.
  [[nodiscard]] lumo::Result<void> Export(lumo::LabelFormat format, const QString& path) const;

 private:
  CLumoView& view_;
  QWidget* window_;
};
