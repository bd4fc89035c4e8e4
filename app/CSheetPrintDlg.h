// The first step of printing: the label sheet and the positions on it to
// print the label at, the last choice offered again.
#pragma once

#include <QDialog>
#include <QList>

#include "SheetStore.h"

class CSheetPicture;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;

class CSheetPrintDlg : public QDialog {
  Q_OBJECT
 public:
  // Shows the bleed of a label of `labelDiameterMm`; the centred sheet is
  // drawn on paper of that size.
  CSheetPrintDlg(double labelDiameterMm, QSizeF paperMm, QWidget* parent = nullptr);

  [[nodiscard]] const lumo::Sheet& sheet() const;
  // Counted from 0, in order.
  [[nodiscard]] QList<int> positions() const;

  // Keeps the choice for the next time.
  void accept() override;

 private:
  // Fills the sheet list afresh and chooses the sheet of that name.
  void LoadSheets(const QString& name);
  void OnSheetChanged();
  void OnEditSheets();
  void OnPositionsChanged();

  double labelDiameterMm_;
  QSizeF paperMm_;
  WindowSheets sheets_;
  QComboBox* sheetBox_ = nullptr;
  CSheetPicture* picture_ = nullptr;
  QHBoxLayout* checksLayout_ = nullptr;
  QList<QCheckBox*> checks_;
  QLabel* note_ = nullptr;
  QPushButton* okButton_ = nullptr;
};
