// The application: makes the document and the main window, and carries out
// the commands of the application and of the settings file.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTranslator>
#include <filesystem>
#include <memory>

#include "CLumoDoc.h"

class CMainFrame;

class CLumoApp : public QObject {
  Q_OBJECT
 public:
  // How the program was started: from the desktop's menu, label files go to
  // the pictures folder unless the user chose a folder.
  enum class Start { FromCommandLine, FromDesktop };

  explicit CLumoApp(QObject* parent = nullptr);
  ~CLumoApp() override;
  CLumoApp(const CLumoApp&) = delete;
  CLumoApp& operator=(const CLumoApp&) = delete;

  // Starts with a new document, or with the settings file `file` when one is
  // named, and shows the main window. False, after telling the user, when
  // the file cannot be opened: the program then ends.
  [[nodiscard]] bool InitInstance(const QString& file = {}, Start start = Start::FromCommandLine);

  void OnFileNew();
  void OnFileOpen();
  // Opens a settings file as the document; a file that cannot be opened is
  // reported and everything stays as it was.
  [[nodiscard]] bool OpenDocumentFile(const QString& path);
  void OnFileSave();
  void OnFileSaveAs();
  // Saves the document to `path`, reporting a failure.
  [[nodiscard]] bool DoSave(const QString& path);
  void OnAppAbout();
  // The dialog of where label files go, and in which format.
  void OnLabelFiles();

  [[nodiscard]] CMainFrame* mainFrame() const noexcept { return frame_.get(); }
  [[nodiscard]] CLumoDoc& document() noexcept { return document_; }
  // Most recent first, at most eight, and only files that are still there.
  [[nodiscard]] static QStringList RecentFiles();

 private:
  // Loads Qt's own Japanese texts (file dialogs, message-box buttons), so the
  // window reads in one language. False when they are not installed.
  bool LoadQtTranslations();
  void ConnectCommands();
  void AddToRecentFileList(const QString& path);
  void ReportError(const QString& message);
  [[nodiscard]] QString FileDialogDirectory() const;
  // Tells the view where label files go, as the user's preference says.
  void UseLabelFilePreference();

  QTranslator qtTranslator_;
  // Where label files go while the user chose no folder.
  std::filesystem::path defaultFolder_;
  Start start_ = Start::FromCommandLine;
  CLumoDoc document_;
  // Made after the document and gone before it: the view refers to it.
  std::unique_ptr<CMainFrame> frame_;
};
