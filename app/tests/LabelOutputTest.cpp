// Printing through QPrinter to a PDF file, measured on the page poppler
// rasterises: the label at its true size about the calibrated centre, the
// test page's crosshairs; the calibration kept per printer; export.
#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
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
#include "UserSettings.h"

namespace {

constexpr double kPageDpi = 300.0;  // rasterised at this; a pixel is 0.085 mm

// Ink bounds in pixels: left, top, right, bottom (inclusive); empty without ink.
struct Ink {
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
  void Add(int x, int y) {
    left = std::min(left, x), top = std::min(top, y);
    right = std::max(right, x), bottom = std::max(bottom, y);
  }
};

Ink InkOf(const QImage& image) {
  Ink ink;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* row = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x)
      if (row[x] < 128) ink.Add(x, y);
  }
  return ink;
}

// The PDF's one page as grey pixels at kPageDpi.
QImage Rasterise(const QString& pdf) {
  const QString prefix = pdf + QStringLiteral("-page");
  QProcess::execute(QStringLiteral("pdftoppm"),
                    {"-r", QString::number(kPageDpi), "-gray", "-png", "-singlefile", pdf, prefix});
  return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

QString PdfOn(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::A4));
  return path;
}

double Mm(double pagePixels) { return pagePixels * 25.4 / kPageDpi; }

// Types `name` into the file dialog's name box, as selectFile() leaves a box
// that has the focus alone.
void Choose(QFileDialog* dialog, const QString& name) {
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  QVERIFY(edit != nullptr);
  edit->setText(name);
}

}  // namespace

class LabelOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
      QSKIP("poppler-utils is not installed");
    dir_ = std::make_unique<apptest::CurrentDirectory>();
  }
  void cleanup() { dir_.reset(); }

  void printsTheLabelAtTrueSizeAboutTheCalibratedCentre() {
    // 60 mm at 300 dpi with text on both halves.
    const lumo::LabelSettings settings{60, 300, 40, 12, 0, 4};
    lumo::LabelSession session;
    QVERIFY(session.CreateCanvas(settings));
    session.SetLabelText(lumo::cp932::FromUtf8(
        "円盤のラベル\r\n一行目\r\n二行目\r\n三行目\r\n下の半分です\r\nもう一行"));
    session.ComposeLabel();
    const lumo::LabelCanvas& canvas = session.canvas();
    const Ink label =
        InkOf(QImage(reinterpret_cast<const uchar*>(canvas.image.pixels().data()),
                     canvas.image.width(), canvas.image.height(), QImage::Format_RGB32)
                  .convertToFormat(QImage::Format_Grayscale8));
    QVERIFY(label.right > 0);

    const lumo::PrintCalibration calibration{5.0, -7.5, 104.0};
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = PdfOn(printer, dir_->filePath(QStringLiteral("label.pdf")));
    QVERIFY(PrintLabel(printer, canvas.image, settings.resolutionDpi, calibration));
    const QImage page = Rasterise(pdf);
    QVERIFY(!page.isNull());
    const Ink printed = InkOf(page);

    // Each ink edge where the bitmap's lies, from the canvas centre, scaled by
    // 104 % and moved onto the A4 page (210 x 297 mm) about the calibrated centre.
    const auto lands = [&](int printed, int bitmap, double centreMm) {
      const double fromCentre = bitmap - canvas.image.width() / 2.0;
      return std::abs(Mm(printed) - (centreMm + fromCentre * 25.4 / settings.resolutionDpi * 1.04));
    };
    QVERIFY(lands(printed.left, label.left, 105.0 + 5.0) <= 0.2);
    QVERIFY(lands(printed.right + 1, label.right + 1, 105.0 + 5.0) <= 0.2);
    QVERIFY(lands(printed.top, label.top, 148.5 - 7.5) <= 0.2);
    QVERIFY(lands(printed.bottom + 1, label.bottom + 1, 148.5 - 7.5) <= 0.2);
  }

  void aLabelLargerThanThePaperIsNotPrinted() {
    lumo::LabelSession session;
    QVERIFY(session.CreateCanvas({120, 100, 150, 45, 1, 30}));
    session.ComposeLabel();
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = PdfOn(printer, dir_->filePath(QStringLiteral("small.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A6));  // 105 x 148 mm
    QVERIFY(!PrintLabel(printer, session.canvas().image, 100, {}));
    QVERIFY(!QFile::exists(pdf));
  }

  void testPageCrosshairsMeetAtTheIntendedCentre() {
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = PdfOn(printer, dir_->filePath(QStringLiteral("test.pdf")));
    QVERIFY(PrintTestPage(printer, 120, {-4.0, 6.0, 100}));
    const QImage page = Rasterise(pdf);
    QVERIFY(!page.isNull());
    // The crosshairs are the row and the column with the most ink.
    std::vector<int> rows(static_cast<std::size_t>(page.height()));
    std::vector<int> columns(static_cast<std::size_t>(page.width()));
    for (int y = 0; y < page.height(); ++y) {
      const uchar* row = page.constScanLine(y);
      for (int x = 0; x < page.width(); ++x) {
        const int ink = 255 - row[x];
        rows[static_cast<std::size_t>(y)] += ink;
        columns[static_cast<std::size_t>(x)] += ink;
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

  void exportWritesTheChosenNameAndAsksBeforeReplacing() {
    CLumoApp app;
    QVERIFY(app.InitInstance());
    auto* output = app.mainFrame()->findChild<CLabelOutput*>();
    QVERIFY(output != nullptr);
    const QString chosen = dir_->filePath(QStringLiteral("disc"));
    apptest::OnNextModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      // The format chosen as a user does; the dialog then renames its own first choice.
      auto* formats = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      QVERIFY(formats != nullptr);
      formats->setCurrentIndex(1);
      emit formats->activated(1);
      QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("SVG (*.svg)"));
      Choose(dialog, chosen);
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own, which asks
    });
    output->OnFileExport();
    QVERIFY(apptest::ReadFile(chosen + ".svg").startsWith("<?xml"));

    // Answering no to Qt's question leaves the file as it was.
    QVERIFY(apptest::WriteFile(chosen + ".png", "keep"));
    apptest::OnNextModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      Choose(dialog, chosen + ".png");
      apptest::OnNextModal([](QWidget* question) {
        auto* box = qobject_cast<QMessageBox*>(question);
        QVERIFY(box != nullptr);
        box->button(QMessageBox::No)->click();
      });
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own, which asks
      if (dialog->isVisible()) dialog->reject();
    });
    output->OnFileExport();
    QCOMPARE(apptest::ReadFile(chosen + ".png"), QByteArray("keep"));

    QVERIFY(!output->Export(lumo::LabelFormat::Pdf, dir_->filePath("none/x.pdf")));
    QCOMPARE(dir_->labelFiles(), QStringList());  // no numbered file came of it
  }

 private:
  std::unique_ptr<apptest::CurrentDirectory> dir_;
};

QTEST_MAIN(LabelOutputTest)
#include "LabelOutputTest.moc"
