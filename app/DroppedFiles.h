// The local files a drag carries, for the view and the main window alike.
#pragma once

#include <QMimeData>
#include <QStringList>
#include <QUrl>

[[nodiscard]] inline QStringList DroppedFiles(const QMimeData* data) {
  QStringList files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}
