// The window program's icons: the desktop theme's when it has one, otherwise
// the project's own pictures, compiled in.
#pragma once

#include <QIcon>

enum class AppIcon { Paste, Fit, Adjust, Application };

[[nodiscard]] QIcon LoadAppIcon(AppIcon which);
