// The document: the label settings and their file.
#include "CLumoDoc.h"

#include <QFile>
#include <QFileInfo>

#include "Io.h"
#include "SafeWrite.h"
#include "SettingsFile.h"

namespace {

std::filesystem::path LocalPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

CLumoDoc::CLumoDoc(QObject* parent) : QObject(parent), title_(QStringLiteral("new")) {}

void CLumoDoc::OnNewDocument() {
  settings_ = lumo::LabelSettings{};
  pathName_.clear();
  SetTitle(QStringLiteral("new"));
}

lumo::Result<void> CLumoDoc::OnOpenDocument(const QString& path) {
  lumo::Result<lumo::LabelSettings> loaded = lumo::LoadSettingsFile(LocalPath(path));
  if (!loaded) return loaded.error();
  settings_ = *loaded;
  SetPathName(path);
  return {};
}

lumo::Result<void> CLumoDoc::OnSaveDocument(const QString& path) const {
  const lumo::SettingsBytes bytes = lumo::EncodeSettings(settings_);
  return lumo::ReplaceFile(LocalPath(path), [&bytes](int fd) {
    return lumo::WriteAll(fd, std::span(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  });
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
