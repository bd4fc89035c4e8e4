// Where the numbered label files go: the preference and its dialog.
#include "CLabelFilesDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "UserSettings.h"

namespace {

const QString kGroup = QStringLiteral("Label Files/");

}  // namespace

LabelFilePreference LoadLabelFilePreference() {
  const QSettings settings = UserSettings();
  LabelFilePreference preference;
  preference.folder = settings.value(kGroup + QStringLiteral("Folder")).toString();
  // Only the two formats made of the label's pixels are offered; anything
  // else in a hand-edited file is the default.
  if (settings.value(kGroup + QStringLiteral("Format")).toString() == QLatin1String("png")) {
    preference.format = lumo::LabelFormat::Png;
  }
  preference.previewOnly = settings.value(kGroup + QStringLiteral("PreviewOnly")).toBool();
  return preference;
}

void SaveLabelFilePreference(const LabelFilePreference& preference) {
  QSettings settings = UserSettings();
  settings.setValue(kGroup + QStringLiteral("Folder"), preference.folder);
  settings.setValue(kGroup + QStringLiteral("Format"),
                    QString::fromLatin1(lumo::FormatName(preference.format).data()));
  settings.setValue(kGroup + QStringLiteral("PreviewOnly"), preference.previewOnly);
}

CLabelFilesDlg::CLabelFilesDlg(const QString& defaultFolder, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("出力設定"));
  const LabelFilePreference preference = LoadLabelFilePreference();

  auto* intro =
      new QLabel(QStringLiteral("貼り付け、ﾄﾞﾛｯﾌﾟ、設定の変更のたびに、ﾗﾍﾞﾙを番号付きのﾌｧｲﾙ "
                                "(lumo000.bmp など) に書き出します。"),
                 this);
  intro->setWordWrap(true);

  folder_ = new QLineEdit(preference.folder, this);
  folder_->setObjectName(QStringLiteral("folder"));
  folder_->setPlaceholderText(defaultFolder);
  folder_->setToolTip(QStringLiteral("空欄のときは %1").arg(defaultFolder));
  folder_->setClearButtonEnabled(true);
  folder_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
  auto* browse = new QPushButton(QStringLiteral("参照(&B)..."), this);
  connect(browse, &QPushButton::clicked, this, [this, defaultFolder] {
    const QString start = folder_->text().isEmpty() ? defaultFolder : folder_->text();
    const QString chosen =
        QFileDialog::getExistingDirectory(this, QStringLiteral("ﾌｫﾙﾀﾞの選択"), start);
    if (!chosen.isEmpty()) folder_->setText(chosen);
  });
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(folder_, 1);
  folderRow->addWidget(browse);

  format_ = new QComboBox(this);
  format_->addItem(QStringLiteral("BMP (32 ﾋﾞｯﾄ、約 32 MB)"),
                   static_cast<int>(lumo::LabelFormat::Bmp));
  format_->addItem(QStringLiteral("PNG (8 ﾋﾞｯﾄ ｸﾞﾚｰ、約 1.4 MB)"),
                   static_cast<int>(lumo::LabelFormat::Png));
  format_->setCurrentIndex(format_->findData(static_cast<int>(preference.format)));

  previewOnly_ = new QCheckBox(QStringLiteral("ﾌｧｲﾙには書き出さず、ﾌﾟﾚﾋﾞｭｰだけにする(&N)"), this);
  previewOnly_->setChecked(preference.previewOnly);
  // Folder and format mean nothing while no file is written.
  const auto showUsed = [this, browse](bool previewOnly) {
    for (QWidget* used : {static_cast<QWidget*>(folder_), static_cast<QWidget*>(browse),
                          static_cast<QWidget*>(format_)}) {
      used->setEnabled(!previewOnly);
    }
  };
  connect(previewOnly_, &QCheckBox::toggled, this, showUsed);
  showUsed(preference.previewOnly);

  problem_ = new QLabel(this);
  problem_->setWordWrap(true);
  problem_->setStyleSheet(QStringLiteral("color: #b00000"));
  problem_->hide();

  auto* form = new QFormLayout;
  auto* folderLabel = new QLabel(QStringLiteral("ﾌｫﾙﾀﾞ(&F):"), this);
  folderLabel->setBuddy(folder_);
  form->addRow(folderLabel, folderRow);
  form->addRow(QStringLiteral("形式(&T):"), format_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CLabelFilesDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CLabelFilesDlg::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(form);
  layout->addWidget(previewOnly_);
  layout->addWidget(problem_);
  layout->addWidget(buttons);
}

LabelFilePreference CLabelFilesDlg::preference() const {
  return {folder_->text().trimmed(), static_cast<lumo::LabelFormat>(format_->currentData().toInt()),
          previewOnly_->isChecked()};
}

void CLabelFilesDlg::accept() {
  const LabelFilePreference chosen = preference();
  const QFileInfo folder(chosen.folder);
  if (!chosen.previewOnly && !chosen.folder.isEmpty() && !(folder.isAbsolute() && folder.isDir())) {
    problem_->setText(
        QStringLiteral("%1 というﾌｫﾙﾀﾞはありません。/ から始まるﾌｫﾙﾀﾞを指定してください。")
            .arg(chosen.folder));
    problem_->show();
    adjustSize();
    folder_->setFocus();
    return;
  }
  SaveLabelFilePreference(chosen);
  QDialog::accept();
}
