// The document: the label settings and their file.
#include "CLumoDoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <filesystem>
#include <span>
#include <string>

#include "FileStart.h"
#include "LabelCanvas.h"
#include "SystemErrorText.h"

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
  const QString shown = QDir::toNativeSeparators(path);
  const lumo::SettingsBytes bytes = lumo::EncodeSettings(settings_);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    error = QStringLiteral("%1 に保存できません。\n%2").arg(shown, file.errorString());
    return false;
  }
  const qint64 size = static_cast<qint64>(bytes.size());
  if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
    error = QStringLiteral("%1 に保存できません。\n%2").arg(shown, file.errorString());
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    error = QStringLiteral("%1 に保存できません。\n%2").arg(shown, file.errorString());
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
