// The main window as the user meets it: start-up, the tool bar, status bar
// and keys, Qt's texts in Japanese, and settings files opened, saved and
// dropped, with what a refused one says.
#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "AppTestSupport.h"
#include "CLumoApp.h"
#include "CLumoView.h"
#include "CMainFrame.h"

namespace {

using Command = CMainFrame::Command;

// Answers the next file dialog with `path`, typed into its name box.
void AnswerFileDialog(const QString& path) {
  apptest::OnNextModal([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Lumo ﾌｧｲﾙ (*.lum)")});
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
    bar->showMessage(QStringLiteral("prompt"));
    bar->clearMessage();  // as when the pointer leaves a button
    QCOMPARE(bar->currentMessage(), QStringLiteral("ﾚﾃﾞｨ"));
    // CAP and NUM light as the keys are; ｶﾅ and SCRL stay grey.
    frame->ShowLockKeys({true, false});
    QStringList lit;
    for (const QLabel* label : bar->findChildren<QLabel*>())
      if (label->isEnabled()) lit << label->text();
    QCOMPARE(lit, QStringList{"CAP"});
    // Qt's own texts are Japanese too.
    QDialogButtonBox buttonBox(QDialogButtonBox::Cancel);
    QCOMPARE(buttonBox.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    // Nothing offers to hide, move or float the tool bar.
    auto* toolBar = frame->findChild<QToolBar*>();
    QVERIFY(frame->createPopupMenu() == nullptr && !toolBar->toggleViewAction()->isEnabled() &&
            !toolBar->isMovable() && !toolBar->isFloatable());
    frame->view()->SetClipboardReader([] {
      return CLumoView::ClipboardText{CLumoView::ClipboardText::State::Text, "pasted"};
    });
    QTest::keyClick(frame, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(frame->view()->session().labelText(), std::string("pasted"));
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
    QCOMPARE(CLumoApp::RecentFiles(), (QStringList{dir_->filePath("fourth.lum"), other, mine}));
    // A failed save or open is reported in the program's words, and the
    // document keeps its file and its values.
    QVERIFY(QDir().mkdir(dir_->filePath(QStringLiteral("folder.lum"))));
    QString message;
    CloseMessageBox(&message);
    QVERIFY(!app_->DoSave(dir_->filePath(QStringLiteral("folder.lum"))));
    QCOMPARE(message,
             QStringLiteral("folder.lum に保存できません。\nﾌｫﾙﾀﾞです。ﾌｧｲﾙを指定してください。")
                 .prepend(dir_->path() + u'/'));
    CloseMessageBox(&message);
    QVERIFY(!app_->OpenDocumentFile(dir_->settingsFile("huge.lum", 600.0, 24000.0)));
    QVERIFY2(message.endsWith(QStringLiteral("huge.lum の直径 600 mm と解像度 24000 dpi では"
                                             "ﾗﾍﾞﾙを作れません。")),
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
    QCOMPARE(CLumoApp::RecentFiles(), (QStringList{last, dir_->filePath("first.lum")}));
    app_->mainFrame()->action(Command::AppExit)->trigger();  // closes without asking anything
    QVERIFY(!app_->mainFrame()->isVisible());
  }

  void aFileThatCannotBeOpenedAtStartUpIsReportedAndEndsIt() {
    QVERIFY(apptest::WriteFile(dir_->filePath("bad.lum"), QByteArray("short")));
    QString message;
    CloseMessageBox(&message);
    QVERIFY(!app_->InitInstance(dir_->filePath("bad.lum")));
    QVERIFY(message.contains(QStringLiteral("bad.lum")));
    QVERIFY(app_->mainFrame() == nullptr);
  }

  // The settings an earlier version kept are copied over once, into a new file.
  void settingsMoveToTheFreedesktopPlaceOnce() {
    const QString earlier = dir_->configPath() + "/Local AppWizard-Generated Applications";
    QVERIFY(QDir().mkpath(earlier));
    QVERIFY(apptest::WriteFile(earlier + "/lumo.conf",
                               "[Recent%20File%20List]\nFile1=/old/a.lum\n"
                               "[Print%20Calibration]\nLaser\\OffsetAcross=2.5\n"));
    QCOMPARE(CLumoApp::RecentFiles(), QStringList{"/old/a.lum"});
    QVERIFY(QFile::exists(dir_->configPath() + "/lumo/lumo.conf"));
    QVERIFY(apptest::WriteFile(earlier + "/lumo.conf", "[Recent%20File%20List]\nFile1=/b.lum\n"));
    QCOMPARE(CLumoApp::RecentFiles(), QStringList{"/old/a.lum"});
  }

 private:
  // Keys reach their commands only in the active window.
  bool StartActive() { return app_->InitInstance() && Activate(); }
  bool Activate() {
    app_->mainFrame()->activateWindow();
    return QTest::qWaitForWindowActive(app_->mainFrame());
  }

  std::unique_ptr<apptest::CurrentDirectory> dir_;
  std::unique_ptr<CLumoApp> app_;
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
