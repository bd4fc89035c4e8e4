// The print calibration dialog: a printer's offset and scale, entered within
// their ranges, a test page to measure them on, kept per printer.
#pragma once

#include <QDialog>
#include <QStringList>

#include "PrintPlacement.h"
#include "SheetStore.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

class CPrintCalibrationDlg : public QDialog {
  Q_OBJECT
 public:
  // `printers` to choose from, `current` shown first; the test page is of
  // the sheet printed on last, a centred sheet's circle the label's diameter.
  CPrintCalibrationDlg(const QStringList& printers, const QString& current, double diameterMm,
                       QWidget* parent = nullptr);

  [[nodiscard]] QString printerName() const;
  [[nodiscard]] const lumo::Sheet& sheet() const;
  [[nodiscard]] lumo::PrintCalibration calibration() const;
  void setCalibration(const lumo::PrintCalibration& calibration);

  // Keeps the values for the chosen printer.
  void accept() override;

 private:
  void OnPrinterChanged();
  void OnPrintTestPage();
  // The test page in a PDF file, without calibration, as any file is printed.
  void OnSaveTestPage();
  void OnSheetChanged();

  double diameterMm_;
  WindowSheets sheets_;
  QComboBox* printers_ = nullptr;
  QComboBox* sheetBox_ = nullptr;
  QLabel* help_ = nullptr;
  QDoubleSpinBox* across_ = nullptr;
  QDoubleSpinBox* down_ = nullptr;
  QDoubleSpinBox* scale_ = nullptr;
  QPushButton* testPage_ = nullptr;
  QPushButton* okButton_ = nullptr;
};
