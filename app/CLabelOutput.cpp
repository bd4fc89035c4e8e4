// Export, print and print calibration of the current label.
#include "CLabelOutput.h"

#include <QBoxLayout>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <vector>

#include "CLumoView.h"
#include "CPrintCalibrationDlg.h"
#include "CSheetPrintDlg.h"
#include "ErrorText.h"
#include "LabelPrinting.h"
#include "PrintCalibrationStore.h"

namespace {

struct ExportFilter {
  lumo::LabelFormat format;
  const char* filter;
};

constexpr ExportFilter kExportFilters[] = {
    {lumo::LabelFormat::Pdf, "PDF (*.pdf)"},
    {lumo::LabelFormat::Svg, "SVG (*.svg)"},
    {lumo::LabelFormat::Png, "PNG 画像 (*.png)"},
    {lumo::LabelFormat::Bmp, "ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)"},
};

QString Suffix(lumo::LabelFormat format) {
  return QString::fromLatin1(lumo::FormatName(format).data(),
                             static_cast<qsizetype>(lumo::FormatName(format).size()));
}

// `path` as the label is written to it: a name whose extension is a
// format's, in any case, stays as it is; any other gets the chosen format's
// added, so that no file holds one format under another's extension.
QString ExportPath(const QString& path, lumo::LabelFormat chosen) {
  if (lumo::FormatNamed(QFileInfo(path).suffix().toLower().toStdString())) return path;
  return (path.endsWith(QLatin1Char('.')) ? path : path + QLatin1Char('.')) + Suffix(chosen);
}

// A save dialog that asks about replacing the file the label will really be
// written to, not the name as typed.
class ExportDialog : public QFileDialog {
 public:
  ExportDialog(QWidget* parent, const QStringList& filters)
      : QFileDialog(parent, QStringLiteral("エクスポート"), QDir::currentPath()),
        filters_(filters) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters(filters);
    // Neither Qt nor the desktop's own dialog knows the name the label gets.
    setOption(QFileDialog::DontConfirmOverwrite);
    selectFile(QStringLiteral("lumo.") + Suffix(kExportFilters[0].format));
  }

  [[nodiscard]] lumo::LabelFormat chosenFormat() const {
    const auto index = std::max<qsizetype>(0, filters_.indexOf(selectedNameFilter()));
    return kExportFilters[static_cast<std::size_t>(index)].format;
  }
  // The file to write, once the dialog was accepted.
  [[nodiscard]] const QString& path() const noexcept { return path_; }

  void accept() override {
    const QStringList typed = selectedFiles();
    // No name, or a folder to go into: Qt's own handling.
    if (typed.size() != 1 || QFileInfo(typed.constFirst()).isDir()) {
      QFileDialog::accept();
      return;
    }
    path_ = ExportPath(typed.constFirst(), chosenFormat());
    if (QFileInfo::exists(path_) &&
        QMessageBox::question(this, windowTitle(),
                              QStringLiteral("%1 は既にあります。\n置き換えますか?")
                                  .arg(QDir::toNativeSeparators(path_)),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes) {
      return;
    }
    QDialog::accept();
  }

 private:
  QStringList filters_;
  QString path_;
};

}  // namespace

CLabelOutput::CLabelOutput(CLumoView& view, QWidget* window)
    : QObject(window), view_(view), window_(window) {}

lumo::Result<void> CLabelOutput::Export(lumo::LabelFormat format, const QString& path) const {
  return view_.session().Export(format,
                                std::filesystem::path(QFile::encodeName(path).toStdString()));
}

void CLabelOutput::OnFileExport() {
  QStringList filters;
  for (const ExportFilter& each : kExportFilters) filters << QString::fromUtf8(each.filter);
  ExportDialog dialog(window_, filters);
  if (dialog.exec() != QDialog::Accepted || dialog.path().isEmpty()) return;
  const QString path = dialog.path();
  // The name's extension decides, and is always a format's by now.
  const lumo::LabelFormat format =
      lumo::FormatNamed(QFileInfo(path).suffix().toLower().toStdString())
          .value_or(dialog.chosenFormat());
  if (const lumo::Result<void> exported = Export(format, path); !exported) {
    QMessageBox::warning(window_, QStringLiteral("エクスポート"),
                         LabelNotExported(path, exported.error()));
    return;
  }
  view_.ReportLabel(LabelWritten(std::filesystem::path(QFile::encodeName(path).toStdString())));
}

void CLabelOutput::OnFilePrint() {
  const lumo::LabelSession& session = view_.session();
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("lumo"));
  CSheetPrintDlg choose(session.settings().diameterMm,
                        printer.paperRect(QPrinter::Millimeter).size(), window_);
  if (choose.exec() != QDialog::Accepted) return;
  const lumo::Sheet sheet = choose.sheet();
  const QList<int> chosen = choose.positions();
  const std::vector<int> positions(chosen.begin(), chosen.end());
  view_.SetGuideSheet(sheet);
  UseSheetPaper(printer, sheet);

  QPrintPreviewDialog preview(&printer, window_);
  preview.setWindowTitle(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"));
  // Below the page: what the page itself cannot show.
  auto* note = new QLabel(&preview);
  note->setWordWrap(true);
  note->setContentsMargins(6, 3, 6, 3);
  if (auto* layout = qobject_cast<QBoxLayout*>(preview.layout())) layout->addWidget(note);
  // The label as the preview shows it; no other is drawn while the dialogs are up.
  const lumo::Surface& label = view_.shownCanvas().image;
  lumo::Result<void> printed;
  connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
    // The printer chosen last decides the calibration, a file none.
    printed = PrintOnSheet(*target, label, session.settings().resolutionDpi, sheet,
                           positions, CalibrationFor(*target));
    QStringList notes;
    if (!printed) notes << ErrorCause(printed.error());
    notes << BleedNote(sheet, session.settings().diameterMm);
    notes.removeAll(QString());
    note->setText(notes.join(u'\n'));
    note->setVisible(!notes.isEmpty());
  });
  if (preview.exec() != QDialog::Accepted) return;
  if (!printed) QMessageBox::warning(window_, QStringLiteral("印刷"), ErrorCause(printed.error()));
}

void CLabelOutput::OnPrintCalibration() {
  CPrintCalibrationDlg dialog(QPrinterInfo::availablePrinterNames(),
                              QPrinterInfo::defaultPrinterName(),
                              view_.session().settings().diameterMm, window_);
  dialog.exec();
}
