// The user's settings file in the freedesktop place.
#include "UserSettings.h"

#include <QFile>
#include <QFileInfo>

#include "UserConfig.h"

// The same folder lumo-render finds its label sheets in.
QString UserSettingsFolder() { return QFile::decodeName(lumo::UserConfigFolder().c_str()); }

namespace {

QString SettingsFile() { return UserSettingsFolder() + QStringLiteral("/lumo.conf"); }

// Copies the groups an earlier version kept, once: only while the new file
// does not exist yet, so nothing the user has since changed is overwritten.
void CopyEarlierSettings() {
  const QString earlier = QFileInfo(UserSettingsFolder()).path() +
                          QStringLiteral("/Local AppWizard-Generated Applications/lumo.conf");
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
