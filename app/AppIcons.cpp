// The window program's icons: the desktop theme's where it has one, otherwise
// the project's own pictures, compiled into the program.
#include "AppIcons.h"

#include <QString>

// Resources in a static library are registered only when something names them.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace {

struct IconSource {
  const char* themeName;
  const char* resource;
};

IconSource SourceOf(AppIcon which) {
  switch (which) {
    case AppIcon::Paste:
      return {"edit-paste", ":/icons/edit-paste.png"};
    case AppIcon::Fit:
      return {"zoom-fit-best", ":/icons/zoom-fit.png"};
    case AppIcon::Adjust:
      return {"document-properties", ":/icons/adjust.png"};
    case AppIcon::Application:
      return {"lumo", ":/icons/lumo.png"};
  }
  return {"", ""};
}

QIcon ResourceIcon(AppIcon which, const QString& resource) {
  QIcon icon(resource);
  if (which == AppIcon::Application) {
    // Small sizes drawn for their size look sharper than the large one scaled.
    for (const int side : {16, 24, 32, 48, 64, 128}) {
      icon.addFile(QStringLiteral(":/icons/lumo-%1.png").arg(side), QSize(side, side));
    }
  }
  return icon;
}

}  // namespace

QIcon LoadAppIcon(AppIcon which) {
  static const bool registered = (InitIconResources(), true);
  (void)registered;
  const IconSource source = SourceOf(which);
  return QIcon::fromTheme(QString::fromLatin1(source.themeName),
                          ResourceIcon(which, QString::fromLatin1(source.resource)));
}
