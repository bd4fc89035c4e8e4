// The document: the label settings and their file.
#include "CLumoDoc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <filesystem>
#include <span>
#include <string>

#include "FileDescriptor.h"
#include "FileStart.h"
#include "LabelCanvas.h"
#include "SystemErrorText.h"

namespace {

int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return 0;
}

// Replaces the file at `requested` with `bytes` through a new file beside it
// that is renamed over it only when complete, so a failure leaves the old
// file whole and nothing else behind. 0, or the errno of the failure.
int ReplaceFile(const std::filesystem::path& requested, std::span<const std::uint8_t> bytes) {
  // A link is saved through: it stays a link, and the file it names changes.
  std::error_code ignored;
  std::filesystem::path path = requested;
  if (std::filesystem::is_symlink(requested, ignored)) {
    std::filesystem::path target = std::filesystem::canonical(requested, ignored);
    if (!target.empty()) path = std::move(target);
  }
  struct stat replaced {};
  const bool replacing = ::stat(path.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode);

  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temporary = path;
    temporary += QStringLiteral(".%1")
                     .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                     .toStdString();
    // 0666 less the umask, as for any new file; O_EXCL never reuses a name.
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0 && errno != EEXIST && errno != EINTR) return errno;
  }
  if (fd < 0) return EEXIST;
  lumo::FileDescriptor file(fd);
  // A replaced file keeps who may read and write it.
  if (replacing) (void)::fchmod(file.get(), replaced.st_mode & 07777);
  int error = WriteAll(file.get(), bytes);
  // On disk before it takes the old file's place, so a crash leaves one whole file.
  if (error == 0 && ::fsync(file.get()) != 0) error = errno;
  const int closeError = file.Close();
  if (error == 0) error = closeError;
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) ::unlink(temporary.c_str());
  return error;
}

}  // namespace

CLumoDoc::CLumoDoc(QObject* parent) : QObject(parent), title_(QStringLiteral("new")) {}

void CLumoDoc::OnNewDocument() {
  settings_ = lumo::LabelSettings{};
  pathName_.clear();
  SetTitle(QStringLiteral("new"));
}

bool CLumoDoc::OnOpenDocument(const QString& path, QString& error) {
  const QString shown = QDir::toNativeSeparators(path);
  // Whatever follows the 32nd byte is not part of the settings.
  const lumo::FileStart start = lumo::ReadFileStart(
      std::filesystem::path(QFile::encodeName(path).toStdString()), lumo::kSettingsFileSize);
  if (start.error != 0) {
    // Nothing read means the file did not open (a folder counts as such).
    const QString failure = start.bytes.empty() ? QStringLiteral("設定ﾌｧｲﾙ %1 を開けません。\n%2")
                                                : QStringLiteral("設定ﾌｧｲﾙ %1 を読めません。\n%2");
    error = failure.arg(shown, JapaneseSystemError(start.error));
    return false;
  }
  const std::string& bytes = start.bytes;
  if (bytes.size() < lumo::kSettingsFileSize) {
    error = QStringLiteral(
                "%1 は設定ﾌｧｲﾙではありません。\n設定ﾌｧｲﾙは %2 ﾊﾞｲﾄですが、"
                "このﾌｧｲﾙは %3 ﾊﾞｲﾄしかありません。")
                .arg(shown)
                .arg(lumo::kSettingsFileSize)
                .arg(bytes.size());
    return false;
  }
  // 32 bytes were read, so they decode.
  const auto decoded = lumo::DecodeSettings(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  // Other values are taken as they are; these two would leave nothing to draw on.
  if (!lumo::CanvasWithinLimit(*decoded)) {
    error = QStringLiteral("%1 の直径 %2 mm と解像度 %3 dpi ではﾗﾍﾞﾙを作れません。")
                .arg(shown)
                .arg(decoded->diameterMm, 0, 'g', 17)
                .arg(decoded->resolutionDpi, 0, 'g', 17);
    return false;
  }
  settings_ = *decoded;
  SetPathName(path);
  return true;
}

bool CLumoDoc::OnSaveDocument(const QString& path, QString& error) const {
  const lumo::SettingsBytes bytes = lumo::EncodeSettings(settings_);
  const int failure =
      ReplaceFile(std::filesystem::path(QFile::encodeName(path).toStdString()), bytes);
  if (failure != 0) {
    error = QStringLiteral("%1 に保存できません。\n%2")
                .arg(QDir::toNativeSeparators(path), JapaneseSystemError(failure));
    return false;
  }
  return true;
}

void CLumoDoc::SetTitle(const QString& title) {
  if (title == title_) return;
  title_ = title;
  emit titleChanged(title_);
}

void CLumoDoc::SetPathName(const QString& path) {
  const QFileInfo info(path);
  pathName_ = info.absoluteFilePath();
  SetTitle(info.fileName());
}
