// Helpers for the window program's tests: a temporary current directory, the
// files written into it, drops, wheel steps, and answering modal dialogs.
#pragma once

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <functional>
#include <memory>

#include "SettingsFile.h"

namespace apptest {

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

[[nodiscard]] inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The settings file of the default settings but for these two.
[[nodiscard]] inline QByteArray SettingsBytes(double diameterMm = 120, double dpi = 600) {
  const lumo::SettingsBytes bytes = lumo::EncodeSettings({diameterMm, dpi, 150, 45, 1, 30});
  return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

// A fresh current directory for the label files, and a fresh XDG_CONFIG_HOME
// for the user's settings.
class CurrentDirectory {
 public:
  CurrentDirectory() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
    qputenv("XDG_CONFIG_HOME", settings_.path().toLocal8Bit());
  }
  ~CurrentDirectory() {
    QDir::setCurrent(previous_);
    qunsetenv("XDG_CONFIG_HOME");
  }
  [[nodiscard]] QString configPath() const { return settings_.path(); }
  [[nodiscard]] QString path() const { return dir_.path(); }
  [[nodiscard]] QString filePath(const QString& name) const { return dir_.filePath(name); }
  [[nodiscard]] QString settingsFile(const QString& name, double diameterMm, double dpi) const {
    return WriteFile(filePath(name), SettingsBytes(diameterMm, dpi)) ? filePath(name) : QString();
  }
  [[nodiscard]] QStringList labelFiles() const {
    return QDir(path()).entryList({QStringLiteral("lumo*.bmp")}, QDir::Files, QDir::Name);
  }

 private:
  QTemporaryDir dir_, settings_;
  QString previous_;
};

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

inline void Wheel(QWidget* target, QPoint angleDelta, QPointF at, Qt::ScrollPhase phase = {}) {
  QWheelEvent event(at, target->mapToGlobal(at), QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier,
                    phase, false);
  QApplication::sendEvent(target, &event);
}

// Runs `handle` on the next modal window inside its event loop. Gives up after five
// seconds and closes a window `handle` left open (a failed check): no test hangs.
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
