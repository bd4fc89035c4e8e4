// The settings dialog: six edit boxes for the label settings, read and checked
// however the dialog is closed.
#pragma once

#include <QDialog>
#include <array>

#include "AcceptanceRules.h"

class QCloseEvent;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QShowEvent;

class CAdjustDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAdjustDlg(QWidget* parent = nullptr);
  // The six values the dialog starts from; shown unsigned in the boxes when it opens.
  void setValues(const lumo::EnteredSettings& values);
  // The loaded values with every accepted entry applied (valid after the dialog closed).
  [[nodiscard]] lumo::EnteredSettings values() const;
  // Why entries the user changed were not taken, for the status bar; empty
  // when every one was (valid after the dialog closed).
  [[nodiscard]] const QString& refusal() const noexcept { return refusal_; }
  // Whether the entries passed their rules one by one but give together a
  // label too large to make: then values() are the loaded ones, all six.
  [[nodiscard]] bool refusedWhole() const noexcept { return refusedWhole_; }

  // OK, Cancel, Enter and Esc all apply what passes the rules and end with 0.
  void accept() override;
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void writeBoxes();
  void readBoxesAndClose();

  std::array<QLineEdit*, 6> boxes_{};
  QPushButton* okButton_ = nullptr;
  lumo::EnteredSettings loaded_{};
  lumo::EnteredSettings values_{};
  QString refusal_;
  bool refusedWhole_ = false;
};
