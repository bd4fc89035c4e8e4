// The preview view in the real main window: fit and wheel, paste, drops, new
// and opened documents, and the settings dialog's rebuild.
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "AppTestSupport.h"
#include "CAdjustDlg.h"
#include "CLumoApp.h"
#include "CLumoView.h"
#include "CMainFrame.h"
#include "FolderListing.h"
#include "TextIntake.h"

namespace {

using Clip = CLumoView::ClipboardText;
using Command = CMainFrame::Command;

QImage Preview(CLumoView* view) { return view->grab().toImage(); }

// Answers the next settings dialog: types into the named boxes, then closes it.
void AnswerAdjustDialog(QList<std::pair<const char*, QString>> entries,
                        void (*close)(CAdjustDlg*)) {
  apptest::OnNextModal([entries, close](QWidget* modal) {
    auto* dialog = qobject_cast<CAdjustDlg*>(modal);
    QVERIFY(dialog != nullptr);
    for (const auto& [name, text] : entries) {
      dialog->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
    }
    close(dialog);
  });
}

}  // namespace

class LumoViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { apptest::IsolateUserSettings(settingsDir_.path()); }

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

  void startsWithThePromptFittedAndWritesNoFile() {
    QCOMPARE(view_->labelText(), std::string(lumo::kStartupPrompt));
    QCOMPARE(view_->preview(), (lumo::PreviewState{view_->width() / 2834.0, 1417.0, 1417.0}));
    QCOMPARE(view_->currentDirectory().string(), QDir::currentPath().toStdString());
    QVERIFY(Preview(view_) != White(view_->size()));
    QVERIFY(apptest::LabelFiles(dir_->path()).isEmpty());
  }

  void fitAndWheelInAnEightHundredPixelClient() {
    FitTo800();
    QCOMPARE(view_->preview(), (lumo::PreviewState{0.2822865208186309, 1417.0, 1417.0}));
    apptest::Wheel(view_, {0, 120}, {400, 400});
    QCOMPARE(view_->preview().zoom, 0.3387438249823571);
    apptest::Wheel(view_, {0, -120}, {400, 400});
    apptest::Wheel(view_, {0, -120}, {400, 400});
    QCOMPARE(view_->preview().zoom, 0.23523876734885912);
    // Sideways tilts and a touchpad's start and end of a scroll are no steps.
    apptest::Wheel(view_, {120, 0}, {400, 400});
    apptest::Wheel(view_, {0, 0}, {400, 400}, Qt::ScrollBegin);
    apptest::Wheel(view_, {0, 0}, {400, 400}, Qt::ScrollEnd);
    QCOMPARE(view_->preview().zoom, 0.23523876734885912);

    // The canvas point under the cursor stays there, below the middle too.
    const auto under = [this] {
      const lumo::PreviewState& s = view_->preview();
      return QPointF(s.viewCenterX - 250 / s.zoom, s.viewCenterY + 300 / s.zoom);
    };
    const QPointF before = under();
    apptest::Wheel(view_, {0, 120}, {150, 700});
    QVERIFY((under() - before).manhattanLength() < 1e-9);

    app_->mainFrame()->action(Command::ViewFit)->trigger();
    QCOMPARE(view_->preview(), (lumo::PreviewState{0.2822865208186309, 1417.0, 1417.0}));
    QVERIFY(apptest::LabelFiles(dir_->path()).isEmpty());
  }

  void pasteWritesALabelUnlessTheClipboardCannotBeRead() {
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目\r\n二行目 ☃"));
    const QImage before = Preview(view_);
    app_->mainFrame()->action(Command::EditPaste)->trigger();
    // In code page 932; a character without a form there becomes "?".
    QCOMPARE(view_->labelText(), lumo::PastedText("一行目\r\n二行目 ☃"));
    QVERIFY(view_->labelText().ends_with('?'));
    QCOMPARE(apptest::LabelFiles(dir_->path()), QStringList{QStringLiteral("lumo000.bmp")});
    QVERIFY(Preview(view_) != before);

    // No text on the clipboard: the same text again, in one more file.
    view_->SetClipboardReader([] { return Clip{Clip::State::NoText, {}}; });
    app_->mainFrame()->action(Command::EditPaste)->trigger();
    QCOMPARE(view_->labelText(), lumo::PastedText("一行目\r\n二行目 ☃"));
    QCOMPARE(apptest::LabelFiles(dir_->path()).size(), 2);
    view_->SetClipboardReader([] { return Clip{Clip::State::Unavailable, {}}; });
    app_->mainFrame()->action(Command::EditPaste)->trigger();
    QCOMPARE(apptest::LabelFiles(dir_->path()).size(), 2);
  }

  void droppedTextFilesAndFoldersBecomeTheLabelText() {
    int written = 0;
    for (const QString& name : {QStringLiteral("notes.txt"), QStringLiteral("NOTES.TXT")}) {
      const QString path = dir_->filePath(name);
      QVERIFY(apptest::WriteFile(path, name.toLatin1() + "\r\nsecond"));
      // Only the first item of a drop counts.
      QVERIFY(apptest::DragAndDrop(
          view_, {QUrl::fromLocalFile(path), QUrl::fromLocalFile(dir_->filePath("x.txt"))}));
      QCOMPARE(view_->labelText(), name.toStdString() + "\r\nsecond");
      QCOMPARE(apptest::LabelFiles(dir_->path()).size(), ++written);
    }
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("photos")));
    const QString folder = dir_->filePath(QStringLiteral("photos"));
    QVERIFY(apptest::WriteFile(folder + QStringLiteral("/a.jpg"), QByteArray(10, 'a')));
    QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(folder)}));
    QVERIFY(!view_->labelText().empty());
    QCOMPARE(view_->labelText(), lumo::BuildFolderListing(folder.toStdString() + "/*"));
    // Anything else is listed as a folder too, which lists nothing.
    QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(folder + QStringLiteral("/a.jpg"))}));
    QCOMPARE(view_->labelText(), std::string());
    QCOMPARE(apptest::LabelFiles(dir_->path()).size(), written + 2);
  }

  void droppedTextFileThatCannotBeReadChangesNothing() {
    const QImage before = Preview(view_);
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("folder.txt")));
    for (const char* name : {"gone.txt", "folder.txt"}) {
      QVERIFY(apptest::DragAndDrop(view_, {QUrl::fromLocalFile(dir_->filePath(name))}));
    }
    QVERIFY(!apptest::DragAndDrop(view_, {QUrl(QStringLiteral("https://example.org/a.txt"))}));
    QCOMPARE(view_->labelText(), std::string(lumo::kStartupPrompt));
    QVERIFY(apptest::LabelFiles(dir_->path()).isEmpty());
    QCOMPARE(Preview(view_), before);
  }

  void newAndOpenedDocumentsKeepTheTextAndRebuildTheCanvas() {
    view_->SetClipboardReader([] { return Clip{Clip::State::Text, QStringLiteral("kept")}; });
    app_->mainFrame()->action(Command::EditPaste)->trigger();
    FitTo800();
    apptest::Wheel(view_, {0, 120}, {100, 100});
    QVERIFY(app_->OpenDocumentFile(dir_->settingsFile("half.lum", 120.0, 300.0)));
    QCOMPARE(view_->labelText(), std::string("kept"));
    QCOMPARE(view_->canvas().canvasRect.width(), 1417);
    QCOMPARE(view_->preview(), (lumo::PreviewState{800.0 / 1417.0, 708.5, 708.5}));
    app_->mainFrame()->action(Command::FileNew)->trigger();
    QCOMPARE(view_->labelText(), std::string("kept"));
    QCOMPARE(view_->settings(), lumo::LabelSettings{});
    QCOMPARE(view_->preview().zoom, 0.2822865208186309);
    QCOMPARE(apptest::LabelFiles(dir_->path()).size(), 1);  // the paste's only

    // An empty canvas keeps a usable zoom, paints white and writes no file.
    QVERIFY(app_->OpenDocumentFile(dir_->settingsFile("zero.lum", 0.0, 600.0)));
    QCOMPARE(view_->preview(), (lumo::PreviewState{0.2822865208186309, 0.0, 0.0}));
    QCOMPARE(Preview(view_), White(view_->size()));
    view_->OnEditPaste();
    QCOMPARE(apptest::LabelFiles(dir_->path()).size(), 1);
  }

  void adjustingHalvesTheCanvasAndKeepsThePreviewInPlace() {
    FitTo800();
    apptest::Wheel(view_, {0, 120}, {200, 650});
    const lumo::PreviewState before = view_->preview();
    AnswerAdjustDialog({{"IDC_RESOLUTION", QStringLiteral("300")}},
                       [](CAdjustDlg* dialog) { dialog->accept(); });
    app_->mainFrame()->action(Command::LabelAdjust)->trigger();
    QCOMPARE(view_->canvas().canvasRect.width(), 1417);
    QVERIFY(std::abs(view_->preview().zoom - 2.0 * before.zoom) < 1e-12);
    QCOMPARE(view_->preview().viewCenterX / 1417.0, before.viewCenterX / 2834.0);
    QCOMPARE(view_->preview().viewCenterY / 1417.0, before.viewCenterY / 2834.0);
    // The document holds the new values without asking to be saved.
    QCOMPARE(app_->document().settings().resolutionDpi, 300.0);
    QVERIFY(!app_->mainFrame()->isWindowModified());
    QCOMPARE(apptest::LabelFiles(dir_->path()).size(), 1);

    // From a fit, the zoom doubles exactly.
    app_->mainFrame()->action(Command::FileNew)->trigger();
    AnswerAdjustDialog({{"IDC_RESOLUTION", QStringLiteral("300")}},
                       [](CAdjustDlg* dialog) { dialog->accept(); });
    app_->mainFrame()->action(Command::LabelAdjust)->trigger();
    QCOMPARE(view_->preview(), (lumo::PreviewState{0.2822865208186309 * 2.0, 708.5, 708.5}));
  }

  void closingTheDialogAppliesWhatPassedAndRenders() {
    FitTo800();
    const lumo::PreviewState before = view_->preview();
    AnswerAdjustDialog({}, [](CAdjustDlg* dialog) { dialog->close(); });
    app_->mainFrame()->action(Command::LabelAdjust)->trigger();
    QCOMPARE(view_->preview(), before);
    QCOMPARE(apptest::LabelFiles(dir_->path()).size(), 1);

    AnswerAdjustDialog(
        {{"IDC_DIAMETER", QStringLiteral("700")}, {"IDC_USED_RINGS", QStringLiteral("20")}},
        [](CAdjustDlg* dialog) { dialog->reject(); });
    app_->mainFrame()->action(Command::LabelAdjust)->trigger();
    QCOMPARE(view_->settings(), (lumo::LabelSettings{120.0, 600.0, 150, 45, 1, 20}));
    QCOMPARE(view_->canvas().textCapacity, 6000);
    QCOMPARE(app_->document().settings(), view_->settings());
    QCOMPARE(apptest::LabelFiles(dir_->path()).size(), 2);

    // After an empty canvas there is nothing to keep: the new one is fitted.
    QVERIFY(app_->OpenDocumentFile(dir_->settingsFile("zero.lum", 0.0, 600.0)));
    AnswerAdjustDialog({{"IDC_DIAMETER", QStringLiteral("60")}},
                       [](CAdjustDlg* dialog) { dialog->accept(); });
    app_->mainFrame()->action(Command::LabelAdjust)->trigger();
    QCOMPARE(view_->preview(), (lumo::PreviewState{800.0 / 1417.0, 708.5, 708.5}));
  }

 private:
  void FitTo800() {
    app_->mainFrame()->resize(800, 900);
    QTRY_COMPARE(view_->width(), 800);
    view_->FitToWidth();
  }

  static QImage White(QSize size) {
    QImage white(size, QImage::Format_RGB32);
    white.fill(Qt::white);
    return white;
  }

  QTemporaryDir settingsDir_;
  std::unique_ptr<apptest::CurrentDirectory> dir_;
  std::unique_ptr<CLumoApp> app_;
  CLumoView* view_ = nullptr;
};

QTEST_MAIN(LumoViewTest)
#include "LumoViewTest.moc"
