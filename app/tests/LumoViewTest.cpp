// The preview view in the real main window: wheel, drag and zoom keys about
// the right point, device pixels, the status bar's word on each label, and
// what paste, drops, documents and the settings dialog do to the view.
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

}  // namespace

class LumoViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<apptest::CurrentDirectory>();
    app_ = std::make_unique<CLumoApp>();
    QVERIFY(app_->InitInstance());
    view_ = app_->mainFrame()->view();
    app_->mainFrame()->resize(800, 900);
    QTRY_COMPARE(view_->width(), 800);
    view_->FitToWidth();
  }

  void cleanup() {
    app_.reset();
    dir_.reset();
  }

  void wheelDragAndKeysZoomAndPanAboutTheirPoints() {
    // A notch, or a touchpad's deltas adding up to one, is a step about the pointer.
    const QPointF before = CanvasPoint({150, 700});
    apptest::Wheel(view_, {0, 40}, {150, 700});
    apptest::Wheel(view_, {0, 80}, {150, 700});
    QCOMPARE(view_->preview().zoom, kStepUp);
    QVERIFY((CanvasPoint({150, 700}) - before).manhattanLength() < 1e-9);
    // Sideways tilts and a touchpad's start of a scroll are no steps, and the
    // start drops what was gathered.
    apptest::Wheel(view_, {0, 100}, {400, 400}, Qt::ScrollUpdate);
    apptest::Wheel(view_, {120, 0}, {400, 400});
    apptest::Wheel(view_, {0, 0}, {400, 400}, Qt::ScrollBegin);
    apptest::Wheel(view_, {0, 20}, {400, 400}, Qt::ScrollUpdate);
    QCOMPARE(view_->preview().zoom, kStepUp);
    // Dragging keeps the grabbed point under the pointer.
    const QPointF grabbed = CanvasPoint({300, 200});
    Mouse(QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton);
    QCOMPARE(view_->cursor().shape(), Qt::ClosedHandCursor);
    Mouse(QEvent::MouseMove, {350, 260}, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {350, 260}, Qt::NoButton);
    QVERIFY((CanvasPoint({350, 260}) - grabbed).manhattanLength() < 1e-9);
    QCOMPARE(view_->cursor().shape(), Qt::ArrowCursor);
    // The keys zoom about the middle, and Ctrl+0 fits.
    CMainFrame* frame = app_->mainFrame();
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    const QPointF middle(view_->width() / 2.0, view_->height() / 2.0);
    const QPointF atMiddle = CanvasPoint(middle);
    QTest::keyClick(frame, Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(view_->preview().zoom, kStepUp * 1.2);
    QVERIFY((CanvasPoint(middle) - atMiddle).manhattanLength() < 1e-9);
    QTest::keyClick(frame, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(view_->preview(), (lumo::PreviewState{kFit800, 1417.0, 1417.0}));
  }

  void drawsWithEveryDevicePixel() {
    // What reaches the screen is the back buffer at the screen's ratio.
    QCOMPARE(Preview(view_), view_->RenderPreview(view_->devicePixelRatioF()));
    const QImage single = view_->RenderPreview(1.0);
    const QImage doubled = view_->RenderPreview(2.0);
    QCOMPARE(doubled.size(), view_->size() * 2);
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

  void pasteRendersAndTheStatusBarSaysWhatBecameOfTheLabel() {
    QStatusBar* bar = app_->mainFrame()->statusBar();
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目\r\n二行目"));
    const QImage before = Preview(view_);
    app_->mainFrame()->action(Command::EditPaste)->trigger();
    QCOMPARE(view_->session().labelText(),
             std::string("\x88\xEA\x8D\x73\x96\xDA\r\n\x93\xF1\x8D\x73\x96\xDA"));
    QVERIFY(Preview(view_) != before);
    QCOMPARE(bar->currentMessage(), QStringLiteral("lumo000.bmp に書き出しました。"));
    // No text on the clipboard: the same text again; no clipboard at all: nothing.
    view_->SetClipboardReader([] { return Clip{Clip::State::NoText, {}}; });
    view_->OnEditPaste();
    view_->SetClipboardReader([] { return Clip{Clip::State::Unavailable, {}}; });
    view_->OnEditPaste();
    QCOMPARE(dir_->labelFiles().size(), 2);
    // One line of 9,100: 9,000 are kept, and the lower half's 30 rings take 4,440.
    view_->SetClipboardReader([] { return Clip{Clip::State::Text, QString(9100, u'x')}; });
    view_->OnEditPaste();
    QCOMPARE(bar->currentMessage(), QStringLiteral("lumo002.bmp に書き出しました。 入りきらない "
                                                   "4660 文字 (4660 ﾊﾞｲﾄ) は省きました。"));
    // Every name taken: nothing is written and the status bar says why.
    for (int n = 3; n < 1000; ++n) {
      const QString name = QStringLiteral("lumo%1.bmp").arg(n, 3, 10, QLatin1Char('0'));
      QVERIFY(apptest::WriteFile(dir_->filePath(name), ""));
    }
    view_->OnEditPaste();
    QCOMPARE(bar->currentMessage().section(QLatin1Char(' '), 0, 4),
             QStringLiteral("ﾗﾍﾞﾙを書き出せませんでした: lumo000.bmp から lumo999.bmp まで、"
                            "すべての名前が使われています。"));
  }

  void dropsAndDocumentsChangeTheTextAsTheyShould() {
    // Only a local file counts; a text file that cannot be read changes nothing.
    QVERIFY(!apptest::DragAndDrop(view_, {QUrl(QStringLiteral("https://example.org/a.txt"))}));
    QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(dir_->filePath("gone.txt"))}));
    QCOMPARE(view_->session().labelText(), std::string(lumo::kStartupPrompt));
    // Only the first item of a drop counts.
    QVERIFY(apptest::WriteFile(dir_->filePath("NOTES.TXT"), "notes"));
    QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(dir_->filePath("NOTES.TXT")),
                                         QUrl::fromLocalFile(dir_->filePath("x.txt"))}));
    QCOMPARE(view_->session().labelText(), std::string("notes"));
    // Anything else is listed as a folder, which may list nothing.
    QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(dir_->filePath("NOTES.TXT/x"))}));
    QCOMPARE(view_->session().labelText(), std::string());
    QCOMPARE(dir_->labelFiles().size(), 2);
    // A document opened or made anew rebuilds the canvas, fitted, and keeps the text.
    view_->session().SetLabelText("kept");
    QVERIFY(app_->OpenDocumentFile(dir_->settingsFile("half.lum", 120.0, 300.0)));
    QCOMPARE(view_->preview(), (lumo::PreviewState{800.0 / 1417.0, 708.5, 708.5}));
    app_->mainFrame()->action(Command::FileNew)->trigger();
    QCOMPARE(view_->session().labelText(), std::string("kept"));
    QCOMPARE(view_->session().settings(), lumo::LabelSettings{});
  }

  void adjustingRebuildsKeepsThePreviewInPlaceAndRenders() {
    apptest::Wheel(view_, {0, 120}, {200, 650});
    const lumo::PreviewState before = view_->preview();
    apptest::OnNextModal([](QWidget* modal) {
      QVERIFY(qobject_cast<CAdjustDlg*>(modal) != nullptr);
      modal->findChild<QLineEdit*>(QStringLiteral("IDC_RESOLUTION"))->setText("300");
      modal->close();
    });
    app_->mainFrame()->action(Command::LabelAdjust)->trigger();
    QCOMPARE(view_->session().canvas().geometry.canvasRect.width, 1417);
    // 600 to 300 dpi doubles the zoom; the same point of the label stays at the anchor.
    QVERIFY(std::abs(view_->preview().zoom - 2.0 * before.zoom) < 1e-12);
    QCOMPARE(view_->preview().viewCenterX / 1417.0, before.viewCenterX / 2834.0);
    QCOMPARE(view_->preview().viewCenterY / 1417.0, before.viewCenterY / 2834.0);
    // The document holds the new values without asking to be saved; a label is written.
    QCOMPARE(app_->document().settings().resolutionDpi, 300.0);
    QVERIFY(!app_->mainFrame()->isWindowModified());
    QCOMPARE(dir_->labelFiles().size(), 1);
  }

 private:
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

  std::unique_ptr<apptest::CurrentDirectory> dir_;
  std::unique_ptr<CLumoApp> app_;
  CLumoView* view_ = nullptr;
};

QTEST_MAIN(LumoViewTest)
#include "LumoViewTest.moc"
