// The main window as the user meets it: start-up, the tool bar, status bar
// and keys; the preview's wheel, drag and zoom keys about the right point and
// its device pixels; paste, drops, settings files opened, saved and dropped,
// and the settings dialog, with what each says in the status bar or a box.
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "AppTestSupport.h"
#include "CAdjustDlg.h"
#include "CLabelFilesDlg.h"
#include "CLumoApp.h"
#include "CLumoView.h"
#include "CMainFrame.h"
#include "SheetStore.h"
#include "TextIntake.h"
#include "UserConfig.h"
#include "UserSettings.h"

namespace {

using Clip = CLumoView::ClipboardText;
using Command = CMainFrame::Command;
constexpr double kFit800 = 0.2822865208186309;
constexpr double kStepUp = 0.3387438249823571;  // one wheel step in from kFit800

// Answers the next file dialog with `path`, typed into its name box.
void AnswerFileDialog(const QString& path) {
  apptest::OnNextModal([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog != nullptr);
    dialog->selectFile(path);  // drops the selection, which would win over the name box
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
    static_cast<QDialog*>(dialog)->accept();
  });
}

void CloseMessageBox(QString* text) {
  apptest::OnNextModal([text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box != nullptr);
    *text = box->text();
    box->accept();
  });
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<apptest::CurrentDirectory>();
    app_ = std::make_unique<CLumoApp>();
  }

  void cleanup() {
    app_.reset();
    dir_.reset();
  }

  void startsAsANewDocumentWithAFixedToolBarAndLockKeyPanes() {
    QVERIFY(StartActive());
    CMainFrame* frame = app_->mainFrame();
    QCOMPARE(frame->size(), QSize(450, 540));
    QCOMPARE(frame->windowTitle(), QStringLiteral("new - lumo"));
    QStatusBar* bar = frame->statusBar();
    // CAP and NUM light as the keys are; ｶﾅ and SCRL stay grey; the message
    // pane is idle.
    frame->ShowLockKeys({true, false});
    QStringList lit;
    for (const QLabel* label : bar->findChildren<QLabel*>())
      if (label->isEnabled()) lit << label->text();
    QCOMPARE(lit, (QStringList{"CAP", "ﾚﾃﾞｨ"}));
    // Qt's own texts are Japanese too.
    QDialogButtonBox buttonBox(QDialogButtonBox::Cancel);
    QCOMPARE(buttonBox.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    // Nothing offers to hide, move or float the tool bar.
    auto* toolBar = frame->findChild<QToolBar*>();
    QVERIFY(frame->createPopupMenu() == nullptr && !toolBar->toggleViewAction()->isEnabled() &&
            !toolBar->isMovable() && !toolBar->isFloatable());
    frame->view()->SetClipboardReader([] { return Clip{Clip::State::Text, "pasted\nlines"}; });
    QTest::keyClick(frame, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(frame->view()->session().labelText(), std::string("pasted\r\nlines"));
    // Ctrl+C copies the label's picture, at its resolution, and its text.
    QTest::keyClick(frame, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(copied->text(), QStringLiteral("pasted\nlines"));
    const QImage image = copied->imageData().value<QImage>();
    const lumo::Surface& canvas = frame->view()->shownCanvas().image;
    QCOMPARE(image.dotsPerMeterX(), 23622);
    QCOMPARE(image.size(), QSize(canvas.width(), canvas.height()));
    for (int y = 0; y < canvas.height(); y += 7)
      for (int x = 0; x < canvas.width(); ++x)
        QCOMPARE(image.pixel(x, y), canvas.row(y)[static_cast<std::size_t>(x)] | 0xFF000000u);
    // Ctrl+Q quits, and the next start has the size the window had.
    frame->resize(620, 480);
    QTest::keyClick(frame, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!frame->isVisible());
    app_ = std::make_unique<CLumoApp>();
    QVERIFY(app_->InitInstance());
    QCOMPARE(app_->mainFrame()->size(), QSize(620, 480));
  }

  void wheelDragAndKeysZoomAndPanAboutTheirPoints() {
    CLumoView* view = StartFitted();
    // A notch, or a touchpad's deltas adding up to one, is a step about the pointer.
    const QPointF before = CanvasPoint({150, 700});
    apptest::Wheel(view, {0, 40}, {150, 700});
    apptest::Wheel(view, {0, 80}, {150, 700});
    QCOMPARE(view->preview().zoom, kStepUp);
    QVERIFY((CanvasPoint({150, 700}) - before).manhattanLength() < 1e-9);
    // Sideways tilts and a touchpad's start of a scroll are no steps, and the
    // start drops what was gathered.
    apptest::Wheel(view, {0, 100}, {400, 400}, Qt::ScrollUpdate);
    apptest::Wheel(view, {120, 0}, {400, 400});
    apptest::Wheel(view, {0, 0}, {400, 400}, Qt::ScrollBegin);
    apptest::Wheel(view, {0, 20}, {400, 400}, Qt::ScrollUpdate);
    QCOMPARE(view->preview().zoom, kStepUp);
    // Dragging keeps the grabbed point under the pointer.
    const QPointF grabbed = CanvasPoint({300, 200});
    Mouse(QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton);
    QCOMPARE(view->cursor().shape(), Qt::ClosedHandCursor);
    Mouse(QEvent::MouseMove, {350, 260}, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {350, 260}, Qt::NoButton);
    QVERIFY((CanvasPoint({350, 260}) - grabbed).manhattanLength() < 1e-9);
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    // The keys zoom about the middle, and Ctrl+0 fits.
    QVERIFY(Activate());
    const QPointF middle(view->width() / 2.0, view->height() / 2.0);
    const QPointF atMiddle = CanvasPoint(middle);
    for (const Qt::Key key : {Qt::Key_Equal, Qt::Key_Minus, Qt::Key_Plus})
      QTest::keyClick(app_->mainFrame(), key, Qt::ControlModifier);
    QCOMPARE(view->preview().zoom, kStepUp * 1.2);
    QVERIFY((CanvasPoint(middle) - atMiddle).manhattanLength() < 1e-9);
    QTest::keyClick(app_->mainFrame(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(view->preview(), (lumo::PreviewState{kFit800, 1417.0, 1417.0}));
  }

  void drawsWithEveryDevicePixel() {
    CLumoView* view = StartFitted();
    // What reaches the screen is the back buffer at the screen's ratio: at 2,
    // the same label over twice the pixels, not the picture of 1 in blocks,
    // and not a label of half the size in the corner (a quarter of the ink).
    QCOMPARE(view->grab().toImage(), view->RenderPreview(view->devicePixelRatioF()));
    const QImage single = view->RenderPreview(1.0);
    const QImage doubled = view->RenderPreview(2.0);
    QCOMPARE(doubled.size(), view->size() * 2);
    QVERIFY(doubled != single.scaled(doubled.size()));
    const auto ink = [](const QImage& image) {
      qint64 sum = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) sum += 255 - qGray(image.pixel(x, y));
      return static_cast<double>(sum);
    };
    const double ratio = ink(doubled) / (4.0 * ink(single));
    QVERIFY2(ratio > 0.4 && ratio < 1.1, qPrintable(QString::number(ratio)));
  }

  void discGuideIsDrawnOverThePreviewAndKeptForTheNextStart() {
    SaveSheetChoice({QStringLiteral("a4-2"), {0}});
    CLumoView* view = StartFitted();
    QAction* guide = app_->mainFrame()->action(Command::ViewDiscGuide);
    // A point on the circle of the sheet's 41 mm hole, on the 120 mm label.
    const lumo::PreviewRect label = lumo::PreviewDestination(
        view->preview(), view->session().canvas().geometry.canvasRect.width, view->width());
    const QPoint onHole(label.x + label.width / 2 + qRound(20.5 * label.width / 120.0),
                        label.y + label.height / 2);
    const auto guideDrawn = [&] {
      const QRgb pixel = view->RenderPreview(1.0).pixel(onHole);
      return qBlue(pixel) > qRed(pixel) + 80;
    };
    QVERIFY(!guide->isChecked() && !guideDrawn());
    guide->trigger();
    QVERIFY(guideDrawn());
    // Its menu comes between 編集 and ﾍﾙﾌﾟ, with both fits and the settings
    // dialog after it; the next start shows the guide.
    QStringList menus;
    for (const QAction* menu : app_->mainFrame()->menuBar()->actions()) menus << menu->text();
    QCOMPARE(menus, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
    QStringList entries;
    for (const QAction* entry : app_->mainFrame()->menuBar()->actions()[2]->menu()->actions())
      entries << entry->text();
    QCOMPARE(entries,
             (QStringList{"ﾃﾞｨｽｸの縁と穴(&G)", "ﾌｫﾝﾄ(&F)...", "", "ウインドウの幅にフィット(&T)",
                          "ﾗﾍﾞﾙ全体を表示(&W)", "", "詳細設定(&A)..."}));
    app_ = std::make_unique<CLumoApp>();
    QVERIFY(app_->InitInstance() && app_->mainFrame()->view()->discGuideShown());
  }

  void pasteRendersAndTheStatusBarSaysWhatBecameOfTheLabel() {
    CLumoView* view = StartFitted();
    CMainFrame* frame = app_->mainFrame();
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目\r\n二行目"));
    const QImage before = view->grab().toImage();
    frame->action(Command::EditPaste)->trigger();
    view->WaitForLabels();
    QCOMPARE(view->session().labelText(),
             std::string("\x88\xEA\x8D\x73\x96\xDA\r\n\x93\xF1\x8D\x73\x96\xDA"));
    QVERIFY(view->grab().toImage() != before);
    // The result stays under a command's prompt and comes back after it; cut
    // with "…" where it does not fit, whole in the tool tip.
    const QString written = Written(QStringLiteral("lumo000.bmp"));
    auto* pane = frame->statusBar()->findChild<QLabel*>(QStringLiteral("labelStatus"));
    for (const QString& tip : {QStringLiteral("prompt"), QString()}) {
      QStatusTipEvent pointedAt(tip);
      QApplication::sendEvent(frame, &pointedAt);
      QCOMPARE(pane->isVisible(), tip.isEmpty());
    }
    frame->resize(450, 540);
    QTRY_VERIFY(pane->text().endsWith(u'…') && pane->toolTip() == written);
    frame->resize(1600, 540);
    QTRY_VERIFY(pane->text() == written && pane->toolTip().isEmpty());
    // No text on the clipboard: the same text again, and said so; no clipboard
    // at all: nothing but saying so.
    view->SetClipboardReader([] { return Clip{Clip::State::NoText, {}}; });
    view->OnEditPaste();
    view->WaitForLabels();
    QCOMPARE(view->labelStatus(),
             QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞに文字がないので、今の文字のままです。 ") +
                 Written(QStringLiteral("lumo001.bmp")));
    view->SetClipboardReader([] { return Clip{Clip::State::Unavailable, {}}; });
    view->OnEditPaste();
    view->WaitForLabels();
    QCOMPARE(view->labelStatus(), QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞを読めません。"));
    QCOMPARE(dir_->labelFiles().size(), 2);
    // One line of 9,100: 9,000 are kept, and the lower half's 30 rings take 4,440.
    view->SetClipboardReader([] { return Clip{Clip::State::Text, QString(9100, u'x')}; });
    view->OnEditPaste();
    view->WaitForLabels();
    QCOMPARE(view->labelStatus(),
             Written(QStringLiteral("lumo002.bmp")) +
                 QStringLiteral(" 入りきらない 4660 文字 (4660 ﾊﾞｲﾄ) は省きました。"));
    // Every name taken: nothing is written and the status bar says why.
    for (int n = 3; n < 1000; ++n) {
      const QString name = QStringLiteral("lumo%1.bmp").arg(n, 3, 10, QLatin1Char('0'));
      QVERIFY(apptest::WriteFile(dir_->filePath(name), ""));
    }
    view->OnEditPaste();
    view->WaitForLabels();
    QVERIFY(view->labelStatus().startsWith(
        QStringLiteral("ﾗﾍﾞﾙを %1 に書き出せませんでした: lumo000.bmp から lumo999.bmp まで、"
                       "すべての名前が使われています。")
            .arg(dir_->path())));
  }

  // Labels are drawn and written in the background, but every paste writes
  // its own file, in order, and closing the window waits for the last.
  void quickPastesEachWriteTheirOwnFileAndQuittingWaitsForTheLast() {
    CLumoView* view = StartFitted();
    for (const QString& text : {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}) {
      view->SetClipboardReader([text] { return Clip{Clip::State::Text, text}; });
      view->OnEditPaste();
    }
    app_.reset();
    const QStringList files = dir_->labelFiles();
    QCOMPARE(files, (QStringList{"lumo000.bmp", "lumo001.bmp", "lumo002.bmp"}));
    QByteArrayList labels;
    for (const QString& file : files) labels << apptest::ReadFile(dir_->filePath(file));
    QCOMPARE(labels[2].size(), 54 + 2834 * 2834 * 4);
    QVERIFY(labels[0] != labels[1] && labels[1] != labels[2] && labels[0].size() == labels[2].size());
  }

  // Linux's Japanese and characters beyond code page 932 reach the label,
  // in the face the user chooses, which the next start takes again.
  void everyCharacterPastedIsDrawnInTheChosenFace() {
    CLumoView* view = StartFitted();
    view->SetClipboardReader(
        [] { return Clip{Clip::State::Text, QStringLiteral("10時〜12時 Café €5 ™ 𠮷野家 ❤\U000F0000")}; });
    view->OnEditPaste();
    view->WaitForLabels();
    QCOMPARE(view->labelStatus(),
             Written(QStringLiteral("lumo000.bmp")) +
                 QStringLiteral(" どのﾌｫﾝﾄにもない 1 文字は □ で示しました。"));
    // Copied back, each is itself again, 〜 in the form Windows writes it.
    app_->mainFrame()->action(Command::EditCopy)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("10時～12時 Café €5 ™ 𠮷野家 ❤\U000F0000"));
    // A family no face has changes nothing; one that is there is drawn and kept.
    QString offered;
    view->SetFontChooser([&offered](const QString& current) {
      offered = current;
      return std::optional<QString>(QStringLiteral("No Such Family"));
    });
    app_->mainFrame()->action(Command::ViewFont)->trigger();
    view->WaitForLabels();
    QCOMPARE(offered, QStringLiteral("IPAGothic"));
    QVERIFY(view->labelStatus().startsWith(QStringLiteral("選んだﾌｫﾝﾄは使えません。")));
    view->SetFontChooser([](const QString&) { return std::optional<QString>("DejaVu Sans"); });
    app_->mainFrame()->action(Command::ViewFont)->trigger();
    view->WaitForLabels();
    QCOMPARE(dir_->labelFiles().size(), 2);
    app_.reset();
    app_ = std::make_unique<CLumoApp>();
    view = StartFitted();
    QCOMPARE(view->session().face().value()->family(), std::string("DejaVu Sans"));
  }

  void dropsAndDocumentsChangeTheTextAsTheyShould() {
    CLumoView* view = StartFitted();
    // Only the first local file of a drop counts: a ".txt" name is a text file,
    // and one that cannot be read changes nothing, writes nothing and says why.
    QVERIFY(!apptest::DragAndDrop(view, {QUrl(QStringLiteral("https://example.org/a.txt"))}));
    QVERIFY(QDir().mkdir(dir_->filePath("dir.txt")));
    QVERIFY(apptest::DragAndDrop(view, {QUrl::fromLocalFile(dir_->filePath("dir.txt"))}));
    QCOMPARE(view->labelStatus(),
             dir_->filePath("dir.txt") +
                 QStringLiteral(" を読めません。ﾌｫﾙﾀﾞです。ﾌｧｲﾙを指定してください。"));
    QVERIFY(dir_->labelFiles().isEmpty());
    QVERIFY(apptest::WriteFile(dir_->filePath("NOTES.TXT"), "notes"));
    QVERIFY(apptest::DragAndDrop(view, {QUrl::fromLocalFile(dir_->filePath("NOTES.TXT")),
                                        QUrl::fromLocalFile(dir_->filePath("x.txt"))}));
    QCOMPARE(view->session().labelText(), std::string("notes"));
    // Anything else is listed as a folder, which may list nothing.
    QVERIFY(apptest::DragAndDrop(view, {QUrl::fromLocalFile(dir_->filePath("NOTES.TXT/x"))}));
    QCOMPARE(view->session().labelText(), std::string());
    view->WaitForLabels();
    QCOMPARE(dir_->labelFiles().size(), 2);
    // A document opened or made anew rebuilds the canvas, fitted, and keeps the text.
    view->session().SetLabelText(std::string("kept"));
    QVERIFY(app_->OpenDocumentFile(dir_->settingsFile("half.lum", 120.0, 300.0)));
    QCOMPARE(view->preview(), (lumo::PreviewState{800.0 / 1417.0, 708.5, 708.5}));
    app_->mainFrame()->action(Command::FileNew)->trigger();
    QCOMPARE(view->session().labelText(), std::string("kept"));
    QCOMPARE(view->session().settings(), lumo::LabelSettings{});
  }

  void adjustingRebuildsKeepsThePreviewInPlaceAndRenders() {
    CLumoView* view = StartFitted();
    apptest::Wheel(view, {0, 120}, {200, 650});
    const lumo::PreviewState before = view->preview();
    apptest::OnNextModal([](QWidget* modal) {
      QVERIFY(qobject_cast<CAdjustDlg*>(modal) != nullptr);
      modal->findChild<QLineEdit*>(QStringLiteral("IDC_RESOLUTION"))->setText("300");
      modal->close();
    });
    app_->mainFrame()->action(Command::LabelAdjust)->trigger();
    view->WaitForLabels();
    QCOMPARE(view->session().canvas().geometry.canvasRect.width, 1417);
    // 600 to 300 dpi doubles the zoom; the same point of the label stays at the anchor.
    QVERIFY(std::abs(view->preview().zoom - 2.0 * before.zoom) < 1e-12);
    QCOMPARE(view->preview().viewCenterX / 1417.0, before.viewCenterX / 2834.0);
    QCOMPARE(view->preview().viewCenterY / 1417.0, before.viewCenterY / 2834.0);
    // The document holds the new values without asking to be saved; a label is written.
    QCOMPARE(app_->document().settings().resolutionDpi, 300.0);
    QVERIFY(!app_->mainFrame()->isWindowModified());
    QCOMPARE(dir_->labelFiles().size(), 1);
  }

  void theSettingsDialogSaysWhatItDidNotTake() {
    CLumoView* view = StartFitted();
    // The boxes are filled once the dialog has opened.
    const auto adjust = [](std::vector<std::pair<const char*, const char*>> boxes) {
      apptest::OnNextModal([boxes = std::move(boxes)](QWidget* modal) {
        for (const auto& [name, text] : boxes) modal->findChild<QLineEdit*>(name)->setText(text);
        modal->close();
      });
    };
    // 400 mm and 600 dpi pass their rules one by one but give no label that
    // can be made: none of the six is taken, and nothing is written.
    adjust({{"IDC_DIAMETER", "400"}, {"IDC_CIRCLE_CHARS", "20"}});
    QVERIFY(Activate());
    QTest::keyClick(app_->mainFrame(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(view->session().settings(), lumo::LabelSettings{});
    QCOMPARE(app_->document().settings(), lumo::LabelSettings{});
    QCOMPARE(view->findChild<CAdjustDlg*>()->values(), lumo::ToEntered({}));
    QVERIFY(dir_->labelFiles().isEmpty());
    QCOMPARE(view->labelStatus(), QStringLiteral("直径 400 mm、解像度 600 dpi のﾗﾍﾞﾙは一辺 8191 "
                                                 "ﾋﾟｸｾﾙを超えるので、設定は変えていません。"));
    // A value its rule refuses keeps the one it had; the others are taken.
    adjust({{"IDC_RING_COUNT", "80"}, {"IDC_CIRCLE_CHARS", "20"}});
    app_->mainFrame()->action(Command::LabelAdjust)->trigger();
    view->WaitForLabels();
    QCOMPARE(view->session().settings().charsPerCircle, 20);
    QCOMPARE(view->session().settings().ringCount, 45);
    QCOMPARE(view->labelStatus(),
             QStringLiteral(
                 "元のままにした値: 桁・開始行・使用桁 (桁は 1 から 79 まで、使用桁は 1 以上、"
                 "開始行 + 使用桁は桁まで)。 ") +
                 Written(QStringLiteral("lumo000.bmp")));
  }

  void fitWholeFollowsTheWindowUntilTheUserZoomsOrPans() {
    CLumoView* view = StartFitted();
    CMainFrame* frame = app_->mainFrame();
    // As large as it fits and in the middle, however the window changes.
    const auto showsWhole = [view] {
      const lumo::PreviewRect r = lumo::PreviewDestination(view->preview(), 2834, view->width());
      return std::abs(r.width - std::min(view->width(), view->height())) <= 1 &&
             std::abs(2 * r.x + r.width - view->width()) <= 2 &&
             std::abs(2 * r.y + r.height - view->height()) <= 2;
    };
    frame->action(Command::ViewFitWhole)->trigger();
    QVERIFY(showsWhole());
    frame->resize(1000, 500);
    QTRY_VERIFY(view->width() == 1000 && showsWhole());
    // Once zoomed or panned, a resize changes neither the zoom nor the centre.
    apptest::Wheel(view, {0, 120}, {100, 100});
    lumo::PreviewState kept = view->preview();
    frame->resize(700, 600);
    QTRY_COMPARE(view->width(), 700);
    QCOMPARE(view->preview(), kept);
    frame->action(Command::ViewFitWhole)->trigger();
    Mouse(QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {320, 210}, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {320, 210}, Qt::NoButton);
    kept = view->preview();
    frame->resize(800, 900);
    QTRY_COMPARE(view->width(), 800);
    QCOMPARE(view->preview(), kept);
  }

  void recentFilesAreOfferedAboveTheExitCommand() {
    QVERIFY(app_->InitInstance());
    for (int i = 0; i < 9; ++i) {
      QVERIFY(
          app_->OpenDocumentFile(dir_->settingsFile(QStringLiteral("r%1.lum").arg(i), 120, 600)));
    }
    // Eight at most, and none that is gone.
    QVERIFY(QFile::remove(dir_->filePath("r7.lum")));
    QMenu* file = app_->mainFrame()->fileMenu();
    emit file->aboutToShow();
    QStringList entries;
    for (const QAction* entry : file->actions()) entries << entry->text();
    QCOMPARE(entries.mid(entries.indexOf("出力設定(&U)...")),
             (QStringList{"出力設定(&U)...", "", "&1 r8.lum", "&2 r6.lum", "&3 r5.lum", "&4 r4.lum",
                          "&5 r3.lum", "&6 r2.lum", "&7 r1.lum", "", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
    file->actions().at(entries.indexOf("&3 r5.lum"))->trigger();
    QCOMPARE(app_->mainFrame()->windowTitle(), QStringLiteral("r5.lum - lumo"));
    QCOMPARE(CLumoApp::RecentFiles().constFirst(), dir_->filePath("r5.lum"));
  }

  void labelFilesGoWhereTheUserChoseInTheFormatChosen() {
    CLumoView* view = StartFitted();
    const QString folder = dir_->filePath(QStringLiteral("labels"));
    QVERIFY(QDir().mkdir(folder));
    apptest::OnNextModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<CLabelFilesDlg*>(modal);
      QVERIFY(dialog != nullptr);
      auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("folder"));
      QCOMPARE(box->placeholderText(), dir_->path());  // by default, the start directory
      // A folder that is not there is refused in the dialog.
      box->setText(dir_->filePath(QStringLiteral("missing")));
      dialog->accept();
      QVERIFY(dialog->isVisible());
      box->setText(folder);
      dialog->findChild<QComboBox*>()->setCurrentIndex(1);
      dialog->accept();
    });
    app_->mainFrame()->action(Command::FileLabelFiles)->trigger();
    QGuiApplication::clipboard()->setText(QStringLiteral("label"));
    view->OnEditPaste();
    view->WaitForLabels();
    QVERIFY(apptest::ReadFile(folder + "/lumo000.png").startsWith("\x89PNG"));
    QCOMPARE(view->labelStatus(),
             QStringLiteral("lumo000.png を %1 に書き出しました。").arg(folder));
    // "Preview only" writes nothing, and the next start keeps to it.
    SaveLabelFilePreference({folder, lumo::LabelFormat::Png, true});
    app_ = std::make_unique<CLumoApp>();
    view = StartFitted();
    view->OnEditPaste();
    view->WaitForLabels();
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"lumo000.png"});
    QCOMPARE(view->labelStatus(), QStringLiteral("ﾌﾟﾚﾋﾞｭｰのみで、ﾌｧｲﾙには書き出していません。"));
    QVERIFY(dir_->labelFiles().isEmpty());
  }

  // From the desktop's menu, with no folder chosen, files go to a lumo folder
  // in the pictures folder, made when the first one is written.
  void aDesktopStartWritesIntoThePicturesFolder() {
    const QByteArray home = qgetenv("HOME");
    const auto restore = qScopeGuard([home] { qputenv("HOME", home); });
    qputenv("HOME", dir_->filePath(QStringLiteral("home")).toLocal8Bit());
    QVERIFY(apptest::WriteFile(dir_->configPath() + "/user-dirs.dirs",
                               "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n"));
    QVERIFY(app_->InitInstance({}, CLumoApp::Start::FromDesktop));
    QGuiApplication::clipboard()->setText(QStringLiteral("label"));
    app_->mainFrame()->view()->OnEditPaste();
    app_->mainFrame()->view()->WaitForLabels();
    QVERIFY(QFile::exists(dir_->filePath(QStringLiteral("home/Bilder/lumo/lumo000.bmp"))));
    QVERIFY(dir_->labelFiles().isEmpty());
  }

  // The pictures folder as `xdg-user-dir PICTURES` reads user-dirs.dirs.
  void theDesktopFolderIsReadAsTheShellReadsIt() {
    const auto folder = [](const char* userDirs) {
      return QString::fromStdString(lumo::DesktopLabelFolder(userDirs, "/home/u").string());
    };
    QCOMPARE(folder("XDG_PICTURES_DIR=\"$HOME/Bilder\"\n"), QStringLiteral("/home/u/Bilder/lumo"));
    // The last line counts; comments and other folders do not. Quotes and
    // backslashes are the shell's.
    QCOMPARE(folder("XDG_PICTURES_DIR=\"/a\"\n  XDG_PICTURES_DIR=\"/srv/My \\\"Pics\\\"\"  # x\n"
                    "# XDG_PICTURES_DIR=\"/b\"\nXDG_MUSIC_DIR=\"/m\""),
             QStringLiteral("/srv/My \"Pics\"/lumo"));
    QCOMPARE(folder("XDG_PICTURES_DIR=/data/$HOME/"), QStringLiteral("/data/$HOME/lumo"));
    // None, no absolute path, or the home folder itself: a lumo folder in home.
    for (const char* none : {"", "XDG_PICTURES_DIR=\"\"", "XDG_PICTURES_DIR=\"Pictures\"",
                             "XDG_PICTURES_DIR=\"$HOMEWORK\"", "XDG_PICTURES_DIR=\"$HOME/\"",
                             "XDG_PICTURES_DIR=/home/u/."}) {
      QCOMPARE(folder(none), QStringLiteral("/home/u/lumo"));
    }
  }

  void openingAndSavingSettingsFiles() {
    QVERIFY(StartActive());
    CMainFrame* frame = app_->mainFrame();
    AnswerFileDialog(dir_->settingsFile("small.lum", 41.0, 61.0));
    QTest::keyClick(frame, Qt::Key_O, Qt::ControlModifier);
    QTRY_COMPARE(frame->windowTitle(), QStringLiteral("small.lum - lumo"));
    QCOMPARE(frame->view()->session().canvas().geometry.canvasRect.width, 98);
    // Ctrl+N, then Ctrl+S asks for a name and adds ".lum" to a bare one.
    QVERIFY(Activate());
    QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
    AnswerFileDialog(dir_->filePath(QStringLiteral("mine")));
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    const QString mine = dir_->filePath(QStringLiteral("mine.lum"));
    QTRY_COMPARE(apptest::ReadFile(mine), apptest::SettingsBytes());
    QCOMPARE(frame->windowTitle(), QStringLiteral("mine.lum - lumo"));
    // Now save writes there without asking; Save As asks again.
    app_->document().SetSettings({120.0, 600.0, 150, 45, 1, 20});
    frame->action(Command::FileSave)->trigger();
    QCOMPARE(apptest::ReadFile(mine).at(28), char(20));
    const QString other = dir_->filePath(QStringLiteral("other.lum"));
    AnswerFileDialog(other);
    frame->action(Command::FileSaveAs)->trigger();
    QTRY_COMPARE(apptest::ReadFile(other), apptest::ReadFile(mine));
    QVERIFY(app_->OpenDocumentFile(dir_->settingsFile("fourth.lum", 120.0, 600.0)));
    QCOMPARE(CLumoApp::RecentFiles(),
             (QStringList{dir_->filePath("fourth.lum"), other, mine, dir_->filePath("small.lum")}));
    // A failed save or open is reported in the program's words, and the
    // document keeps its file and its values.
    QVERIFY(QDir().mkdir(dir_->filePath(QStringLiteral("folder.lum"))));
    QString message;
    CloseMessageBox(&message);
    QVERIFY(!app_->DoSave(dir_->filePath(QStringLiteral("folder.lum"))));
    QCOMPARE(message,
             dir_->filePath(QStringLiteral("folder.lum")) +
                 QStringLiteral(" に保存できません。\nﾌｫﾙﾀﾞです。ﾌｧｲﾙを指定してください。"));
    CloseMessageBox(&message);
    QVERIFY(!app_->OpenDocumentFile(dir_->settingsFile("huge.lum", 600.0, 24000.0)));
    QVERIFY2(message.endsWith(QStringLiteral(
                 "huge.lum の直径 600 mm と解像度 24000 dpi ではﾗﾍﾞﾙを作れません。")),
             qPrintable(message));
    QCOMPARE(app_->document().GetPathName(), dir_->filePath("fourth.lum"));
    QCOMPARE(app_->document().settings(), lumo::LabelSettings{});
  }

  void startsWithAFileAndOpensFilesDroppedOnTheWindow() {
    QVERIFY(app_->InitInstance(dir_->settingsFile("first.lum", 60.0, 600.0)));
    QCOMPARE(app_->mainFrame()->windowTitle(), QStringLiteral("first.lum - lumo"));
    const QString last = dir_->settingsFile("last.lum", 120.0, 300.0);
    QVERIFY(apptest::WriteFile(dir_->filePath("bad.lum"), QByteArray("short")));
    QString message;
    CloseMessageBox(&message);
    // Dropped on the tool bar or the status bar, they reach the main window.
    QVERIFY(apptest::DragAndDrop(app_->mainFrame(), {QUrl::fromLocalFile(dir_->filePath("bad.lum")),
                                                     QUrl::fromLocalFile(last)}));
    QTRY_COMPARE(app_->mainFrame()->windowTitle(), QStringLiteral("last.lum - lumo"));
    QVERIFY(message.contains(QStringLiteral("bad.lum")));
    // Only a file of a settings file's 32 bytes opens as one, whatever its name:
    // a text file saved over as settings would be lost.
    QVERIFY(apptest::WriteFile(dir_->filePath("notes.txt"), QByteArray(2'200'000, 'x')));
    CloseMessageBox(&message);
    QVERIFY(!app_->OpenDocumentFile(dir_->filePath("notes.txt")));
    QVERIFY2(message.contains(QStringLiteral("notes.txt は設定ﾌｧｲﾙではありません。")) &&
                 message.contains(QStringLiteral("2200000 ﾊﾞｲﾄあります")),
             qPrintable(message));
    QVERIFY(app_->OpenDocumentFile(dir_->settingsFile("settings.txt", 120.0, 300.0)));
    QCOMPARE(CLumoApp::RecentFiles(),
             (QStringList{dir_->filePath("settings.txt"), last, dir_->filePath("first.lum")}));
    app_->mainFrame()->action(Command::AppExit)->trigger();  // closes without asking anything
    QVERIFY(!app_->mainFrame()->isVisible());
    // A file that cannot be opened at start-up is reported and ends it.
    app_ = std::make_unique<CLumoApp>();
    CloseMessageBox(&message);
    QVERIFY(!app_->InitInstance(dir_->filePath("bad.lum")));
    QVERIFY(message.contains(QStringLiteral("bad.lum")) && app_->mainFrame() == nullptr);
  }

  // The settings an earlier version kept are copied over once, into a new file.
  void settingsMoveToTheFreedesktopPlaceOnce() {
    const QString earlier = dir_->configPath() + "/Local AppWizard-Generated Applications";
    QVERIFY(QDir().mkpath(earlier));
    QVERIFY(apptest::WriteFile(earlier + "/lumo.conf",
                               "[Recent%20File%20List]\nFile1=/old/a.lum\n"
                               "[Print%20Calibration]\nLaser\\OffsetAcross=2.5\n"));
    const auto first = [] { return UserSettings().value("Recent File List/File1").toString(); };
    QCOMPARE(first(), QStringLiteral("/old/a.lum"));
    QVERIFY(QFile::exists(dir_->configPath() + "/lumo/lumo.conf"));
    QVERIFY(apptest::WriteFile(earlier + "/lumo.conf", "[Recent%20File%20List]\nFile1=/b.lum\n"));
    QCOMPARE(first(), QStringLiteral("/old/a.lum"));
  }

 private:
  // Keys reach their commands only in the active window.
  bool StartActive() { return app_->InitInstance() && Activate(); }
  bool Activate() {
    app_->mainFrame()->activateWindow();
    return QTest::qWaitForWindowActive(app_->mainFrame());
  }
  // Started, with a view 800 pixels wide and the label fitted to it.
  CLumoView* StartFitted() {
    if (!app_->InitInstance()) return nullptr;
    view_ = app_->mainFrame()->view();
    app_->mainFrame()->resize(800, 900);
    if (!QTest::qWaitFor([this] { return view_->width() == 800; })) return nullptr;
    view_->FitToWidth();
    view_->WaitForLabels();
    return view_;
  }

  void Mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, view_->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(view_, &event);
  }

  // What the status bar says when `name` was written to the start directory.
  QString Written(const QString& name) const {
    return QStringLiteral("%1 を %2 に書き出しました。").arg(name, dir_->path());
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

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
