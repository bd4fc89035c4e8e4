// The About box. Its controls sit where its dialog units put them for its
// font, the way the settings dialog lays out its own.
#include "CAboutDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <algorithm>

#include "AppIcons.h"
#include "DialogLayout.h"
#include "Version.h"

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("lumoのﾊﾞｰｼﾞｮﾝ情報"));
  setFont(DialogFont());
  setFixedSize(DialogUnitsRect(font(), 0, 0, 235, 55).size());

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("icon"));
  const QRect iconRect = DialogUnitsRect(font(), 11, 17, 20, 20);
  icon->setGeometry(iconRect);
  icon->setPixmap(LoadAppIcon(AppIcon::Application).pixmap(32, 32));
  icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* version = new QLabel(
      QStringLiteral("lumo Version %1.%2").arg(LUMO_VERSION_MAJOR).arg(LUMO_VERSION_MINOR), this);
  version->setObjectName(QStringLiteral("version"));
  version->setTextFormat(Qt::PlainText);
  version->setGeometry(DialogUnitsRect(font(), 40, 10, 119, 8));

  auto* copyright = new QLabel(QStringLiteral("Copyright (C) 2026 lumo"), this);
  copyright->setObjectName(QStringLiteral("copyright"));
  copyright->setTextFormat(Qt::PlainText);
  QRect copyrightRect = DialogUnitsRect(font(), 40, 25, 69, 8);
  // The line is as wide as its text needs, whatever the font.
  copyrightRect.setWidth(std::max(copyrightRect.width(),
                                  copyright->fontMetrics().horizontalAdvance(copyright->text())));
  copyright->setGeometry(copyrightRect);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("IDOK"));
  ok->setGeometry(DialogUnitsRect(font(), 178, 7, 50, 14));
  ok->setDefault(true);
  ok->setFocus();
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
