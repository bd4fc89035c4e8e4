// The main window as the user meets it: start-up, menus, keys, tool bar,
// status bar and its lock-key lights, and settings files opened, saved and
// dropped.
#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "AppTestSupport.h"
#include "CLumoApp.h"
#include "CLumoView.h"
#include "CMainFrame.h"
#include "LockKeys.h"

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

  void startsAsANewDocumentWithAFixedToolBarMenusAndKeysInJapanese() {
    QVERIFY(StartActive());
    CMainFrame* frame = app_->mainFrame();
    QCOMPARE(frame->size(), QSize(450, 540));
    QCOMPARE(frame->windowTitle(), QStringLiteral("new - lumo"));
    QStatusBar* bar = frame->statusBar();
    QCOMPARE(bar->currentMessage(), QStringLiteral("ﾚﾃﾞｨ"));
    bar->showMessage(QStringLiteral("prompt"));
    bar->clearMessage();  // as when the pointer leaves a button
    QCOMPARE(bar->currentMessage(), QStringLiteral("ﾚﾃﾞｨ"));
    QStringList indicators;
    for (const QLabel* label : bar->findChildren<QLabel*>()) indicators << label->text();
    QCOMPARE(indicators, (QStringList{"ｶﾅ", "CAP", "NUM", "SCRL"}));
    // Nothing reports the lock keys here, so all four panes start grey.
    const auto lit = [bar] {
      QList<bool> enabled;
      for (const QLabel* label : bar->findChildren<QLabel*>()) enabled << label->isEnabled();
      return enabled;
    };
    QCOMPARE(lit(), (QList<bool>{false, false, false, false}));
    frame->ShowLockKeys({true, false});
    QCOMPARE(lit(), (QList<bool>{false, true, false, false}));
    frame->ShowLockKeys({false, true});
    QCOMPARE(lit(), (QList<bool>{false, false, true, false}));
    // Qt's own texts are Japanese too.
    QDialogButtonBox buttonBox(QDialogButtonBox::Cancel);
    QCOMPARE(buttonBox.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QToolBar* toolBar = frame->findChild<QToolBar*>();
    QStringList tips;
    for (const QAction* button : toolBar->actions()) {
      QVERIFY2(button->isSeparator() || (button->isEnabled() && !button->icon().isNull()),
               qPrintable(button->toolTip()));
      tips << (button->isSeparator() ? "-" : button->toolTip() + "/" + button->statusTip());
    }
    QCOMPARE(tips, (QStringList{"貼り付け/ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け", "-",
                                "フィット/ウインドウの幅にフィット", "-", "調整/イメージの調整"}));
    // Nothing offers to hide, move or float the tool bar.
    QVERIFY(frame->createPopupMenu() == nullptr && !toolBar->toggleViewAction()->isEnabled() &&
            !toolBar->isMovable() && !toolBar->isFloatable());
    // Menus and keys reach their commands.
    QStringList menus;
    for (const QAction* menu : frame->menuBar()->actions()) {
      menus << menu->text() + ":";
      for (const QAction* a : menu->menu()->actions())
        menus << (a->isSeparator() ? "-" : a->text());
    }
    QCOMPARE(menus.join(' '),
             QStringLiteral("ﾌｧｲﾙ(&F): 設定を開く(&O)...\tCtrl+O 名前を付けて保存(&A)... - "
                            "エクスポート(&E)... 印刷(&P)...\tCtrl+P 印刷位置の調整(&J)... - "
                            "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X) 編集(&E): 貼り付け(&P)\tCtrl+V "
                            "ﾍﾙﾌﾟ(&H): lumo のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    QStringList keys;
    for (int c = 0; c < static_cast<int>(Command::Count); ++c)
      keys << QKeySequence::listToString(frame->action(Command(c))->shortcuts());
    keys.removeAll(QString());
    QCOMPARE(keys.join(" | "),
             QStringLiteral("Ctrl+N | Ctrl+O | Ctrl+S | Ctrl+Z; Alt+Backspace | "
                            "Ctrl+X; Shift+Del | Ctrl+C; Ctrl+Ins | "
                            "Ctrl+V; Shift+Ins | F6 | Shift+F6 | Ctrl+0 | Ctrl+P"));
    frame->view()->SetClipboardReader([] {
      return CLumoView::ClipboardText{CLumoView::ClipboardText::State::Text, "pasted"};
    });
    QTest::keyClick(frame, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(frame->view()->labelText(), std::string("pasted"));
  }

  void lockKeyLightsFollowTheKeys() {
    // An indicator is found by its index; none (-1) or one beyond 32 bits is off.
    QVERIFY((LockKeysFromIndicators(0b101, 0, 2) == LockKeyStates{true, true}));
    QVERIFY((LockKeysFromIndicators(0b001, 1, 0) == LockKeyStates{false, true}));
    QVERIFY((LockKeysFromIndicators(0x80000000u, 31, 0) == LockKeyStates{true, false}));
    QVERIFY((LockKeysFromIndicators(0xFFFFFFFFu, -1, 32) == LockKeyStates{false, false}));
    // Modifier bits: Lock is the second, Num Lock the fifth (Control, the third, is no lock).
    QVERIFY((LockKeysFromModifiers(0b110) == LockKeyStates{true, false}));
    QVERIFY((LockKeysFromModifiers(0b10000) == LockKeyStates{false, true}));
  }

  void openingAndSavingSettingsFiles() {
    QVERIFY(StartActive());
    CMainFrame* frame = app_->mainFrame();
    AnswerFileDialog(dir_->settingsFile("small.lum", 41.0, 61.0));
    QTest::keyClick(frame, Qt::Key_O, Qt::ControlModifier);
    QTRY_COMPARE(frame->windowTitle(), QStringLiteral("small.lum - lumo"));
    QCOMPARE(frame->view()->canvas().geometry.canvasRect.width(), 98);
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
    // A failed save is reported, and the document keeps its file.
    QVERIFY(QDir().mkdir(dir_->filePath(QStringLiteral("folder.lum"))));
    QString message;
    CloseMessageBox(&message);
    QVERIFY(!app_->DoSave(dir_->filePath(QStringLiteral("folder.lum"))));
    QVERIFY(message.contains(QStringLiteral("folder.lum")));
    QCOMPARE(app_->document().GetPathName(), dir_->filePath("fourth.lum"));
  }

  void startsWithAFileAndOpensFilesDroppedOnTheWindow() {
    QVERIFY(app_->InitInstance(dir_->settingsFile("first.lum", 60.0, 600.0)));
    QCOMPARE(app_->mainFrame()->windowTitle(), QStringLiteral("first.lum - lumo"));
    QCOMPARE(app_->mainFrame()->view()->canvas().geometry.canvasRect.width(), 1417);
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
