// Printing through QPrinter to a PDF file, measured on the page poppler
// rasterises: the label at its true size about the calibrated centre of the
// page or of a sheet's place, the test page's crosshairs at each place; the
// calibration kept per printer; export.
#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

#include "AppTestSupport.h"
#include "CLabelOutput.h"
#include "CLumoApp.h"
#include "CLumoView.h"
#include "CMainFrame.h"
#include "CPrintCalibrationDlg.h"
#include "CSheetEditorDlg.h"
#include "CSheetPrintDlg.h"
#include "CodePage932.h"
#include "LabelPrinting.h"
#include "LabelSession.h"
#include "PrintCalibrationStore.h"
#include "SheetFile.h"
#include "SheetStore.h"
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
// does, then `name` typed, then the question about replacing, if `answer` is
// given, answered so and its text kept in `asked`.
void AnswerExport(int filter, const QString& name, QMessageBox::StandardButton answer = {},
                  QString* asked = nullptr) {
  apptest::OnNextModal([=](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog != nullptr);
    auto* formats = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    formats->setCurrentIndex(filter);
    emit formats->activated(filter);
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    if (answer != QMessageBox::NoButton) {
      apptest::OnNextModal([answer, asked](QWidget* question) {
        auto* box = qobject_cast<QMessageBox*>(question);
        QVERIFY(box != nullptr);
        if (asked != nullptr) *asked = box->text();
        box->button(answer)->click();
      });
    }
    static_cast<QDialog*>(dialog)->accept();  // the dialog's own, which asks
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

    // Each ink edge where the bitmap's lies, from the canvas centre, scaled
    // and moved onto the page about the label's intended centre.
    const auto lands = [&](const QString& pdf, double centreX, double centreY, double scale) {
      const lumo::test::InkBox printed = InkOf(Page(pdf));
      const auto off = [&](int at, int bitmap, double centreMm) {
        const double fromCentre = bitmap - image.width() / 2.0;
        return std::abs(Mm(at) - (centreMm + fromCentre * 25.4 / 300 * scale));
      };
      return std::max({off(printed.left, label.left, centreX),
                       off(printed.right + 1, label.right + 1, centreX),
                       off(printed.top, label.top, centreY),
                       off(printed.bottom + 1, label.bottom + 1, centreY)});
    };
    // Centred on the A4 page (210 x 297 mm), 104 % about the calibrated centre.
    QPrinter printer(QPrinter::HighResolution);
    PrintTo(printer, dir_->filePath(QStringLiteral("label.pdf")));
    const int first[] = {0};
    QVERIFY(PrintOnSheet(printer, image, 300, lumo::CentredSheet(), first, {5.0, -7.5, 104.0}));
    QVERIFY(lands(printer.outputFileName(), 105.0 + 5.0, 148.5 - 7.5, 1.04) <= 0.2);
    QVERIFY(!apptest::ReadFile(printer.outputFileName()).contains("/DCTDecode"));  // no JPEG
    // Only on the second place of the A4 sheet, which brings its own paper.
    PrintTo(printer, dir_->filePath(QStringLiteral("sheet.pdf")));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    UseSheetPaper(printer, lumo::BuiltInSheets()[0]);
    const int second[] = {1};
    QVERIFY(PrintOnSheet(printer, image, 300, lumo::BuiltInSheets()[0], second, {}));
    QVERIFY(lands(printer.outputFileName(), 105.0, 218.3, 1.0) <= 0.2);
    QVERIFY(std::abs(Mm(Page(printer.outputFileName()).height) - 297) < 0.5);
    // On paper too small for it at its true size, nothing is printed.
    PrintTo(printer, dir_->filePath(QStringLiteral("small.pdf")));
    printer.setPageSize(QPageSize(QSizeF(59, 80), QPageSize::Millimeter));
    QCOMPARE(PrintOnSheet(printer, image, 300, lumo::CentredSheet(), first, {}).error().reason,
             lumo::ErrorReason::LabelOffPaper);
    QVERIFY(!QFile::exists(printer.outputFileName()));
  }

  void testPageCrosshairsMeetAtEachPosition() {
    // The A4 sheet's places, moved 4 left and 6 down; the scale leaves them.
    QPrinter printer(QPrinter::HighResolution);
    PrintTo(printer, dir_->filePath(QStringLiteral("test.pdf")));
    QVERIFY(PrintTestPage(printer, lumo::BuiltInSheets()[0], 120, {-4.0, 6.0, 102}));
    const lumo::test::Grey page = Page(printer.outputFileName());
    // The crosshairs are the rows and the column with the most ink.
    std::vector<int> rows(static_cast<std::size_t>(page.height));
    std::vector<int> columns(static_cast<std::size_t>(page.width));
    for (int y = 0; y < page.height; ++y) {
      for (int x = 0; x < page.width; ++x) {
        rows[static_cast<std::size_t>(y)] += page.Dark(x, y);
        columns[static_cast<std::size_t>(x)] += page.Dark(x, y);
      }
    }
    const auto darkest = [](auto begin, auto end, auto origin) {
      return static_cast<double>(std::max_element(begin, end) - origin) + 0.5;
    };
    const auto half = rows.begin() + page.height / 2;
    QVERIFY(std::abs(Mm(darkest(columns.begin(), columns.end(), columns.begin())) - 101.0) <= 0.2);
    QVERIFY(std::abs(Mm(darkest(rows.begin(), half, rows.begin())) - 85.9) <= 0.2);
    QVERIFY(std::abs(Mm(darkest(half, rows.end(), rows.begin())) - 224.3) <= 0.2);
  }

  void sheetsAreOfferedAsLastChosenAndEditedIntoTheSheetsFile() {
    // The first time, the one place of the centred sheet.
    QCOMPARE(CSheetPrintDlg(120, {210, 297}).positions(), QList<int>{0});
    // A copy of the A4 sheet becomes the user's, read back from the file.
    CSheetEditorDlg editor(QStringLiteral("a4-2"));
    editor.findChild<QPushButton*>(QStringLiteral("newSheet"))->click();
    editor.accept();
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    lumo::Sheet copy = lumo::BuiltInSheets()[0];
    copy.name = "sheet-1";
    copy.title.clear();
    QCOMPARE(lumo::ReadSheetsFile(lumo::UserSheetsFile())->at(0), copy);
    // Chosen with its second place, it is offered so the next time.
    SaveSheetChoice({QStringLiteral("sheet-1"), {1}});
    CSheetPrintDlg again(120, {210, 297});
    QCOMPARE(again.sheet(), copy);
    QCOMPARE(again.positions(), QList<int>{1});
    // A sheet that is not as a sheet must be is shown and not written.
    CSheetEditorDlg refused(QStringLiteral("sheet-1"));
    refused.findChild<QDoubleSpinBox*>(QStringLiteral("hole"))->setValue(200);
    QString said;
    apptest::OnNextModal([&](QWidget* box) {
      said = static_cast<QMessageBox*>(box)->text();
      static_cast<QDialog*>(box)->accept();
    });
    refused.accept();
    QVERIFY(said.startsWith(QStringLiteral("sheet-1: ")));  // which sheet, and why
    QCOMPARE(refused.result(), int(QDialog::Rejected));
    QCOMPARE(lumo::ReadSheetsFile(lumo::UserSheetsFile())->at(0), copy);
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
    // A bare name, or one with another extension, takes the chosen format's;
    // one of the formats' extensions, in any case, decides the format itself.
    AnswerExport(1, dir_->filePath(QStringLiteral("disc")));
    output->OnFileExport();
    QVERIFY(apptest::ReadFile(dir_->filePath("disc.svg")).startsWith("<?xml"));
    AnswerExport(2, dir_->filePath(QStringLiteral("label.jpg")));
    output->OnFileExport();
    QVERIFY(apptest::ReadFile(dir_->filePath("label.jpg.png")).startsWith("\x89PNG"));
    QVERIFY(!QFile::exists(dir_->filePath("label.jpg")));
    QCOMPARE(app.mainFrame()->view()->labelStatus(),
             QStringLiteral("label.jpg.png を %1 に書き出しました。").arg(dir_->path()));
    AnswerExport(1, dir_->filePath(QStringLiteral("disc.PDF")));
    output->OnFileExport();
    QVERIFY(apptest::ReadFile(dir_->filePath("disc.PDF")).startsWith("%PDF-"));
    // The question is about the file the label would replace, and no leaves it.
    QString asked;
    AnswerExport(2, dir_->filePath(QStringLiteral("label.jpg")), QMessageBox::No, &asked);
    QVERIFY(apptest::WriteFile(dir_->filePath("label.jpg.png"), "keep"));
    output->OnFileExport();
    QCOMPARE(apptest::ReadFile(dir_->filePath("label.jpg.png")), QByteArray("keep"));
    QVERIFY2(asked.startsWith(dir_->filePath("label.jpg.png")), qPrintable(asked));
    QCOMPARE(dir_->labelFiles(), QStringList());  // no numbered file came of it
  }

 private:
  std::unique_ptr<apptest::CurrentDirectory> dir_;
};

QTEST_MAIN(LabelOutputTest)
#include "LabelOutputTest.moc"
