// The main window as the user meets it: start-up, menus, keys, tool bar,
// status bar, About box, and settings files opened, saved and dropped.
#include <QAction>
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
#include "TextIntake.h"

namespace {

using Command = CMainFrame::Command;

QStringList Texts(const QList<QAction*>& actions) {
  QStringList texts;
  for (const QAction* a : actions) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return texts;
}

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
  void initTestCase() { apptest::IsolateUserSettings(settingsDir_.path()); }

  void init() {
    QSettings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("lumo"))
        .clear();
    dir_ = std::make_unique<apptest::CurrentDirectory>();
    app_ = std::make_unique<CLumoApp>();
  }

  void cleanup() {
    app_.reset();
    dir_.reset();
  }

  void startsWithANewDocumentMenusToolBarAndStatusBar() {
    QVERIFY(app_->InitInstance());
    CMainFrame* frame = app_->mainFrame();
    QCOMPARE(frame->size(), QSize(450, 540));
    QCOMPARE(frame->windowTitle(), QStringLiteral("new - lumo"));
    QCOMPARE(app_->document().settings(), lumo::LabelSettings{});

    const QList<QAction*> menus = frame->menuBar()->actions();
    QCOMPARE(Texts(menus), (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "ﾍﾙﾌﾟ(&H)"}));
    QCOMPARE(Texts(menus[0]->menu()->actions()),
             (QStringList{"設定を開く(&O)...\tCtrl+O", "名前を付けて保存(&A)...", "-",
                          "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
    QCOMPARE(Texts(menus[1]->menu()->actions()), QStringList{"貼り付け(&P)\tCtrl+V"});
    QCOMPARE(Texts(menus[2]->menu()->actions()), QStringList{"lumo のﾊﾞｰｼﾞｮﾝ情報(&A)..."});

    const QList<QAction*> buttons = frame->findChild<QToolBar*>()->actions();
    QCOMPARE(buttons.size(), 5);
    QVERIFY(buttons[1]->isSeparator() && buttons[3]->isSeparator());
    QStringList tips;
    for (int i : {0, 2, 4}) {
      QVERIFY(buttons[i]->isEnabled() && !buttons[i]->icon().isNull());
      tips << buttons[i]->toolTip();
    }
    QCOMPARE(tips, (QStringList{"貼り付け", "フィット", "調整"}));

    QStatusBar* bar = frame->statusBar();
    QCOMPARE(bar->currentMessage(), QStringLiteral("ﾚﾃﾞｨ"));
    QStringList indicators;
    for (const QLabel* label : bar->findChildren<QLabel*>()) indicators << label->text();
    QCOMPARE(indicators, (QStringList{"ｶﾅ", "CAP", "NUM", "SCRL"}));
    // While a button is under the pointer its prompt shows.
    QWidget* fit = frame->findChild<QToolBar*>()->widgetForAction(buttons[2]);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), fit->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(fit, &enter);
    QCOMPARE(bar->currentMessage(), QStringLiteral("ウインドウの幅にフィット"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(fit, &leave);
    QCOMPARE(bar->currentMessage(), QStringLiteral("ﾚﾃﾞｨ"));
    // Lock keys as an X11 key event reports them.
    frame->UpdateKeyIndicators(0x2);
    QVERIFY(bar->findChildren<QLabel*>()[1]->isEnabled());
    QVERIFY(!bar->findChildren<QLabel*>()[2]->isEnabled());
    QVERIFY(apptest::LabelFiles(dir_->path()).isEmpty());
  }

  void theThirteenKeys() {
    QVERIFY(StartActive());
    CMainFrame* frame = app_->mainFrame();
    const auto keys = [frame](Command c) { return frame->action(c)->shortcuts(); };
    using K = QKeySequence;
    QCOMPARE(keys(Command::FileNew), QList<K>{K(QStringLiteral("Ctrl+N"))});
    QCOMPARE(keys(Command::FileOpen), QList<K>{K(QStringLiteral("Ctrl+O"))});
    QCOMPARE(keys(Command::FileSave), QList<K>{K(QStringLiteral("Ctrl+S"))});
    QCOMPARE(keys(Command::EditUndo), (QList<K>{K(QStringLiteral("Ctrl+Z")), K("Alt+Backspace")}));
    QCOMPARE(keys(Command::EditCut), (QList<K>{K(QStringLiteral("Ctrl+X")), K("Shift+Del")}));
    QCOMPARE(keys(Command::EditCopy), (QList<K>{K(QStringLiteral("Ctrl+C")), K("Ctrl+Ins")}));
    QCOMPARE(keys(Command::EditPaste), (QList<K>{K(QStringLiteral("Ctrl+V")), K("Shift+Ins")}));
    QCOMPARE(keys(Command::NextPane), QList<K>{K(QStringLiteral("F6"))});
    QCOMPARE(keys(Command::PrevPane), QList<K>{K(QStringLiteral("Shift+F6"))});

    // Keys nobody handles do nothing; both paste keys paste.
    CLumoView* view = frame->view();
    view->SetClipboardReader([] {
      return CLumoView::ClipboardText{CLumoView::ClipboardText::State::Text, "pasted"};
    });
    const lumo::PreviewState preview = view->preview();
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Z, Qt::ControlModifier},
                                         {Qt::Key_X, Qt::ControlModifier},
                                         {Qt::Key_C, Qt::ControlModifier},
                                         {Qt::Key_Backspace, Qt::AltModifier},
                                         {Qt::Key_Delete, Qt::ShiftModifier},
                                         {Qt::Key_Insert, Qt::ControlModifier},
                                         {Qt::Key_F6, Qt::NoModifier},
                                         {Qt::Key_F6, Qt::ShiftModifier}}) {
      QTest::keyClick(frame, key, modifiers);
    }
    QCOMPARE(view->labelText(), std::string(lumo::kStartupPrompt));
    QCOMPARE(view->preview(), preview);
    QVERIFY(apptest::LabelFiles(dir_->path()).isEmpty());
    QTest::keyClick(frame, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(view->labelText(), std::string("pasted"));
    QTest::keyClick(frame, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(apptest::LabelFiles(dir_->path()).size(), 2);
  }

  void aboutBoxAndExit() {
    QVERIFY(app_->InitInstance());
    QString title;
    QStringList texts;
    apptest::OnNextModal([&title, &texts](QWidget* modal) {
      title = modal->windowTitle();
      for (const QLabel* label : modal->findChildren<QLabel*>()) texts << label->text();
      auto* ok = modal->findChild<QPushButton*>();
      QVERIFY(ok != nullptr && ok->isDefault());
      ok->click();
    });
    app_->mainFrame()->action(Command::AppAbout)->trigger();
    QCOMPARE(title, QStringLiteral("lumoのﾊﾞｰｼﾞｮﾝ情報"));
    QVERIFY(texts.contains(QStringLiteral("lumo Version 1.0")));
    // Exit closes the window without asking anything.
    app_->mainFrame()->action(Command::AppExit)->trigger();
    QVERIFY(!app_->mainFrame()->isVisible());
  }

  void startsWithTheSettingsFileOnTheCommandLine() {
    QVERIFY(app_->InitInstance(dir_->settingsFile("start.lum", 60.0, 600.0)));
    QCOMPARE(app_->mainFrame()->windowTitle(), QStringLiteral("start.lum - lumo"));
    QCOMPARE(app_->mainFrame()->view()->canvas().canvasRect.width(), 1417);
    QCOMPARE(CLumoApp::RecentFiles(), QStringList{dir_->filePath("start.lum")});

    // One that cannot be opened is reported and start-up ends.
    CLumoApp second;
    QVERIFY(apptest::WriteFile(dir_->filePath("short.lum"), QByteArray(31, '\0')));
    QString message;
    CloseMessageBox(&message);
    QVERIFY(!second.InitInstance(dir_->filePath("short.lum")));
    QVERIFY(message.contains(QStringLiteral("short.lum")));
    QVERIFY(second.mainFrame() == nullptr);
  }

  void openingAndSavingSettingsFiles() {
    QVERIFY(StartActive());
    CMainFrame* frame = app_->mainFrame();
    AnswerFileDialog(dir_->settingsFile("small.lum", 41.0, 61.0));
    QTest::keyClick(frame, Qt::Key_O, Qt::ControlModifier);
    QTRY_COMPARE(frame->windowTitle(), QStringLiteral("small.lum - lumo"));
    QCOMPARE(frame->view()->canvas().canvasRect.width(), 98);

    // A refused file changes nothing.
    QString message;
    CloseMessageBox(&message);
    QVERIFY(!app_->OpenDocumentFile(dir_->settingsFile("huge.lum", 599.0, 23999.0)));
    QVERIFY(message.contains(QStringLiteral("huge.lum")));
    QCOMPARE(frame->windowTitle(), QStringLiteral("small.lum - lumo"));
    QCOMPARE(frame->view()->canvas().canvasRect.width(), 98);

    // Ctrl+N, then Ctrl+S asks for a name and adds ".lum" to a bare one.
    QVERIFY(Activate());
    QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
    AnswerFileDialog(dir_->filePath(QStringLiteral("mine")));
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    const QString mine = dir_->filePath(QStringLiteral("mine.lum"));
    QTRY_COMPARE(apptest::ReadFile(mine), apptest::DefaultSettingsBytes());
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

    // A failed save is reported and the document keeps its file.
    QVERIFY(QDir().mkdir(dir_->filePath(QStringLiteral("folder.lum"))));
    CloseMessageBox(&message);
    QVERIFY(!app_->DoSave(dir_->filePath(QStringLiteral("folder.lum"))));
    QVERIFY(message.contains(QStringLiteral("folder.lum")));
    QCOMPARE(app_->document().GetPathName(), dir_->filePath("fourth.lum"));
  }

  void filesDroppedOnTheWindowOpenOneAfterAnother() {
    QVERIFY(app_->InitInstance());
    const QString first = dir_->settingsFile("first.lum", 60.0, 600.0);
    const QString last = dir_->settingsFile("last.lum", 120.0, 300.0);
    QVERIFY(apptest::WriteFile(dir_->filePath("bad.lum"), QByteArray("short")));
    QString message;
    CloseMessageBox(&message);
    // A drop on the tool bar or the status bar reaches the main window.
    QVERIFY(apptest::DragAndDrop(app_->mainFrame(), {QUrl::fromLocalFile(first),
                                                     QUrl::fromLocalFile(dir_->filePath("bad.lum")),
                                                     QUrl::fromLocalFile(last)}));
    QTRY_COMPARE(app_->mainFrame()->windowTitle(), QStringLiteral("last.lum - lumo"));
    QVERIFY(message.contains(QStringLiteral("bad.lum")));
    QCOMPARE(app_->mainFrame()->view()->settings().resolutionDpi, 300.0);
    QCOMPARE(CLumoApp::RecentFiles(), (QStringList{last, first}));
    QCOMPARE(app_->mainFrame()->view()->labelText(), std::string(lumo::kStartupPrompt));
    QVERIFY(apptest::LabelFiles(dir_->path()).isEmpty());
  }

 private:
  // Keys reach their commands only in the active window.
  bool StartActive() { return app_->InitInstance() && Activate(); }
  bool Activate() {
    app_->mainFrame()->activateWindow();
    return QTest::qWaitForWindowActive(app_->mainFrame());
  }

  QTemporaryDir settingsDir_;
  std::unique_ptr<apptest::CurrentDirectory> dir_;
  std::unique_ptr<CLumoApp> app_;
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
