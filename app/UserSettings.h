// Where the window keeps what it remembers between runs (recent files, the
// printers' calibration): ~/.config/lumo/lumo.conf, XDG_CONFIG_HOME honoured.
#pragma once

#include <QSettings>
#include <QString>

// The file, read and written through QSettings. The first time it is asked
// for, what an earlier version kept under "Local AppWizard-Generated
// Applications" is copied over.
[[nodiscard]] QSettings UserSettings();

// The folder the file lives in: $XDG_CONFIG_HOME/lumo, or ~/.config/lumo.
[[nodiscard]] QString UserSettingsFolder();
