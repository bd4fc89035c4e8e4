// The user's settings file in the freedesktop place.
#include "UserSettings.h"

#include <QDir>
#include <QFileInfo>

namespace {

// $XDG_CONFIG_HOME when it names an absolute folder, as the freedesktop
// base-directory rules say; ~/.config otherwise.
QString ConfigHome() {
  const QString given = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!given.isEmpty() && QDir::isAbsolutePath(given)) return given;
  return QDir::homePath() + QStringLiteral("/.config");
}

}  // namespace

QString UserSettingsFolder() { return ConfigHome() + QStringLiteral("/lumo"); }

namespace {

QString SettingsFile() { return UserSettingsFolder() + QStringLiteral("/lumo.conf"); }

// Copies the groups an earlier version kept, once: only while the new file
// does not exist yet, so nothing the user has since changed is overwritten.
void CopyEarlierSettings() {
  const QString earlier =
      ConfigHome() + QStringLiteral("/Local AppWizard-Generated Applications/lumo.conf");
  if (QFileInfo::exists(SettingsFile()) || !QFileInfo::exists(earlier)) return;
  QSettings old(earlier, QSettings::IniFormat);
  QSettings settings(SettingsFile(), QSettings::IniFormat);
  for (const QString& group :
       {QStringLiteral("Print Calibration"), QStringLiteral("Recent File List")}) {
    old.beginGroup(group);
    for (const QString& key : old.allKeys()) settings.setValue(group + u'/' + key, old.value(key));
    old.endGroup();
  }
  settings.sync();
}

}  // namespace

QSettings UserSettings() {
  CopyEarlierSettings();
  return QSettings(SettingsFile(), QSettings::IniFormat);
}
