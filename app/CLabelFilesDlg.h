// The user's choice of where the numbered label files go and in which
// format, or that none are written; kept in the user's settings, and the
// dialog of the File menu that changes it.
#pragma once

#include <QDialog>
#include <QString>

#include "LabelFormat.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

struct LabelFilePreference {
  QString folder;                                     // empty: wherever lumo puts them unless told
  lumo::LabelFormat format = lumo::LabelFormat::Bmp;  // Bmp or Png
  bool previewOnly = false;

  friend bool operator==(const LabelFilePreference&, const LabelFilePreference&) = default;
};

[[nodiscard]] LabelFilePreference LoadLabelFilePreference();
void SaveLabelFilePreference(const LabelFilePreference& preference);

class CLabelFilesDlg : public QDialog {
  Q_OBJECT
 public:
  // Shows the saved preference; `defaultFolder` is where files go while the
  // folder is left empty.
  explicit CLabelFilesDlg(const QString& defaultFolder, QWidget* parent = nullptr);

  [[nodiscard]] LabelFilePreference preference() const;
  // Keeps what is shown, unless the folder named is none: then the dialog
  // stays open and says so.
  void accept() override;

 private:
  QLineEdit* folder_ = nullptr;
  QComboBox* format_ = nullptr;
  QCheckBox* previewOnly_ = nullptr;
  QLabel* problem_ = nullptr;
};
