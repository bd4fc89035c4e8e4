// The document: the six label settings, their defaults, and the 32-byte
// settings file they are opened from and saved to.
#pragma once

#include <QObject>
#include <QString>

#include "LabelSettings.h"
#include "Result.h"

class CLumoDoc : public QObject {
  Q_OBJECT
 public:
  explicit CLumoDoc(QObject* parent = nullptr);

  // A new document: the default settings, the title "new" and no file.
  void OnNewDocument();

  // Reads the settings from `path`. A file that cannot be read, that is
  // shorter than 32 bytes, or whose diameter and resolution give no canvas
  // that can be made is refused: the document keeps everything it had.
  [[nodiscard]] lumo::Result<void> OnOpenDocument(const QString& path);

  // Writes the settings to `path` through a temporary file that replaces it
  // only when complete, so a failed save leaves no partial file behind. A
  // replaced file keeps its permissions; a link is saved through.
  [[nodiscard]] lumo::Result<void> OnSaveDocument(const QString& path) const;

  [[nodiscard]] const lumo::LabelSettings& settings() const noexcept { return settings_; }
  // Settings changed in the settings dialog. They never mark the document
  // modified: settings reach a file only when the user saves them.
  void SetSettings(const lumo::LabelSettings& settings) { settings_ = settings; }

  [[nodiscard]] QString GetTitle() const { return title_; }
  void SetTitle(const QString& title);
  [[nodiscard]] QString GetPathName() const { return pathName_; }
  // The document's file; the title becomes the file's name.
  void SetPathName(const QString& path);

 signals:
  void titleChanged(const QString& title);

 private:
  lumo::LabelSettings settings_;
  QString title_;
  QString pathName_;
};
