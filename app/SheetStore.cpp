// The window's sheets and its remembered choices, in the user's settings.
#include "SheetStore.h"

#include <QComboBox>
#include <QSettings>
#include <QStringList>
#include <algorithm>

#include "SheetFile.h"
#include "UserSettings.h"

namespace {

const QString kSheetKey = QStringLiteral("Print/Sheet");
const QString kPositionsKey = QStringLiteral("Print/Positions");
const QString kGuideKey = QStringLiteral("View/DiscGuide");

}  // namespace

int WindowSheets::IndexOf(const QString& name) const {
  const std::string wanted = name.toStdString();
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (sheets[i].name == wanted) return static_cast<int>(i);
  }
  return -1;
}

WindowSheets LoadWindowSheets() {
  WindowSheets loaded;
  loaded.sheets.push_back(lumo::CentredSheet());
  // The window's centred sheet takes whatever paper is chosen, so the
  // built-in centred sheets for A4 and Letter would only repeat it.
  for (const lumo::Sheet& sheet : lumo::BuiltInSheets()) {
    if (!sheet.centred) loaded.sheets.push_back(sheet);
  }
  loaded.firstUserSheet = loaded.sheets.size();
  const auto users = lumo::ReadSheetsFile(lumo::UserSheetsFile());
  if (users) {
    loaded.sheets.insert(loaded.sheets.end(), users->begin(), users->end());
  } else if (users.error().reason != lumo::ErrorReason::NotFound) {
    loaded.fileError = users.error();
  }
  return loaded;
}

void FillSheetBox(QComboBox* box, const WindowSheets& sheets, const QString& name) {
  const QSignalBlocker quiet(box);
  box->clear();
  for (const lumo::Sheet& each : sheets.sheets) box->addItem(SheetTitle(each));
  box->setCurrentIndex(std::max(sheets.IndexOf(name), 0));
}

lumo::Result<void> SaveUserSheets(std::span<const lumo::Sheet> sheets) {
  return lumo::WriteSheetsFile(lumo::UserSheetsFile(), sheets);
}

QString SheetTitle(const lumo::Sheet& sheet) {
  static const std::pair<const char*, const char*> kTitles[] = {
      {"centred", "用紙の中央 (ﾃﾞｨｽｸ ﾄﾚｲ用)"},
      {"a4-2", "A4 ﾃﾞｨｽｸ 2 面"},
      {"a4-2-small-hole", "A4 ﾃﾞｨｽｸ 2 面 (小さい穴)"},
      {"letter-2", "US ﾚﾀｰ ﾃﾞｨｽｸ 2 面"},
      {"centred-a4", "A4 の中央"},
      {"centred-letter", "US ﾚﾀｰの中央"},
  };
  for (const auto& [name, title] : kTitles) {
    if (sheet.name == name) return QString::fromUtf8(title);
  }
  return QString::fromStdString(sheet.title.empty() ? sheet.name : sheet.title);
}

QString BleedNote(const lumo::Sheet& sheet, double labelDiameterMm) {
  if (!lumo::LabelBleeds(sheet, labelDiameterMm)) return {};
  return QStringLiteral(
             "ﾗﾍﾞﾙ (直径 %1 mm) はﾃﾞｨｽｸ (直径 %2 mm) より大きいので、ﾃﾞｨｽｸの縁からはみ出して"
             "実寸で印刷されます。")
      .arg(labelDiameterMm, 0, 'f', 1)
      .arg(sheet.discMm, 0, 'f', 1);
}

SheetChoice LastSheetChoice() {
  const QSettings settings = UserSettings();
  SheetChoice choice{settings.value(kSheetKey).toString(), {}};
  if (choice.name.isEmpty()) choice.name = QString::fromStdString(lumo::CentredSheet().name);
  for (const QString& number : settings.value(kPositionsKey).toString().split(u',')) {
    bool ok = false;
    const int position = number.toInt(&ok) - 1;
    if (ok && position >= 0) choice.positions << position;
  }
  return choice;
}

void SaveSheetChoice(const SheetChoice& choice) {
  QStringList numbers;
  for (const int position : choice.positions) numbers << QString::number(position + 1);
  QSettings settings = UserSettings();
  settings.setValue(kSheetKey, choice.name);
  settings.setValue(kPositionsKey, numbers.join(u','));
}

lumo::Sheet LastUsedSheet() {
  const WindowSheets loaded = LoadWindowSheets();
  const int index = loaded.IndexOf(LastSheetChoice().name);
  return loaded.sheets[static_cast<std::size_t>(std::max(index, 0))];
}

bool DiscGuideShown() { return UserSettings().value(kGuideKey, false).toBool(); }

void SetDiscGuideShown(bool shown) { UserSettings().setValue(kGuideKey, shown); }
