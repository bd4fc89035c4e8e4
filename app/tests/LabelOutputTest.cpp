// Printing through QPrinter to a PDF file, measured on the page poppler
// rasterises: the label at its true size about the calibrated centre, the
// test page's crosshairs; the calibration kept per printer; export.
#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QtTest>

#include "AppTestSupport.h"
#include "CLabelOutput.h"
#include "CLumoApp.h"
#include "CMainFrame.h"
#include "CPrintCalibrationDlg.h"
#include "CodePage932.h"
#include "LabelPrinting.h"
#include "LabelSession.h"
#include "PrintCalibrationStore.h"
#include "TestSupport.h"
#include "UserSettings.h"

namespace {

constexpr double kPageDpi = 300.0;  // rasterised at this; a pixel is 0.085 mm

double Mm(double pagePixels) { return pagePixels * 25.4 / kPageDpi; }

// An A4 printer that prints to the PDF file `path`.
void PrintTo(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::A4));
}

lumo::test::Grey Page(const QString& pdf) {
  return lumo::test::RasterisePdf(QFile::encodeName(pdf).toStdString(), kPageDpi);
}

// Answers the export dialog: the format of filter `filter` chosen as a user
// does, then `name` typed, then Qt's question about replacing, if `answer` is
// given, answered so.
void AnswerExport(int filter, const QString& name, QMessageBox::StandardButton answer = {}) {
  apptest::OnNextModal([=](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog != nullptr);
    auto* formats = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    formats->setCurrentIndex(filter);
    emit formats->activated(filter);
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    if (answer != QMessageBox::NoButton) {
      apptest::OnNextModal([answer](QWidget* question) {
        auto* box = qobject_cast<QMessageBox*>(question);
        QVERIFY(box != nullptr);
        box->button(answer)->click();
      });
    }
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own, which asks
    if (dialog->isVisible()) dialog->reject();
  });
}

}  // namespace

class LabelOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { dir_ = std::make_unique<apptest::CurrentDirectory>(); }
  void cleanup() { dir_.reset(); }

  void printsTheLabelAtTrueSizeAboutTheCalibratedCentre() {
    // 60 mm at 300 dpi with text on both halves.
    lumo::LabelSession session;
    QVERIFY(session.CreateCanvas({60, 300, 40, 12, 0, 4}));
    session.SetLabelText(lumo::LabelTextFromUtf8(
        "円盤のラベル\r\n一行目\r\n二行目\r\n三行目\r\n下の半分です\r\nもう一行"));
    session.ComposeLabel();
    const lumo::Surface& image = session.canvas().image;
    lumo::test::Grey grey{image.width(), image.height(), {}};
    for (const lumo::Pixel pixel : image.pixels()) grey.pixels.push_back(pixel >> 8 & 0xFF);
    const lumo::test::InkBox label = InkOf(grey);

    QPrinter printer(QPrinter::HighResolution);
    PrintTo(printer, dir_->filePath(QStringLiteral("label.pdf")));
    QVERIFY(PrintLabel(printer, image, 300, {5.0, -7.5, 104.0}));
    const lumo::test::InkBox printed = InkOf(Page(printer.outputFileName()));
    // Each ink edge where the bitmap's lies, from the canvas centre, scaled by
    // 104 % and moved onto the A4 page (210 x 297 mm) about the calibrated centre.
    const auto lands = [&](int printed, int bitmap, double centreMm) {
      const double fromCentre = bitmap - image.width() / 2.0;
      return std::abs(Mm(printed) - (centreMm + fromCentre * 25.4 / 300 * 1.04));
    };
    QVERIFY(lands(printed.left, label.left, 105.0 + 5.0) <= 0.2);
    QVERIFY(lands(printed.right + 1, label.right + 1, 105.0 + 5.0) <= 0.2);
    QVERIFY(lands(printed.top, label.top, 148.5 - 7.5) <= 0.2);
    QVERIFY(lands(printed.bottom + 1, label.bottom + 1, 148.5 - 7.5) <= 0.2);
    // On paper too small for it at its true size, nothing is printed.
    PrintTo(printer, dir_->filePath(QStringLiteral("small.pdf")));
    printer.setPageSize(QPageSize(QSizeF(59, 80), QPageSize::Millimeter));
    QCOMPARE(PrintLabel(printer, image, 300, {}).error().reason, lumo::ErrorReason::LabelOffPaper);
    QVERIFY(!QFile::exists(printer.outputFileName()));
  }

  void testPageCrosshairsMeetAtTheIntendedCentre() {
    QPrinter printer(QPrinter::HighResolution);
    PrintTo(printer, dir_->filePath(QStringLiteral("test.pdf")));
    QVERIFY(PrintTestPage(printer, 120, {-4.0, 6.0, 100}));
    const lumo::test::Grey page = Page(printer.outputFileName());
    // The crosshairs are the row and the column with the most ink.
    std::vector<int> rows(static_cast<std::size_t>(page.height));
    std::vector<int> columns(static_cast<std::size_t>(page.width));
    for (int y = 0; y < page.height; ++y) {
      for (int x = 0; x < page.width; ++x) {
        rows[static_cast<std::size_t>(y)] += page.Dark(x, y);
        columns[static_cast<std::size_t>(x)] += page.Dark(x, y);
      }
    }
    const auto darkest = [](const std::vector<int>& sums) {
      return static_cast<double>(std::max_element(sums.begin(), sums.end()) - sums.begin()) + 0.5;
    };
    QVERIFY(std::abs(Mm(darkest(columns)) - (105.0 - 4.0)) <= 0.2);
    QVERIFY(std::abs(Mm(darkest(rows)) - (148.5 + 6.0)) <= 0.2);
  }

  void calibrationIsKeptPerPrinterWithinItsRanges() {
    SavePrintCalibration(QStringLiteral("Office/Laser"), {1.5, -2.5, 101.5});
    SavePrintCalibration(QStringLiteral("Inkjet"), {40, -0.04, 120});
    // A hand-edited value that is no number leaves the neutral one.
    UserSettings().setValue(QStringLiteral("Print Calibration/Inkjet/OffsetDown"), "far");
    CPrintCalibrationDlg dialog({"Inkjet", "Office/Laser", "New"}, "Office/Laser", 120);
    QCOMPARE(dialog.calibration(), (lumo::PrintCalibration{1.5, -2.5, 101.5}));
    dialog.findChild<QComboBox*>()->setCurrentText(QStringLiteral("Inkjet"));
    QCOMPARE(dialog.calibration(), (lumo::PrintCalibration{30, 0, 110}));
    dialog.findChild<QComboBox*>()->setCurrentText(QStringLiteral("New"));
    QCOMPARE(dialog.calibration(), lumo::PrintCalibration{});
    // OK keeps what is shown, in tenths, for the printer chosen.
    dialog.findChildren<QDoubleSpinBox*>()[1]->setValue(-1.25);
    dialog.accept();
    QCOMPARE(LoadPrintCalibration(QStringLiteral("New")), (lumo::PrintCalibration{0, -1.3, 100}));
    // A file is printed as it is, whatever printer was calibrated.
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    QCOMPARE(CalibrationFor(printer), lumo::PrintCalibration{});
  }

  void exportWritesTheFormatItsNameSaysAndAsksBeforeReplacing() {
    CLumoApp app;
    QVERIFY(app.InitInstance());
    auto* output = app.mainFrame()->findChild<CLabelOutput*>();
    // A bare name takes the chosen format's extension; one of the formats'
    // extensions, in any case, decides the format itself.
    AnswerExport(1, dir_->filePath(QStringLiteral("disc")));
    output->OnFileExport();
    QVERIFY(apptest::ReadFile(dir_->filePath("disc.svg")).startsWith("<?xml"));
    AnswerExport(1, dir_->filePath(QStringLiteral("disc.PDF")));
    output->OnFileExport();
    QVERIFY(apptest::ReadFile(dir_->filePath("disc.PDF")).startsWith("%PDF-"));
    // Answering no to Qt's question leaves the file as it was.
    AnswerExport(1, dir_->filePath(QStringLiteral("disc.svg")), QMessageBox::No);
    QVERIFY(apptest::WriteFile(dir_->filePath("disc.svg"), "keep"));
    output->OnFileExport();
    QCOMPARE(apptest::ReadFile(dir_->filePath("disc.svg")), QByteArray("keep"));
    QCOMPARE(dir_->labelFiles(), QStringList());  // no numbered file came of it
  }

 private:
  std::unique_ptr<apptest::CurrentDirectory> dir_;
};

QTEST_MAIN(LabelOutputTest)
#include "LabelOutputTest.moc"
