// The main window and its command table.
#include "CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "AppIcons.h"
#include "CLumoDoc.h"
#include "CLumoView.h"
#include "DroppedFiles.h"
#include "UserSettings.h"

namespace {

using Command = CMainFrame::Command;

struct CommandEntry {
  Command command;
  const char* objectName;
  // The text before "\n" is the status-bar prompt, the text after it the tip.
  const char* strings;
};

constexpr std::array<CommandEntry, static_cast<std::size_t>(Command::Count)> kCommands{{
    {Command::FileNew, "ID_FILE_NEW", "新規にﾌｧｲﾙを作成\n新規ﾌｧｲﾙ"},
    {Command::FileOpen, "ID_FILE_OPEN", "既存のﾌｧｲﾙを開く\n開く"},
    {Command::FileSave, "ID_FILE_SAVE", "作業中のﾌｧｲﾙを上書きして保存\n保存"},
    {Command::FileSaveAs, "ID_FILE_SAVE_AS", "現在の設定に名前をつけて保存\n名前をつけて保存"},
    {Command::AppExit, "ID_APP_EXIT", "ｱﾌﾟﾘｹｰｼｮﾝを終了します\n終了"},
    {Command::EditUndo, "ID_EDIT_UNDO", "直前に行った動作を元に戻す\n元に戻す"},
    {Command::EditCut, "ID_EDIT_CUT", "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\n切り取り"},
    {Command::EditCopy, "ID_EDIT_COPY", "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\nｺﾋﾟｰ"},
    {Command::EditPaste, "ID_EDIT_PASTE", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け\n貼り付け"},
    {Command::NextPane, "ID_NEXT_PANE", "次のｳｨﾝﾄﾞｳに切り替える\n次のﾍﾟｲﾝ"},
    {Command::PrevPane, "ID_PREV_PANE", "前のｳｨﾝﾄﾞｳに切り替える\n前のﾍﾟｲﾝ"},
    {Command::ViewFit, "ID_VIEW_FIT", "ウインドウの幅にフィット\nフィット"},
    {Command::LabelAdjust, "ID_LABEL_ADJUST", "イメージの調整\n調整"},
    {Command::AppAbout, "ID_APP_ABOUT", "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報"},
    {Command::FileExport, "ID_FILE_EXPORT", "ﾗﾍﾞﾙを PDF, SVG, PNG, BMP ﾌｧｲﾙに書き出す\nｴｸｽﾎﾟｰﾄ"},
    {Command::FilePrint, "ID_FILE_PRINT", "ﾗﾍﾞﾙを実寸で印刷\n印刷"},
    {Command::FilePrintCalibration, "ID_FILE_PRINT_CALIBRATION",
     "ﾌﾟﾘﾝﾀごとの印刷位置と倍率を調整\n印刷位置の調整"},
    {Command::ViewDiscGuide, "ID_VIEW_DISC_GUIDE",
     "最後に印刷したｼｰﾄのﾃﾞｨｽｸの縁と穴をﾌﾟﾚﾋﾞｭｰに重ねる\nﾃﾞｨｽｸの縁と穴"},
    {Command::ViewFont, "ID_VIEW_FONT", "ﾗﾍﾞﾙの文字のﾌｫﾝﾄを選ぶ\nﾌｫﾝﾄ"},
    {Command::ViewFitWhole, "ID_VIEW_FIT_WHOLE", "ﾗﾍﾞﾙ全体をｳｨﾝﾄﾞｳに収める\n全体を表示"},
    {Command::FileLabelFiles, "ID_FILE_LABEL_FILES",
     "ﾗﾍﾞﾙを書き出すﾌｫﾙﾀﾞとﾌｧｲﾙ形式を選ぶ\n出力設定"},
}};

// The keys, in the order of the window's key table.
struct KeyEntry {
  QKeyCombination key;
  Command command;
};

const std::array<KeyEntry, 13> kKeys{{
    {Qt::CTRL | Qt::Key_N, Command::FileNew},
    {Qt::CTRL | Qt::Key_O, Command::FileOpen},
    {Qt::CTRL | Qt::Key_S, Command::FileSave},
    {Qt::CTRL | Qt::Key_Z, Command::EditUndo},
    {Qt::CTRL | Qt::Key_X, Command::EditCut},
    {Qt::CTRL | Qt::Key_C, Command::EditCopy},
    {Qt::CTRL | Qt::Key_V, Command::EditPaste},
    {Qt::ALT | Qt::Key_Backspace, Command::EditUndo},
    {Qt::SHIFT | Qt::Key_Delete, Command::EditCut},
    {Qt::CTRL | Qt::Key_Insert, Command::EditCopy},
    {Qt::SHIFT | Qt::Key_Insert, Command::EditPaste},
    {QKeyCombination(Qt::Key_F6), Command::NextPane},
    {Qt::SHIFT | Qt::Key_F6, Command::PrevPane},
}};

const QString kIdleMessage = QStringLiteral("ﾚﾃﾞｨ");
const QString kGeometryKey = QStringLiteral("Window/Geometry");

// A line that shows all of its message where it fits, and otherwise as much as
// fits with "…", the whole of it in its tool tip.
class ResultLabel : public QLabel {
 public:
  explicit ResultLabel(QWidget* parent) : QLabel(parent) {
    // However long the message, it never widens the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  }

  void SetMessage(const QString& message) {
    message_ = message;
    Elide();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    Elide();
  }

 private:
  void Elide() {
    const QString shown =
        fontMetrics().elidedText(message_, Qt::ElideRight, contentsRect().width());
    setText(shown);
    setToolTip(shown == message_ ? QString() : message_);
  }

  QString message_;
};

QLabel* MakeIndicator(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 8);
  // Off until the platform says otherwise.
  label->setEnabled(false);
  return label;
}

}  // namespace

CMainFrame::CMainFrame(CLumoDoc& document, QWidget* parent) : QMainWindow(parent) {
  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();

  view_ = new CLumoView(document, this);
  view_->setObjectName(QStringLiteral("CLumoView"));
  setCentralWidget(view_);
  CreateZoomKeys();
  // What became of each label shows in the message pane, never in a box.
  connect(view_, &CLumoView::labelStatusChanged, this, &CMainFrame::ShowResult);

  // Files dropped on the tool bar or the status bar arrive here.
  setAcceptDrops(true);
  resize(450, 540);
  // Where the platform lets a window place itself (not on Wayland), the
  // place is restored too.
  restoreGeometry(UserSettings().value(kGeometryKey).toByteArray());

  connect(&document, &CLumoDoc::titleChanged, this, &CMainFrame::OnTitleChanged);
  OnTitleChanged(document.GetTitle());

  // Only X11 reports the lock keys; their lights are read at start, when the
  // window becomes active and after every key, wherever it went.
  if (const auto states = ReadLockKeys()) ShowLockKeys(*states);
  if (QGuiApplication::platformName() == QLatin1String("xcb")) qApp->installEventFilter(this);
}

QAction* CMainFrame::action(Command command) const {
  return actions_.at(static_cast<std::size_t>(command));
}

void CMainFrame::CreateActions() {
  for (const CommandEntry& entry : kCommands) {
    const QString strings = QString::fromUtf8(entry.strings);
    const QString prompt = strings.section(QLatin1Char('\n'), 0, 0);
    const QString tip = strings.section(QLatin1Char('\n'), 1);
    auto* action = new QAction(tip, this);
    action->setObjectName(QString::fromLatin1(entry.objectName));
    action->setStatusTip(prompt);
    action->setToolTip(tip);
    action->setEnabled(false);
    actions_[static_cast<std::size_t>(entry.command)] = action;
  }
  action(Command::FileOpen)->setText(QStringLiteral("設定を開く(&O)...\tCtrl+O"));
  action(Command::FileSaveAs)->setText(QStringLiteral("名前を付けて保存(&A)..."));
  action(Command::AppExit)->setText(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"));
  action(Command::EditPaste)->setText(QStringLiteral("貼り付け(&P)\tCtrl+V"));
  action(Command::AppAbout)->setText(QStringLiteral("lumo のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
  action(Command::FileExport)->setText(QStringLiteral("エクスポート(&E)..."));
  action(Command::FilePrint)->setText(QStringLiteral("印刷(&P)...\tCtrl+P"));
  action(Command::FilePrintCalibration)->setText(QStringLiteral("印刷位置の調整(&J)..."));
  action(Command::ViewDiscGuide)->setText(QStringLiteral("ﾃﾞｨｽｸの縁と穴(&G)"));
  action(Command::ViewDiscGuide)->setCheckable(true);
  action(Command::ViewFont)->setText(QStringLiteral("ﾌｫﾝﾄ(&F)..."));
  action(Command::ViewFit)->setText(QStringLiteral("ウインドウの幅にフィット(&T)"));
  action(Command::ViewFitWhole)->setText(QStringLiteral("ﾗﾍﾞﾙ全体を表示(&W)"));
  action(Command::LabelAdjust)->setText(QStringLiteral("詳細設定(&A)..."));
  action(Command::EditCopy)->setText(QStringLiteral("ｺﾋﾟｰ(&C)"));
  action(Command::FileLabelFiles)->setText(QStringLiteral("出力設定(&U)..."));
  action(Command::EditPaste)->setIcon(LoadAppIcon(AppIcon::Paste));
  action(Command::ViewFit)->setIcon(LoadAppIcon(AppIcon::Fit));
  action(Command::LabelAdjust)->setIcon(LoadAppIcon(AppIcon::Adjust));

  for (const KeyEntry& key : kKeys) {
    QAction* target = action(key.command);
    QList<QKeySequence> shortcuts = target->shortcuts();
    shortcuts << QKeySequence(key.key);
    target->setShortcuts(shortcuts);
  }
  // Later commands, with the usual keys where there are usual ones, and keys
  // nothing else takes where there are not.
  action(Command::FilePrint)->setShortcut(Qt::CTRL | Qt::Key_P);
  action(Command::AppExit)->setShortcut(Qt::CTRL | Qt::Key_Q);
  action(Command::LabelAdjust)->setShortcut(Qt::CTRL | Qt::Key_E);
  action(Command::ViewFitWhole)->setShortcut(Qt::CTRL | Qt::Key_9);
  // Keys work whether or not their command has a menu entry or a button.
  for (QAction* each : actions_) addAction(each);
}

void CMainFrame::CreateMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  fileMenu_ = file;
  file->addAction(action(Command::FileOpen));
  file->addAction(action(Command::FileSaveAs));
  file->addSeparator();
  file->addAction(action(Command::FileExport));
  file->addAction(action(Command::FilePrint));
  file->addAction(action(Command::FilePrintCalibration));
  file->addAction(action(Command::FileLabelFiles));
  file->addSeparator();
  // Without recent files the two separators show as one.
  file->setSeparatorsCollapsible(true);
  exitSeparator_ = file->addSeparator();
  file->addAction(action(Command::AppExit));
  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  edit->addAction(action(Command::EditPaste));
  edit->addAction(action(Command::EditCopy));
  QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  view->addAction(action(Command::ViewDiscGuide));
  view->addAction(action(Command::ViewFont));
  view->addSeparator();
  view->addAction(action(Command::ViewFit));
  view->addAction(action(Command::ViewFitWhole));
  view->addSeparator();
  view->addAction(action(Command::LabelAdjust));
  QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  help->addAction(action(Command::AppAbout));
}

void CMainFrame::CreateToolBar() {
  QToolBar* toolBar = addToolBar(QStringLiteral("ﾂｰﾙ ﾊﾞｰ"));
  toolBar->setObjectName(QStringLiteral("AFX_IDW_TOOLBAR"));
  // It stays at the top and always shown: fit and adjust have no other way in.
  toolBar->setMovable(false);
  toolBar->setFloatable(false);
  toolBar->setAllowedAreas(Qt::TopToolBarArea);
  toolBar->setIconSize(QSize(16, 16));
  toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  toolBar->toggleViewAction()->setVisible(false);
  toolBar->toggleViewAction()->setEnabled(false);
  toolBar->addAction(action(Command::EditPaste));
  toolBar->addSeparator();
  toolBar->addAction(action(Command::ViewFit));
  toolBar->addSeparator();
  toolBar->addAction(action(Command::LabelAdjust));
}

// Zoom keys beside the key table: the usual ones for zooming a picture.
void CMainFrame::CreateZoomKeys() {
  const auto zoomKey = [this](const QList<QKeySequence>& keys, int steps) {
    auto* zoom = new QAction(this);
    zoom->setShortcuts(keys);
    connect(zoom, &QAction::triggered, view_, [this, steps] { view_->ZoomAboutCentre(steps); });
    addAction(zoom);
  };
  // "+" takes Shift on many layouts, so the key under it counts as well.
  zoomKey({Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal}, 1);
  zoomKey({Qt::CTRL | Qt::Key_Minus}, -1);
  // Ctrl+0 is the fit command itself: it works exactly when its button does.
  QAction* fit = action(Command::ViewFit);
  fit->setShortcut(Qt::CTRL | Qt::Key_0);
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("AFX_IDW_STATUS_BAR"));
  kanaIndicator_ = MakeIndicator(QStringLiteral("ｶﾅ"), bar);
  capsIndicator_ = MakeIndicator(QStringLiteral("CAP"), bar);
  numIndicator_ = MakeIndicator(QStringLiteral("NUM"), bar);
  scrollIndicator_ = MakeIndicator(QStringLiteral("SCRL"), bar);
  for (QLabel* indicator : {kanaIndicator_, capsIndicator_, numIndicator_, scrollIndicator_}) {
    bar->addPermanentWidget(indicator);
  }
  // A command's prompt is the bar's passing message, which hides the result
  // while it lasts.
  result_ = new ResultLabel(bar);
  result_->setObjectName(QStringLiteral("labelStatus"));
  bar->addWidget(result_, 1);
  ShowResult({});
}

void CMainFrame::ShowResult(const QString& message) {
  static_cast<ResultLabel*>(result_)->SetMessage(message.isEmpty() ? kIdleMessage : message);
}

void CMainFrame::SetRecentFiles(const QStringList& paths) {
  for (QAction* entry : recentFiles_) {
    fileMenu_->removeAction(entry);
    // It may be the entry whose command is running.
    entry->deleteLater();
  }
  recentFiles_.clear();
  for (const QString& path : paths) {
    QString name = QFileInfo(path).fileName();
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* entry =
        new QAction(QStringLiteral("&%1 %2").arg(recentFiles_.size() + 1).arg(name), this);
    entry->setStatusTip(path);
    connect(entry, &QAction::triggered, this, [this, path] { emit recentFileChosen(path); });
    fileMenu_->insertAction(exitSeparator_, entry);
    recentFiles_ << entry;
  }
}

void CMainFrame::ShowLockKeys(const LockKeyStates& states) {
  capsIndicator_->setEnabled(states.capsLock);
  numIndicator_->setEnabled(states.numLock);
}

void CMainFrame::OnTitleChanged(const QString& title) {
  setWindowTitle(title + QStringLiteral(" - lumo"));
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  activateWindow();
  // Opening may show a message; the drag source should not wait for it.
  QMetaObject::invokeMethod(
      this, [this, files] { emit filesDropped(files); }, Qt::QueuedConnection);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  // A key reaches its window first, then each widget on its way up; one
  // look per key is enough.
  const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
  if (key && watched->isWindowType()) {
    // A key event's own modifiers miss the lock that key just turned, so the
    // server is asked; they serve only where it cannot be.
    const std::optional<LockKeyStates> states = ReadLockKeys();
    ShowLockKeys(states ? *states
                        : LockKeysFromModifiers(static_cast<QKeyEvent*>(event)->nativeModifiers()));
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  UserSettings().setValue(kGeometryKey, saveGeometry());
  QMainWindow::closeEvent(event);
}

void CMainFrame::changeEvent(QEvent* event) {
  // A lock may have changed while another window had the keyboard.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    if (const auto states = ReadLockKeys()) ShowLockKeys(*states);
  }
  QMainWindow::changeEvent(event);
}
