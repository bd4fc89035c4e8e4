// The editor of the user's own label sheets: the built-in sheets shown read
// only, the user's added, changed and removed, and written to the sheets file
// when the dialog is closed with OK.
#pragma once

#include <QDialog>
#include <vector>

#include "SheetStore.h"

class CSheetPicture;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QWidget;

class CSheetEditorDlg : public QDialog {
  Q_OBJECT
 public:
  // Opens with the sheet of that name chosen.
  explicit CSheetEditorDlg(const QString& name, QWidget* parent = nullptr);

  // The name of the sheet chosen when the dialog closed.
  [[nodiscard]] QString selectedName() const;

  // Writes the user's sheets; a sheet that is not as a sheet must be is
  // shown with what is wrong and nothing is written.
  void accept() override;

 private:
  [[nodiscard]] bool IsUserSheet(int row) const;
  void FillList();
  void ShowSheet();
  // The boxes' values into the sheet shown.
  void TakeBoxes();
  void AddPositionRow(const lumo::SheetPosition& at);
  void OnNewSheet();
  void OnRemoveSheet();

  WindowSheets sheets_;
  int shown_ = -1;
  bool filling_ = false;
  QListWidget* list_ = nullptr;
  QWidget* form_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* title_ = nullptr;
  QDoubleSpinBox* width_ = nullptr;
  QDoubleSpinBox* height_ = nullptr;
  QDoubleSpinBox* disc_ = nullptr;
  QDoubleSpinBox* hole_ = nullptr;
  QTableWidget* positions_ = nullptr;
  QPushButton* removeSheet_ = nullptr;
  CSheetPicture* picture_ = nullptr;
  QLabel* note_ = nullptr;
};
