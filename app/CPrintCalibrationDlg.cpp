// The print calibration dialog.
#include "CPrintCalibrationDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ErrorText.h"
#include "LabelPrinting.h"
#include "PrintCalibrationStore.h"

namespace {

// A box that takes only values in [low, high], in tenths.
QDoubleSpinBox* TenthsBox(double low, double high, const QString& suffix, QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(low, high);
  box->setDecimals(1);
  box->setSingleStep(lumo::kPrintCalibrationStep);
  box->setSuffix(suffix);
  box->setAccelerated(true);
  return box;
}

}  // namespace

CPrintCalibrationDlg::CPrintCalibrationDlg(const QStringList& printers, const QString& current,
                                           double diameterMm, QWidget* parent)
    : QDialog(parent), diameterMm_(diameterMm) {
  setWindowTitle(QStringLiteral("印刷位置の調整"));
  printers_ = new QComboBox(this);
  printers_->addItems(printers);
  if (printers.contains(current)) printers_->setCurrentText(current);
  sheets_ = LoadWindowSheets();
  sheetBox_ = new QComboBox(this);
  FillSheetBox(sheetBox_, sheets_, LastSheetChoice().name);
  across_ =
      TenthsBox(-lumo::kMaxPrintOffsetMm, lumo::kMaxPrintOffsetMm, QStringLiteral(" mm"), this);
  down_ = TenthsBox(-lumo::kMaxPrintOffsetMm, lumo::kMaxPrintOffsetMm, QStringLiteral(" mm"), this);
  scale_ = TenthsBox(lumo::kMinPrintScalePercent, lumo::kMaxPrintScalePercent, QStringLiteral(" %"),
                     this);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("ﾌﾟﾘﾝﾀ(&R):"), printers_);
  form->addRow(QStringLiteral("ﾗﾍﾞﾙ ｼｰﾄ(&H):"), sheetBox_);
  form->addRow(QStringLiteral("右へ移動(&X):"), across_);
  form->addRow(QStringLiteral("下へ移動(&Y):"), down_);
  form->addRow(QStringLiteral("倍率(&S):"), scale_);

  help_ = new QLabel(this);
  help_->setWordWrap(true);

  testPage_ = new QPushButton(QStringLiteral("ﾃｽﾄﾍﾟｰｼﾞを印刷(&T)"), this);
  testPage_->setAutoDefault(false);
  testPage_->setEnabled(!printers.isEmpty());
  auto* savePage = new QPushButton(QStringLiteral("ﾃｽﾄﾍﾟｰｼﾞを PDF に保存(&F)..."), this);
  savePage->setAutoDefault(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  okButton_ = buttons->button(QDialogButtonBox::Ok);
  okButton_->setEnabled(!printers.isEmpty());

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(help_);
  auto* pageButtons = new QHBoxLayout;
  pageButtons->addWidget(testPage_);
  pageButtons->addWidget(savePage);
  pageButtons->addStretch();
  layout->addLayout(pageButtons);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &CPrintCalibrationDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CPrintCalibrationDlg::reject);
  connect(testPage_, &QPushButton::clicked, this, &CPrintCalibrationDlg::OnPrintTestPage);
  connect(savePage, &QPushButton::clicked, this, &CPrintCalibrationDlg::OnSaveTestPage);
  connect(printers_, &QComboBox::currentTextChanged, this, &CPrintCalibrationDlg::OnPrinterChanged);
  connect(sheetBox_, &QComboBox::currentIndexChanged, this, &CPrintCalibrationDlg::OnSheetChanged);
  OnPrinterChanged();
  OnSheetChanged();
}

QString CPrintCalibrationDlg::printerName() const { return printers_->currentText(); }

const lumo::Sheet& CPrintCalibrationDlg::sheet() const {
  return sheets_.sheets.at(static_cast<std::size_t>(std::max(sheetBox_->currentIndex(), 0)));
}

lumo::PrintCalibration CPrintCalibrationDlg::calibration() const {
  return lumo::ClampCalibration({across_->value(), down_->value(), scale_->value()});
}

void CPrintCalibrationDlg::setCalibration(const lumo::PrintCalibration& calibration) {
  const lumo::PrintCalibration c = lumo::ClampCalibration(calibration);
  across_->setValue(c.offsetAcrossMm);
  down_->setValue(c.offsetDownMm);
  scale_->setValue(c.scalePercent);
}

void CPrintCalibrationDlg::accept() {
  if (!printerName().isEmpty()) SavePrintCalibration(printerName(), calibration());
  QDialog::accept();
}

void CPrintCalibrationDlg::OnPrinterChanged() {
  setCalibration(LoadPrintCalibration(printerName()));
}

void CPrintCalibrationDlg::OnSheetChanged() {
  if (printerName().isEmpty()) {
    help_->setText(QStringLiteral("ﾌﾟﾘﾝﾀが見つかりません。ﾃｽﾄﾍﾟｰｼﾞは PDF に保存できます。"));
    return;
  }
  // A centred label is found from the paper's folds, a sheet's from its discs.
  const bool centred = sheet().centred;
  help_->setText(
      (centred
           ? QStringLiteral("ﾃｽﾄﾍﾟｰｼﾞの十字はﾗﾍﾞﾙの中心が来る位置です。用紙を縦と横に半分に折り、"
                            "折り目が十字から何 mm 離れているかを目盛りで読みます。")
           : QStringLiteral("ﾃｽﾄﾍﾟｰｼﾞの十字は各位置でﾗﾍﾞﾙの中心が来る所です。普通紙に印刷して"
                            "ﾗﾍﾞﾙ ｼｰﾄと重ねて光にかざし、十字がﾃﾞｨｽｸの穴の中心から何 mm "
                            "離れているかを目盛りで読みます。")) +
      QStringLiteral("十字が右へ 1.5 mm ずれていれば「右へ移動」から 1.5 を引き、下へずれていれば"
                     "「下へ移動」から引きます。") +
      (centred ? QStringLiteral("円の直径が定規で測った値と違うときは倍率で合わせます。")
               : QStringLiteral("円の直径がﾃﾞｨｽｸと違うときは倍率で合わせます。")));
}

void CPrintCalibrationDlg::OnPrintTestPage() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(printerName());
  printer.setDocName(QStringLiteral("lumo ﾃｽﾄﾍﾟｰｼﾞ"));
  UseSheetPaper(printer, sheet());
  const lumo::Result<void> printed = PrintTestPage(printer, sheet(), diameterMm_, calibration());
  if (!printed) QMessageBox::warning(this, windowTitle(), ErrorCause(printed.error()));
}

void CPrintCalibrationDlg::OnSaveTestPage() {
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("ﾃｽﾄﾍﾟｰｼﾞを PDF に保存"),
      QDir::current().filePath(
          QStringLiteral("lumo-test-%1.pdf").arg(QString::fromStdString(sheet().name))),
      QStringLiteral("PDF (*.pdf)"));
  if (path.isEmpty()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setDocName(QStringLiteral("lumo ﾃｽﾄﾍﾟｰｼﾞ"));
  UseSheetPaper(printer, sheet());
  const lumo::Result<void> printed =
      PrintTestPage(printer, sheet(), diameterMm_, CalibrationFor(printer));
  if (!printed) QMessageBox::warning(this, windowTitle(), ErrorCause(printed.error()));
}
