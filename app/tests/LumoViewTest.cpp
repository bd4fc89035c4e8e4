// The preview view in the real main window: fit, wheel, drag and zoom keys,
// device pixels, paste, drops, new and opened documents, and the settings
// dialog's rebuild.
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>

#include "AppTestSupport.h"
#include "CAdjustDlg.h"
#include "CLumoApp.h"
#include "CLumoView.h"
#include "CMainFrame.h"
#include "TextIntake.h"

namespace {

using Clip = CLumoView::ClipboardText;
using Command = CMainFrame::Command;
constexpr double kFit800 = 0.2822865208186309;
constexpr double kStepUp = 0.3387438249823571;  // one wheel step in from kFit800

QImage Preview(CLumoView* view) { return view->grab().toImage(); }

QImage White(QSize size) {
  QImage white(size, QImage::Format_RGB32);
  white.fill(Qt::white);
  return white;
}

}  // namespace

class LumoViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<apptest::CurrentDirectory>();
    app_ = std::make_unique<CLumoApp>();
    QVERIFY(app_->InitInstance());
    view_ = app_->mainFrame()->view();
  }

  void cleanup() {
    app_.reset();
    dir_.reset();
  }

  void startsFittedThenWheelDeltasAddUpToStepsAboutThePointer() {
    QCOMPARE(view_->preview(), (lumo::PreviewState{view_->width() / 2834.0, 1417.0, 1417.0}));
    QVERIFY(Preview(view_) != White(view_->size()));  // the prompt
    FitTo800();
    // Three thirds of a notch make one step.
    apptest::Wheel(view_, {0, 40}, {400, 400});
    apptest::Wheel(view_, {0, 40}, {400, 400});
    QCOMPARE(view_->preview().zoom, kFit800);
    apptest::Wheel(view_, {0, 40}, {400, 400});
    QCOMPARE(view_->preview().zoom, kStepUp);
    apptest::Wheel(view_, {0, -120}, {400, 400});
    apptest::Wheel(view_, {0, -120}, {400, 400});
    QCOMPARE(view_->preview().zoom, 0.23523876734885912);
    // Sideways tilts and a touchpad's start and end of a scroll are no steps,
    // and a new touchpad scroll starts from nothing.
    apptest::Wheel(view_, {120, 0}, {400, 400});
    apptest::Wheel(view_, {0, 0}, {400, 400}, Qt::ScrollBegin);
    apptest::Wheel(view_, {0, 100}, {400, 400}, Qt::ScrollUpdate);
    apptest::Wheel(view_, {0, 0}, {400, 400}, Qt::ScrollEnd);
    apptest::Wheel(view_, {0, 20}, {400, 400}, Qt::ScrollUpdate);
    QCOMPARE(view_->preview().zoom, 0.23523876734885912);
    // The canvas point under the cursor stays there, below the middle too.
    const QPointF before = CanvasPoint({150, 700});
    apptest::Wheel(view_, {0, 120}, {150, 700});
    QVERIFY((CanvasPoint({150, 700}) - before).manhattanLength() < 1e-9);
    app_->mainFrame()->action(Command::ViewFit)->trigger();
    QCOMPARE(view_->preview(), (lumo::PreviewState{kFit800, 1417.0, 1417.0}));
  }

  void draggingPansUnderThePointer() {
    FitTo800();
    // The canvas point grabbed stays under the pointer while it moves.
    const QPointF grabbed = CanvasPoint({300, 200});
    Mouse(QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton);
    QCOMPARE(view_->cursor().shape(), Qt::ClosedHandCursor);
    Mouse(QEvent::MouseMove, {340, 150}, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {350, 260}, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {350, 260}, Qt::NoButton);
    QVERIFY((CanvasPoint({350, 260}) - grabbed).manhattanLength() < 1e-9);
    QCOMPARE(view_->cursor().shape(), Qt::ArrowCursor);
    const lumo::PreviewState panned = view_->preview();
    Mouse(QEvent::MouseMove, {10, 10}, Qt::NoButton);  // without the button down
    QCOMPARE(view_->preview(), panned);
  }

  void keysZoomAboutTheMiddleAndFit() {
    FitTo800();
    CMainFrame* frame = app_->mainFrame();
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    const QPointF middle(view_->width() / 2.0, view_->height() / 2.0);
    const QPointF atMiddle = CanvasPoint(middle);
    QTest::keyClick(frame, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(view_->preview().zoom, kStepUp);
    QTest::keyClick(frame, Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(view_->preview().zoom, kStepUp);
    QVERIFY((CanvasPoint(middle) - atMiddle).manhattanLength() < 1e-9);
    QTest::keyClick(frame, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(view_->preview(), (lumo::PreviewState{kFit800, 1417.0, 1417.0}));
  }

  void drawsWithEveryDevicePixel() {
    FitTo800();
    // What reaches the screen is the back buffer at the screen's ratio.
    QCOMPARE(Preview(view_), view_->RenderPreview(view_->devicePixelRatioF()));
    const QImage single = view_->RenderPreview(1.0);
    const QImage doubled = view_->RenderPreview(2.0);
    QCOMPARE(doubled.size(), view_->size() * 2);
    QCOMPARE(doubled.devicePixelRatio(), 2.0);
    // Not the single-ratio picture in blocks of 2 x 2, yet the same label: the finer
    // strokes leave a little less ink for the area, not the quarter that a label
    // drawn at the single ratio into the corner would.
    QVERIFY(doubled != single.scaled(doubled.size()));
    const auto ink = [](const QImage& image) {
      qint64 sum = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) sum += 255 - qGray(image.pixel(x, y));
      return sum;
    };
    const double ratio = static_cast<double>(ink(doubled)) / (4.0 * ink(single));
    QVERIFY2(ratio > 0.4 && ratio < 1.1, qPrintable(QString::number(ratio)));
  }

  void theStatusBarSaysWhatBecameOfEachLabel() {
    QStatusBar* bar = app_->mainFrame()->statusBar();
    view_->SetClipboardReader([] { return Clip{Clip::State::Text, QString(9100, u'x')}; });
    view_->OnEditPaste();
    // One line of 9,100: 9,000 are kept, and the lower half's 30 rings take 4,440.
    QCOMPARE(
        bar->currentMessage(),
        QStringLiteral(
            "lumo000.bmp に書き出しました。 入りきらない 4660 文字 (4660 ﾊﾞｲﾄ) は省きました。"));
    // Every name taken: nothing is written and the status bar says why.
    for (int n = 1; n < 1000; ++n) {
      QVERIFY(apptest::WriteFile(
          dir_->filePath(QStringLiteral("lumo%1.bmp").arg(n, 3, 10, QLatin1Char('0'))), ""));
    }
    view_->SetClipboardReader([] { return Clip{Clip::State::Text, "short"}; });
    view_->OnEditPaste();
    QVERIFY2(bar->currentMessage().startsWith(QStringLiteral("ﾗﾍﾞﾙを書き出せませんでした")) &&
                 bar->currentMessage().contains(QStringLiteral("lumo999.bmp")),
             qPrintable(bar->currentMessage()));
  }

  void pasteWritesALabelAndRepeatsTheTextWithoutClipboardText() {
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目\r\n二行目 ☃"));
    const QImage before = Preview(view_);
    app_->mainFrame()->action(Command::EditPaste)->trigger();
    // In code page 932; a character without a form there becomes "?".
    const std::string pasted = "\x88\xEA\x8D\x73\x96\xDA\r\n\x93\xF1\x8D\x73\x96\xDA ?";
    QCOMPARE(view_->labelText(), pasted);
    QCOMPARE(dir_->labelFiles(), QStringList{QStringLiteral("lumo000.bmp")});
    QVERIFY(Preview(view_) != before);
    // No text on the clipboard: the same text again; no clipboard at all: nothing.
    view_->SetClipboardReader([] { return Clip{Clip::State::NoText, {}}; });
    app_->mainFrame()->action(Command::EditPaste)->trigger();
    QCOMPARE(view_->labelText(), pasted);
    QCOMPARE(dir_->labelFiles().size(), 2);
    view_->SetClipboardReader([] { return Clip{Clip::State::Unavailable, {}}; });
    app_->mainFrame()->action(Command::EditPaste)->trigger();
    QCOMPARE(dir_->labelFiles().size(), 2);
  }

  void openedAndNewDocumentsRebuildTheCanvasFittedAndKeepTheText() {
    view_->SetClipboardReader([] { return Clip{Clip::State::Text, "kept"}; });
    view_->OnEditPaste();
    FitTo800();
    apptest::Wheel(view_, {0, 120}, {100, 100});
    QVERIFY(app_->OpenDocumentFile(dir_->settingsFile("half.lum", 120.0, 300.0)));
    QCOMPARE(view_->canvas().geometry.canvasRect.width(), 1417);
    QCOMPARE(view_->preview(), (lumo::PreviewState{800.0 / 1417.0, 708.5, 708.5}));
    app_->mainFrame()->action(Command::FileNew)->trigger();
    QCOMPARE(view_->labelText(), std::string("kept"));
    QCOMPARE(view_->settings(), lumo::LabelSettings{});
    QCOMPARE(view_->preview().zoom, kFit800);
    // An empty canvas keeps a usable zoom, paints white and writes no file.
    QVERIFY(app_->OpenDocumentFile(dir_->settingsFile("zero.lum", 0.0, 600.0)));
    QCOMPARE(view_->preview(), (lumo::PreviewState{kFit800, 0.0, 0.0}));
    QCOMPARE(Preview(view_), White(view_->size()));
    view_->OnEditPaste();
    QCOMPARE(dir_->labelFiles().size(), 1);
  }

  void droppedTextFilesAndFoldersBecomeTheLabelText() {
    // A text file that cannot be read changes nothing; what is not a file is refused.
    const QImage before = Preview(view_);
    QVERIFY(QDir().mkdir(dir_->filePath(QStringLiteral("folder.txt"))));
    QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(dir_->filePath("gone.txt"))}));
    QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(dir_->filePath("folder.txt"))}));
    QVERIFY(!apptest::DragAndDrop(view_, {QUrl(QStringLiteral("https://example.org/a.txt"))}));
    QCOMPARE(view_->labelText(), std::string(lumo::kStartupPrompt));
    QCOMPARE(Preview(view_), before);
    QVERIFY(dir_->labelFiles().isEmpty());
    // Only the first item of a drop counts.
    QVERIFY(apptest::WriteFile(dir_->filePath("NOTES.TXT"), "notes\r\nsecond"));
    QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(dir_->filePath("NOTES.TXT")),
                                         QUrl::fromLocalFile(dir_->filePath("x.txt"))}));
    QCOMPARE(view_->labelText(), std::string("notes\r\nsecond"));
    const QString folder = dir_->filePath(QStringLiteral("photos"));
    QVERIFY(QDir().mkdir(folder) && apptest::WriteFile(folder + "/a.jpg", "jpeg"));
    QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(folder)}));
    QVERIFY2(QString::fromStdString(view_->labelText()).contains("\r\na.jpg 0.00 MB "),
             view_->labelText().c_str());
    // Anything else is listed as a folder too, which lists nothing.
    QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(folder + "/a.jpg")}));
    QCOMPARE(view_->labelText(), std::string());
    QCOMPARE(dir_->labelFiles().size(), 3);
  }

  void adjustingRebuildsKeepsThePreviewInPlaceAndRenders() {
    FitTo800();
    apptest::Wheel(view_, {0, 120}, {200, 650});
    const lumo::PreviewState before = view_->preview();
    Adjust(QStringLiteral("300"));
    QCOMPARE(view_->canvas().geometry.canvasRect.width(), 1417);
    QVERIFY(std::abs(view_->preview().zoom - 2.0 * before.zoom) < 1e-12);
    QCOMPARE(view_->preview().viewCenterX / 1417.0, before.viewCenterX / 2834.0);
    QCOMPARE(view_->preview().viewCenterY / 1417.0, before.viewCenterY / 2834.0);
    // The document holds the new values without asking to be saved.
    QCOMPARE(app_->document().settings().resolutionDpi, 300.0);
    QVERIFY(!app_->mainFrame()->isWindowModified());
    QCOMPARE(dir_->labelFiles().size(), 1);
    // From a fit, 600 to 300 dpi doubles the zoom exactly.
    app_->mainFrame()->action(Command::FileNew)->trigger();
    Adjust(QStringLiteral("300"));
    QCOMPARE(view_->preview(), (lumo::PreviewState{kFit800 * 2.0, 708.5, 708.5}));
    // Closed without a change, the label is still written again.
    const lumo::PreviewState fitted = view_->preview();
    Adjust();
    QCOMPARE(view_->preview(), fitted);
    QCOMPARE(dir_->labelFiles().size(), 3);
  }

 private:
  // Opens the settings dialog by its button, types `resolution` if any, closes it.
  void Adjust(const QString& resolution = {}) {
    apptest::OnNextModal([resolution](QWidget* modal) {
      auto* box = modal->findChild<QLineEdit*>(QStringLiteral("IDC_RESOLUTION"));
      QVERIFY(qobject_cast<CAdjustDlg*>(modal) != nullptr && box != nullptr);
      if (!resolution.isEmpty()) box->setText(resolution);
      modal->close();
    });
    app_->mainFrame()->action(Command::LabelAdjust)->trigger();
  }

  void Mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, view_->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(view_, &event);
  }

  // Where the canvas point under `at` is, in an 800-pixel client.
  QPointF CanvasPoint(QPointF at) const {
    const lumo::PreviewState& s = view_->preview();
    return {s.viewCenterX + (at.x() - 400) / s.zoom, s.viewCenterY + (at.y() - 400) / s.zoom};
  }

  void FitTo800() {
    app_->mainFrame()->resize(800, 900);
    QTRY_COMPARE(view_->width(), 800);
    view_->FitToWidth();
  }

  std::unique_ptr<apptest::CurrentDirectory> dir_;
  std::unique_ptr<CLumoApp> app_;
  CLumoView* view_ = nullptr;
};

QTEST_MAIN(LumoViewTest)
#include "LumoViewTest.moc"
