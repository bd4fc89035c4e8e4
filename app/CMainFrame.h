// The main window: menu bar, keys, tool bar and status bar around the view.
// Every command is one action shared by its menu entry, keys and button.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <cstddef>

#include "LockKeys.h"

class CLumoDoc;
class CLumoView;
class QAction;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  enum class Command : std::size_t {
    FileNew,
    FileOpen,
    FileSave,
    FileSaveAs,
    AppExit,
    EditUndo,
    EditCut,
    EditCopy,
    EditPaste,
    NextPane,
    PrevPane,
    ViewFit,
    LabelAdjust,
    AppAbout,
    FileExport,
    FilePrint,
    FilePrintCalibration,
    ViewDiscGuide,
    ViewFont,
    ViewFitWhole,
    FileLabelFiles,
    Count
  };

  explicit CMainFrame(CLumoDoc& document, QWidget* parent = nullptr);

  [[nodiscard]] CLumoView* view() const noexcept { return view_; }
  // Commands start disabled, as a command that nobody handles does nothing;
  // whoever handles one connects to its action and enables it.
  [[nodiscard]] QAction* action(Command command) const;

  // Lights CAP and NUM as `states` says; ｶﾅ and SCRL stay grey, as nothing
  // reports them.
  void ShowLockKeys(const LockKeyStates& states);

  // No tool-bar toggle: hidden, the tool bar's buttons would be unreachable.
  QMenu* createPopupMenu() override { return nullptr; }

  // The message pane's line: what became of the label last, until the next
  // word on it; a command's prompt shows over it only while it is pointed at.
  void ShowResult(const QString& message);

  // The File menu's recently used settings files, most recent first.
  void SetRecentFiles(const QStringList& paths);
  [[nodiscard]] QMenu* fileMenu() const noexcept { return fileMenu_; }

 signals:
  // Files dropped on the window outside the view, to be opened as settings.
  void filesDropped(const QStringList& paths);
  // A recent file chosen in the File menu.
  void recentFileChosen(const QString& path);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Keeps the window's size and place for the next start.
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void CreateZoomKeys();
  void OnTitleChanged(const QString& title);

  CLumoView* view_ = nullptr;
  std::array<QAction*, static_cast<std::size_t>(Command::Count)> actions_{};
  QMenu* fileMenu_ = nullptr;
  // The recent files go before it, the exit command after it.
  QAction* exitSeparator_ = nullptr;
  QList<QAction*> recentFiles_;
  QLabel* result_ = nullptr;
  QLabel* kanaIndicator_ = nullptr;
  QLabel* capsIndicator_ = nullptr;
  QLabel* numIndicator_ = nullptr;
  QLabel* scrollIndicator_ = nullptr;
};
