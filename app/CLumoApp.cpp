// The application object and the file commands.
#include "CLumoApp.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

#include "AppIcons.h"
#include "CAboutDlg.h"
#include "CLabelFilesDlg.h"
#include "CLabelOutput.h"
#include "CLumoView.h"
#include "CMainFrame.h"
#include "ErrorText.h"
#include "LabelFace.h"
#include "SheetStore.h"
#include "UserConfig.h"
#include "UserSettings.h"

namespace {

const QString kFileFilter = QStringLiteral("Lumo ﾌｧｲﾙ (*.lum)");
constexpr int kMaxRecentFiles = 8;

QString RecentFileKey(int index) {
  return QStringLiteral("Recent File List/File%1").arg(index + 1);
}

}  // namespace

CLumoApp::CLumoApp(QObject* parent) : QObject(parent) {}

CLumoApp::~CLumoApp() = default;

bool CLumoApp::LoadQtTranslations() {
  if (!qtTranslator_.isEmpty()) return true;
  // The interface is Japanese whatever the user's locale.
  if (!qtTranslator_.load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  return QCoreApplication::installTranslator(&qtTranslator_);
}

bool CLumoApp::InitInstance(const QString& file, Start start) {
  // A terminal user expects the files where they started lumo; a desktop
  // menu's start directory is the home folder, no place for them.
  start_ = start;
  defaultFolder_ =
      start == Start::FromDesktop
          ? lumo::DesktopLabelFolder()
          : std::filesystem::path(QFile::encodeName(QDir::currentPath()).toStdString());
  // Without them Qt's own texts stay English; nothing else depends on them.
  (void)LoadQtTranslations();
  if (file.isEmpty()) {
    document_.OnNewDocument();
  } else {
    if (const lumo::Result<void> opened = document_.OnOpenDocument(file); !opened) {
      ReportError(SettingsNotOpened(opened.error()));
      return false;
    }
    AddToRecentFileList(document_.GetPathName());
  }
  frame_ = std::make_unique<CMainFrame>(document_);
  ConnectCommands();
  UseLabelFilePreference();
  frame_->SetRecentFiles(RecentFiles());
  // Shown first, so the view has its size when it fits the label.
  frame_->show();
  // Without a face every label comes out blank: say so once, and go on, as
  // the settings can still be edited and saved.
  if (const auto& face = frame_->view()->session().face(); !face) {
    ReportError(FaceMissing(face.error()));
  }
  frame_->view()->OnInitialUpdate();
  // Reading the icon theme takes a moment; it is read while the first label
  // is drawn.
  QTimer::singleShot(0, frame_.get(),
                     [] { QApplication::setWindowIcon(LoadAppIcon(AppIcon::Application)); });
  return true;
}

void CLumoApp::ConnectCommands() {
  using Command = CMainFrame::Command;
  const auto route = [this](Command command, auto receiver, auto handler) {
    QAction* action = frame_->action(command);
    connect(action, &QAction::triggered, receiver, handler);
    action->setEnabled(true);
  };
  CLumoView* view = frame_->view();
  route(Command::FileNew, this, [this] { OnFileNew(); });
  route(Command::FileOpen, this, [this] { OnFileOpen(); });
  route(Command::FileSave, this, [this] { OnFileSave(); });
  route(Command::FileSaveAs, this, [this] { OnFileSaveAs(); });
  route(Command::AppExit, frame_.get(), [this] { frame_->close(); });
  route(Command::EditPaste, view, [view] { view->OnEditPaste(); });
  route(Command::EditCopy, view, [view] { view->OnEditCopy(); });
  route(Command::ViewFit, view, [view] { view->FitToWidth(); });
  route(Command::ViewFitWhole, view, [view] { view->FitWhole(); });
  route(Command::FileLabelFiles, this, [this] { OnLabelFiles(); });
  route(Command::ViewFont, view, [view] { view->OnChooseFont(); });
  route(Command::LabelAdjust, view, [view] { view->OnLabelAdjust(); });
  route(Command::AppAbout, this, [this] { OnAppAbout(); });
  auto* output = new CLabelOutput(*view, frame_.get());
  route(Command::FileExport, output, [output] { output->OnFileExport(); });
  route(Command::FilePrint, output, [output] { output->OnFilePrint(); });
  route(Command::FilePrintCalibration, output, [output] { output->OnPrintCalibration(); });
  // The guide shows as it was left, over the sheet printed on last.
  QAction* guide = frame_->action(Command::ViewDiscGuide);
  view->SetGuideSheet(LastUsedSheet());
  guide->setChecked(DiscGuideShown());
  view->ShowDiscGuide(guide->isChecked());
  route(Command::ViewDiscGuide, view, [view](bool shown) {
    view->ShowDiscGuide(shown);
    SetDiscGuideShown(shown);
  });
  connect(frame_.get(), &CMainFrame::filesDropped, this, [this](const QStringList& paths) {
    // Each failure has been reported; the next file is tried all the same.
    for (const QString& path : paths) (void)OpenDocumentFile(path);
  });
  connect(frame_.get(), &CMainFrame::recentFileChosen, this, [this](const QString& path) {
    if (!OpenDocumentFile(path)) frame_->SetRecentFiles(RecentFiles());  // reported
  });
  // Files removed since the list was made are not offered.
  connect(frame_->fileMenu(), &QMenu::aboutToShow, this,
          [this] { frame_->SetRecentFiles(RecentFiles()); });
}

void CLumoApp::OnLabelFiles() {
  CLabelFilesDlg dialog(QFile::decodeName(defaultFolder_.c_str()), frame_.get());
  if (dialog.exec() == QDialog::Accepted) UseLabelFilePreference();
}

void CLumoApp::UseLabelFilePreference() {
  const LabelFilePreference preference = LoadLabelFilePreference();
  const bool chosen = !preference.folder.isEmpty();
  frame_->view()->SetDestination(
      {chosen ? std::filesystem::path(QFile::encodeName(preference.folder).toStdString())
              : defaultFolder_,
       preference.format, preference.previewOnly, !chosen && start_ == Start::FromDesktop});
}

void CLumoApp::OnFileNew() {
  document_.OnNewDocument();
  frame_->view()->OnInitialUpdate();
}

void CLumoApp::OnFileOpen() {
  QFileDialog dialog(frame_.get(), QStringLiteral("開く"), FileDialogDirectory(), kFileFilter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  (void)OpenDocumentFile(dialog.selectedFiles().constFirst());  // a failure has been reported
}

bool CLumoApp::OpenDocumentFile(const QString& path) {
  if (const lumo::Result<void> opened = document_.OnOpenDocument(path); !opened) {
    ReportError(SettingsNotOpened(opened.error()));
    return false;
  }
  AddToRecentFileList(document_.GetPathName());
  if (frame_) frame_->view()->OnInitialUpdate();
  return true;
}

void CLumoApp::OnFileSave() {
  if (document_.GetPathName().isEmpty()) {
    OnFileSaveAs();
    return;
  }
  (void)DoSave(document_.GetPathName());  // a failure has been reported
}

void CLumoApp::OnFileSaveAs() {
  const QString suggested =
      document_.GetPathName().isEmpty()
          ? QDir(FileDialogDirectory()).filePath(document_.GetTitle() + QStringLiteral(".lum"))
          : document_.GetPathName();
  QFileDialog dialog(frame_.get(), QStringLiteral("名前を付けて保存"), suggested, kFileFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("lum"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  (void)DoSave(dialog.selectedFiles().constFirst());  // a failure has been reported
}

bool CLumoApp::DoSave(const QString& path) {
  if (const lumo::Result<void> saved = document_.OnSaveDocument(path); !saved) {
    ReportError(SettingsNotSaved(saved.error()));
    return false;
  }
  document_.SetPathName(path);
  AddToRecentFileList(document_.GetPathName());
  return true;
}

void CLumoApp::OnAppAbout() {
  CAboutDlg about(frame_.get());
  about.exec();
}

QStringList CLumoApp::RecentFiles() {
  const QSettings settings = UserSettings();
  QStringList files;
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    const QString file = settings.value(RecentFileKey(i)).toString();
    if (!file.isEmpty() && QFileInfo::exists(file)) files << file;
  }
  return files;
}

void CLumoApp::AddToRecentFileList(const QString& path) {
  QStringList files = RecentFiles();
  files.removeAll(path);
  files.prepend(path);
  QSettings settings = UserSettings();
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    if (i < files.size()) {
      settings.setValue(RecentFileKey(i), files.at(i));
    } else {
      settings.remove(RecentFileKey(i));
    }
  }
  if (frame_) frame_->SetRecentFiles(files.mid(0, kMaxRecentFiles));
}

void CLumoApp::ReportError(const QString& message) {
  QWidget* parent = frame_ && frame_->isVisible() ? frame_.get() : nullptr;
  QMessageBox::warning(parent, QStringLiteral("lumo"), message);
}

QString CLumoApp::FileDialogDirectory() const {
  const QString path = document_.GetPathName();
  return path.isEmpty() ? QDir::currentPath() : QFileInfo(path).absolutePath();
}
