// The document: the label settings and their file.
#include "CLumoDoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "Printable.h"
#include "ReplaceFile.h"
#include "SettingsFile.h"
#include "SystemErrorText.h"

namespace {

// A file's name as messages show it: control bytes escaped, so that a name
// holding a line break or an escape sequence shows as what it is.
QString ShownName(const QString& path) {
  return QString::fromLocal8Bit(lumo::Printable(QFile::encodeName(path).toStdString()));
}

}  // namespace

CLumoDoc::CLumoDoc(QObject* parent) : QObject(parent), title_(QStringLiteral("new")) {}

void CLumoDoc::OnNewDocument() {
  settings_ = lumo::LabelSettings{};
  pathName_.clear();
  SetTitle(QStringLiteral("new"));
}

bool CLumoDoc::OnOpenDocument(const QString& path, QString& error) {
  using Reason = lumo::SettingsFileError::Reason;
  const QString shown = ShownName(path);
  const auto loaded = lumo::LoadSettingsFile(QFile::encodeName(path).toStdString());
  if (!loaded) {
    const lumo::SettingsFileError& why = loaded.error();
    switch (why.reason) {
      case Reason::Unreadable:
        error = QStringLiteral("設定ﾌｧｲﾙ %1 を開けません。\n%2")
                    .arg(shown, JapaneseSystemError(why.errnum));
        break;
      case Reason::TooShort:
        error = QStringLiteral(
                    "%1 は設定ﾌｧｲﾙではありません。\n設定ﾌｧｲﾙは %2 ﾊﾞｲﾄですが、"
                    "このﾌｧｲﾙは %3 ﾊﾞｲﾄしかありません。")
                    .arg(shown)
                    .arg(lumo::kSettingsFileSize)
                    .arg(why.size);
        break;
      case Reason::NoCanvas:
        error = QStringLiteral("%1 の直径 %2 mm と解像度 %3 dpi ではﾗﾍﾞﾙを作れません。")
                    .arg(shown)
                    .arg(why.settings.diameterMm, 0, 'g', 17)
                    .arg(why.settings.resolutionDpi, 0, 'g', 17);
        break;
    }
    return false;
  }
  settings_ = *loaded;
  SetPathName(path);
  return true;
}

bool CLumoDoc::OnSaveDocument(const QString& path, QString& error) const {
  const lumo::SettingsBytes bytes = lumo::EncodeSettings(settings_);
  const int failure =
      lumo::ReplaceFile(std::filesystem::path(QFile::encodeName(path).toStdString()), bytes);
  if (failure != 0) {
    error = QStringLiteral("%1 に保存できません。\n%2")
                .arg(ShownName(path), JapaneseSystemError(failure));
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
