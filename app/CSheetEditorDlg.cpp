// The sheet editor.
#include "CSheetEditorDlg.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

#include "CSheetPicture.h"
#include "ErrorText.h"

namespace {

// What is out of a sheet's ranges is said when the dialog is closed.
QDoubleSpinBox* MillimetreBox(QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(0, lumo::kMaxSheetPageMm);
  box->setDecimals(2);
  box->setSuffix(QStringLiteral(" mm"));
  return box;
}

// A sheet on A4 paper with a 120 mm label: how the centred sheet is shown
// and what a sheet copied from it starts as.
lumo::Sheet OnA4(const lumo::Sheet& sheet) { return lumo::SheetForPaper(sheet, 210, 297, 120); }

}  // namespace

CSheetEditorDlg::CSheetEditorDlg(const QString& name, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ﾗﾍﾞﾙ ｼｰﾄの編集"));
  sheets_ = LoadWindowSheets();
  list_ = new QListWidget(this);
  list_->setMaximumWidth(220);
  auto* newSheet = new QPushButton(QStringLiteral("複製して追加(&N)"), this);
  newSheet->setObjectName(QStringLiteral("newSheet"));
  removeSheet_ = new QPushButton(QStringLiteral("削除(&D)"), this);
  for (QPushButton* button : {newSheet, removeSheet_}) button->setAutoDefault(false);

  form_ = new QWidget(this);
  name_ = new QLineEdit(form_);
  name_->setValidator(new QRegularExpressionValidator(
      QRegularExpression(
          QStringLiteral("[A-Za-z0-9][A-Za-z0-9_-]{0,%1}").arg(lumo::kMaxSheetNameLength - 1)),
      name_));
  title_ = new QLineEdit(form_);
  title_->setMaxLength(static_cast<int>(lumo::kMaxSheetTitleBytes) / 3);
  width_ = MillimetreBox(form_);
  height_ = MillimetreBox(form_);
  disc_ = MillimetreBox(form_);
  hole_ = MillimetreBox(form_);
  hole_->setObjectName(QStringLiteral("hole"));
  positions_ = new QTableWidget(0, 2, form_);
  positions_->setHorizontalHeaderLabels(
      {QStringLiteral("中心の横 (mm)"), QStringLiteral("中心の縦 (mm)")});
  positions_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  auto* addPosition = new QPushButton(QStringLiteral("位置を追加(&A)"), form_);
  auto* removePosition = new QPushButton(QStringLiteral("位置を削除(&R)"), form_);
  for (QPushButton* button : {addPosition, removePosition}) button->setAutoDefault(false);

  auto* form = new QFormLayout(form_);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(QStringLiteral("名前(&M):"), name_);
  form->addRow(QStringLiteral("表示名(&T):"), title_);
  form->addRow(QStringLiteral("用紙の幅(&W):"), width_);
  form->addRow(QStringLiteral("用紙の高さ(&H):"), height_);
  form->addRow(QStringLiteral("ﾃﾞｨｽｸの直径(&I):"), disc_);
  form->addRow(QStringLiteral("穴の直径(&O):"), hole_);
  form->addRow(QStringLiteral("位置 (用紙の左上から):"), positions_);
  auto* positionButtons = new QHBoxLayout;
  positionButtons->addWidget(addPosition);
  positionButtons->addWidget(removePosition);
  form->addRow(QString(), positionButtons);

  picture_ = new CSheetPicture(this);
  note_ = new QLabel(this);
  note_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  // What cannot be read is not written over: the user's sheets would be lost.
  buttons->button(QDialogButtonBox::Ok)->setEnabled(!sheets_.fileError);
  newSheet->setEnabled(!sheets_.fileError);

  auto* left = new QVBoxLayout;
  left->addWidget(list_);
  left->addWidget(newSheet);
  left->addWidget(removeSheet_);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(form_, 1);
  top->addWidget(picture_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(note_);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &CSheetEditorDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CSheetEditorDlg::reject);
  connect(newSheet, &QPushButton::clicked, this, &CSheetEditorDlg::OnNewSheet);
  connect(removeSheet_, &QPushButton::clicked, this, &CSheetEditorDlg::OnRemoveSheet);
  connect(addPosition, &QPushButton::clicked, this, [this] {
    AddPositionRow({width_->value() / 2, height_->value() / 2});
    TakeBoxes();
  });
  connect(removePosition, &QPushButton::clicked, this, [this] {
    positions_->removeRow(positions_->currentRow() >= 0 ? positions_->currentRow()
                                                        : positions_->rowCount() - 1);
    TakeBoxes();
  });
  connect(list_, &QListWidget::currentRowChanged, this, &CSheetEditorDlg::ShowSheet);
  for (QLineEdit* box : {name_, title_})
    connect(box, &QLineEdit::textEdited, this, [this] { TakeBoxes(); });
  for (QDoubleSpinBox* box : {width_, height_, disc_, hole_}) {
    connect(box, &QDoubleSpinBox::valueChanged, this, &CSheetEditorDlg::TakeBoxes);
  }
  FillList();
  list_->setCurrentRow(std::max(sheets_.IndexOf(name), 0));
  resize(800, 460);
}

QString CSheetEditorDlg::selectedName() const {
  return shown_ < 0 ? QString()
                    : QString::fromStdString(sheets_.sheets[static_cast<std::size_t>(shown_)].name);
}

bool CSheetEditorDlg::IsUserSheet(int row) const {
  return row >= static_cast<int>(sheets_.firstUserSheet);
}

