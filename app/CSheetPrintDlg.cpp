// The sheet and positions dialog.
#include "CSheetPrintDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "CSheetEditorDlg.h"
#include "CSheetPicture.h"
#include "ErrorText.h"

CSheetPrintDlg::CSheetPrintDlg(double labelDiameterMm, QSizeF paperMm, QWidget* parent)
    : QDialog(parent), labelDiameterMm_(labelDiameterMm), paperMm_(paperMm) {
  setWindowTitle(QStringLiteral("印刷"));
  sheetBox_ = new QComboBox(this);
  auto* sheetLabel = new QLabel(QStringLiteral("ﾗﾍﾞﾙ ｼｰﾄ(&S):"), this);
  sheetLabel->setBuddy(sheetBox_);
  auto* edit = new QPushButton(QStringLiteral("ｼｰﾄの編集(&E)..."), this);
  edit->setAutoDefault(false);
  picture_ = new CSheetPicture(this);
  checksLayout_ = new QHBoxLayout;
  checksLayout_->addStretch();
  note_ = new QLabel(this);
  note_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  okButton_ = buttons->button(QDialogButtonBox::Ok);
  okButton_->setText(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&V)..."));

  auto* layout = new QGridLayout(this);
  layout->addWidget(sheetLabel, 0, 0);
  layout->addWidget(sheetBox_, 0, 1);
  layout->addWidget(edit, 0, 2);
  layout->addWidget(picture_, 1, 0, 1, 3);
  layout->addWidget(new QLabel(QStringLiteral("印刷する位置:"), this), 2, 0);
  layout->addLayout(checksLayout_, 2, 1, 1, 2);
  layout->addWidget(note_, 3, 0, 1, 3);
  layout->addWidget(buttons, 4, 0, 1, 3);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(1, 1);

  connect(buttons, &QDialogButtonBox::accepted, this, &CSheetPrintDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CSheetPrintDlg::reject);
  connect(edit, &QPushButton::clicked, this, &CSheetPrintDlg::OnEditSheets);
  connect(sheetBox_, &QComboBox::currentIndexChanged, this, &CSheetPrintDlg::OnSheetChanged);
  connect(picture_, &CSheetPicture::positionClicked, this,
          [this](int position) { checks_.at(position)->toggle(); });
  LoadSheets(LastSheetChoice().name);
  resize(420, 480);
}

const lumo::Sheet& CSheetPrintDlg::sheet() const {
  return sheets_.sheets.at(static_cast<std::size_t>(std::max(sheetBox_->currentIndex(), 0)));
}

QList<int> CSheetPrintDlg::positions() const {
  QList<int> chosen;
  for (int i = 0; i < checks_.size(); ++i) {
    if (checks_[i]->isChecked()) chosen << i;
  }
  return chosen;
}

void CSheetPrintDlg::accept() {
  SaveSheetChoice({QString::fromStdString(sheet().name), positions()});
  QDialog::accept();
}

void CSheetPrintDlg::LoadSheets(const QString& name) {
  sheets_ = LoadWindowSheets();
  FillSheetBox(sheetBox_, sheets_, name);
  OnSheetChanged();
}

void CSheetPrintDlg::OnSheetChanged() {
  qDeleteAll(checks_);
  checks_.clear();
  const lumo::Sheet shown =
      lumo::SheetForPaper(sheet(), paperMm_.width(), paperMm_.height(), labelDiameterMm_);
  const int count = static_cast<int>(shown.positions.size());
  // The positions chosen last time on this sheet, or all of them.
  const SheetChoice last = LastSheetChoice();
  QList<int> chosen;
  if (last.name == QString::fromStdString(sheet().name)) {
    for (const int position : last.positions) {
      if (position < count) chosen << position;
    }
  }
  for (int i = 0; i < count; ++i) {
    auto* check = new QCheckBox(QString::number(i + 1), this);
    check->setChecked(chosen.isEmpty() || chosen.contains(i));
    connect(check, &QCheckBox::toggled, this, &CSheetPrintDlg::OnPositionsChanged);
    checksLayout_->insertWidget(i, check);
    checks_ << check;
  }
  OnPositionsChanged();
}

void CSheetPrintDlg::OnPositionsChanged() {
  const lumo::Sheet shown =
      lumo::SheetForPaper(sheet(), paperMm_.width(), paperMm_.height(), labelDiameterMm_);
  picture_->SetSheet(shown, positions());
  okButton_->setEnabled(!positions().isEmpty());
  QStringList notes;
  if (sheets_.fileError) notes << SheetsNotRead(*sheets_.fileError);
  if (const QString bleed = BleedNote(shown, labelDiameterMm_); !bleed.isEmpty()) notes << bleed;
  note_->setText(notes.join(u'\n'));
  note_->setVisible(!notes.isEmpty());
}

void CSheetPrintDlg::OnEditSheets() {
  CSheetEditorDlg editor(QString::fromStdString(sheet().name), this);
  if (editor.exec() == QDialog::Accepted) LoadSheets(editor.selectedName());
}
