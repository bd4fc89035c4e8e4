// The print calibration dialog.
#include "CPrintCalibrationDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
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
  across_ =
      TenthsBox(-lumo::kMaxPrintOffsetMm, lumo::kMaxPrintOffsetMm, QStringLiteral(" mm"), this);
  down_ = TenthsBox(-lumo::kMaxPrintOffsetMm, lumo::kMaxPrintOffsetMm, QStringLiteral(" mm"), this);
  scale_ = TenthsBox(lumo::kMinPrintScalePercent, lumo::kMaxPrintScalePercent, QStringLiteral(" %"),
                     this);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("ﾌﾟﾘﾝﾀ(&R):"), printers_);
  form->addRow(QStringLiteral("右へ移動(&X):"), across_);
  form->addRow(QStringLiteral("下へ移動(&Y):"), down_);
  form->addRow(QStringLiteral("倍率(&S):"), scale_);

  auto* help = new QLabel(
      printers.isEmpty()
          ? QStringLiteral("ﾌﾟﾘﾝﾀが見つかりません。")
          : QStringLiteral(
                "ﾃｽﾄﾍﾟｰｼﾞの十字はﾗﾍﾞﾙの中心が来る位置です。用紙を縦と横に半分に折り、"
                "折り目が十字から何 mm 離れているかを目盛りで読みます。十字が右へ 1.5 mm "
                "ずれていれば「右へ移動」から 1.5 を引き、下へずれていれば「下へ移動」から"
                "引きます。円の直径が定規で測った値と違うときは倍率で合わせます。"),
      this);
  help->setWordWrap(true);

  testPage_ = new QPushButton(QStringLiteral("ﾃｽﾄﾍﾟｰｼﾞを印刷(&T)"), this);
  testPage_->setAutoDefault(false);
  testPage_->setEnabled(!printers.isEmpty());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  okButton_ = buttons->button(QDialogButtonBox::Ok);
  okButton_->setEnabled(!printers.isEmpty());

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(help);
  layout->addWidget(testPage_, 0, Qt::AlignLeft);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &CPrintCalibrationDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CPrintCalibrationDlg::reject);
  connect(testPage_, &QPushButton::clicked, this, &CPrintCalibrationDlg::OnPrintTestPage);
  connect(printers_, &QComboBox::currentTextChanged, this, &CPrintCalibrationDlg::OnPrinterChanged);
  OnPrinterChanged();
}

QString CPrintCalibrationDlg::printerName() const { return printers_->currentText(); }

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

void CPrintCalibrationDlg::OnPrintTestPage() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(printerName());
  printer.setDocName(QStringLiteral("lumo ﾃｽﾄﾍﾟｰｼﾞ"));
  const lumo::Result<void> printed = PrintTestPage(printer, diameterMm_, calibration());
  if (!printed) QMessageBox::warning(this, windowTitle(), ErrorCause(printed.error()));
}