void CSheetEditorDlg::FillList() {
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (const lumo::Sheet& sheet : sheets_.sheets) {
    auto* item = new QListWidgetItem(SheetTitle(sheet), list_);
    if (sheet.name != SheetTitle(sheet).toStdString())
      item->setToolTip(QString::fromStdString(sheet.name));
  }
}

void CSheetEditorDlg::ShowSheet() {
  shown_ = list_->currentRow();
  if (shown_ < 0) return;
  const lumo::Sheet& sheet = sheets_.sheets[static_cast<std::size_t>(shown_)];
  filling_ = true;
  name_->setText(QString::fromStdString(sheet.name));
  title_->setText(IsUserSheet(shown_) ? QString::fromStdString(sheet.title) : SheetTitle(sheet));
  width_->setValue(sheet.pageWidthMm);
  height_->setValue(sheet.pageHeightMm);
  disc_->setValue(sheet.discMm);
  hole_->setValue(sheet.holeMm);
  positions_->setRowCount(0);
  for (const lumo::SheetPosition& at : sheet.positions) AddPositionRow(at);
  filling_ = false;
  const bool editable = IsUserSheet(shown_);
  form_->setEnabled(editable);
  removeSheet_->setEnabled(editable);
  picture_->SetSheet(OnA4(sheet), {});
  if (sheets_.fileError) {
    note_->setText(SheetsNotRead(*sheets_.fileError) +
                   QStringLiteral("\n直すまではｼｰﾄを保存できません。"));
  } else {
    note_->setText(editable
                       ? QString()
                       : QStringLiteral("組み込みのｼｰﾄは変更できません。"
                                        "「複製して追加」で自分のｼｰﾄにして変更してください。"));
  }
}

void CSheetEditorDlg::AddPositionRow(const lumo::SheetPosition& at) {
  const int row = positions_->rowCount();
  positions_->insertRow(row);
  int column = 0;
  for (const double value : {at.xMm, at.yMm}) {
    QDoubleSpinBox* box = MillimetreBox(positions_);
    box->setSuffix(QString());  // the column says the unit
    box->setValue(value);
    connect(box, &QDoubleSpinBox::valueChanged, this, &CSheetEditorDlg::TakeBoxes);
    positions_->setCellWidget(row, column++, box);
  }
}

void CSheetEditorDlg::TakeBoxes() {
  if (filling_ || shown_ < 0 || !IsUserSheet(shown_)) return;
  lumo::Sheet& sheet = sheets_.sheets[static_cast<std::size_t>(shown_)];
  sheet.name = name_->text().toStdString();
  sheet.title = title_->text().trimmed().toStdString();
  sheet.pageWidthMm = width_->value();
  sheet.pageHeightMm = height_->value();
  sheet.discMm = disc_->value();
  sheet.holeMm = hole_->value();
  sheet.positions.clear();
  for (int row = 0; row < positions_->rowCount(); ++row) {
    const auto value = [&](int column) {
      return static_cast<QDoubleSpinBox*>(positions_->cellWidget(row, column))->value();
    };
    sheet.positions.push_back({value(0), value(1)});
  }
  list_->item(shown_)->setText(SheetTitle(sheet));
  picture_->SetSheet(sheet, {});
}

void CSheetEditorDlg::OnNewSheet() {
  TakeBoxes();
  lumo::Sheet copy = sheets_.sheets[static_cast<std::size_t>(std::max(shown_, 0))];
  copy = OnA4(copy);
  copy.centred = false;
  copy.title.clear();
  // The first of sheet-1, sheet-2, ... that no sheet has.
  for (int n = 1;; ++n) {
    copy.name = "sheet-" + std::to_string(n);
    if (sheets_.IndexOf(QString::fromStdString(copy.name)) < 0) break;
  }
  sheets_.sheets.push_back(copy);
  FillList();
  list_->setCurrentRow(static_cast<int>(sheets_.sheets.size()) - 1);
}

void CSheetEditorDlg::OnRemoveSheet() {
  if (!IsUserSheet(shown_)) return;
  sheets_.sheets.erase(sheets_.sheets.begin() + shown_);
  const int next = std::min(shown_, static_cast<int>(sheets_.sheets.size()) - 1);
  FillList();
  shown_ = -1;
  list_->setCurrentRow(next);
}

void CSheetEditorDlg::accept() {
  TakeBoxes();
  const std::span<const lumo::Sheet> users = sheets_.userSheets();
  for (std::size_t i = 0; i < users.size(); ++i) {
    lumo::Result<void> checked = lumo::CheckSheetName(users[i].name);
    const QString name = QString::fromStdString(users[i].name);
    if (checked && sheets_.IndexOf(name) != static_cast<int>(sheets_.firstUserSheet + i)) {
      lumo::Error taken(lumo::ErrorReason::SheetNameRefused);
      taken.name = users[i].name;
      checked = taken;
    }
    if (checked) checked = lumo::CheckSheet(users[i]);
    if (!checked) {
      list_->setCurrentRow(static_cast<int>(sheets_.firstUserSheet + i));
      QMessageBox::warning(this, windowTitle(),
                           QStringLiteral("%1: %2").arg(name, ErrorCause(checked.error())));
      return;
    }
  }
  if (const lumo::Result<void> saved = SaveUserSheets(users); !saved) {
    QMessageBox::warning(this, windowTitle(), SettingsNotSaved(saved.error()));
    return;
  }
  QDialog::accept();
}
