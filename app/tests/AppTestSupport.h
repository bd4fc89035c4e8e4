// Helpers for the window program's tests: a temporary current directory, the
// files written into it, drops, wheel steps, and answering modal dialogs.
#pragma once

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <cstring>
#include <functional>
#include <memory>

namespace apptest {

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

[[nodiscard]] inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

[[nodiscard]] inline QByteArray DefaultSettingsBytes() {
  return QByteArray::fromHex(
      "0000000000005E40 0000000000C08240 96000000 2D000000 01000000 1E000000");
}

[[nodiscard]] inline QByteArray SettingsBytes(double diameterMm, double resolutionDpi) {
  QByteArray bytes = DefaultSettingsBytes();
  std::memcpy(bytes.data(), &diameterMm, sizeof diameterMm);
  std::memcpy(bytes.data() + 8, &resolutionDpi, sizeof resolutionDpi);
  return bytes;
}

// A fresh directory made the process's current directory while the object
// lives, so that the label files of a test land there.
class CurrentDirectory {
 public:
  CurrentDirectory() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
  ~CurrentDirectory() { QDir::setCurrent(previous_); }

  [[nodiscard]] QString path() const { return dir_.path(); }
  [[nodiscard]] QString filePath(const QString& name) const { return dir_.filePath(name); }
  // A settings file with the default settings but for these two.
  [[nodiscard]] QString settingsFile(const QString& name, double diameterMm,
                                     double resolutionDpi) const {
    return WriteFile(filePath(name), SettingsBytes(diameterMm, resolutionDpi)) ? filePath(name)
                                                                               : QString();
  }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// Keeps the recent-file list of the tests away from the user's own.
inline void IsolateUserSettings(const QString& directory) {
  QStandardPaths::setTestModeEnabled(true);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, directory);
}

[[nodiscard]] inline QStringList LabelFiles(const QString& directory) {
  return QDir(directory).entryList({QStringLiteral("lumo*.bmp")}, QDir::Files, QDir::Name);
}

// A drag over `target` and its drop there; true when the target took it.
inline bool DragAndDrop(QWidget* target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPoint where(target->width() / 2, target->height() / 2);
  QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(where), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

inline void Wheel(QWidget* target, QPoint angleDelta, QPointF position,
                  Qt::ScrollPhase phase = Qt::NoScrollPhase) {
  QWheelEvent event(position, target->mapToGlobal(position), QPoint(), angleDelta, Qt::NoButton,
                    Qt::NoModifier, phase, false);
  QApplication::sendEvent(target, &event);
}

// Runs `handle` on the next modal window once it shows, inside its event loop.
// Gives up after five seconds, and closes a window that `handle` left open
// (a failed check), so that no test hangs.
inline void OnNextModal(std::function<void(QWidget*)> handle) {
  auto* timer = new QTimer(qApp);
  auto ticks = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, ticks, handle = std::move(handle)] {
    QWidget* modal = QApplication::activeModalWidget();
    if ((modal == nullptr || !modal->isVisible()) && ++*ticks < 500) return;
    timer->stop();
    timer->deleteLater();
    if (modal == nullptr) return;
    handle(modal);
    if (QApplication::activeModalWidget() == modal && modal->isVisible()) modal->close();
  });
  timer->start(10);
}

}  // namespace apptest
