// Japanese words for every reason, in one place.
#include "ErrorText.h"

#include <QStringList>
#include <cerrno>
#include <system_error>

#include "CanvasGeometry.h"
#include "Printable.h"
#include "SafeWrite.h"
#include "SettingsFile.h"
#include "Sheet.h"
#include "SheetFile.h"

QString JapaneseSystemError(int errnum) {
  switch (errnum) {
    case ENOENT:
      return QStringLiteral("ﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません。");
    case EACCES:
    case EPERM:
      return QStringLiteral("ｱｸｾｽが許可されていません。");
    case EISDIR:
      return QStringLiteral("ﾌｫﾙﾀﾞです。ﾌｧｲﾙを指定してください。");
    case ENOTDIR:
      return QStringLiteral("ﾊﾟｽの途中にﾌｫﾙﾀﾞではないものがあります。");
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("ﾃﾞｨｽｸの空き領域が足りません。");
    case EROFS:
      return QStringLiteral("読み取り専用の場所には書き込めません。");
    case EFBIG:
      return QStringLiteral("ﾌｧｲﾙの大きさの上限を超えます。");
    case EEXIST:
      return QStringLiteral("同じ名前のﾌｧｲﾙが既にあります。");
    default:
      // The system's text is in the user's locale, hence the local encoding.
      return QStringLiteral("ｼｽﾃﾑ ｴﾗｰ %1: %2")
          .arg(errnum)
          .arg(QString::fromLocal8Bit(std::generic_category().message(errnum)));
  }
}

QString ShownName(const std::string& path) { return QString::fromLocal8Bit(lumo::Printable(path)); }

namespace {

// What the value of a sheet's key must be.
QString SheetValueRule(const lumo::Error& error) {
  const QString limit = QString::number(lumo::kMaxSheetPageMm);
  if (error.name == "page")
    return QStringLiteral("用紙 (page) は幅と高さで、どちらも 0 より大きく %1 mm までです。")
        .arg(limit);
  if (error.name == "disc")
    return QStringLiteral("ﾃﾞｨｽｸの直径 (disc) は 0 より大きく %1 mm までです。").arg(limit);
  if (error.name == "hole")
    return QStringLiteral("穴の直径 (hole) は 0 以上で、ﾃﾞｨｽｸの直径より小さくしてください。");
  if (error.name == "position")
    return QStringLiteral(
               "位置 %1 (position) は中心の横と縦で、用紙の上になければなりません。"
               "位置は %2 までです。")
        .arg(error.size)
        .arg(lumo::kMaxSheetPositions);
  return QStringLiteral("表示名 (title) は制御文字のない %1 ﾊﾞｲﾄまでの文字です。")
      .arg(lumo::kMaxSheetTitleBytes);
}

}  // namespace

QString ErrorCause(const lumo::Error& error) {
  using lumo::ErrorReason;
  switch (error.reason) {
    case ErrorReason::IsFolder:
      return JapaneseSystemError(EISDIR);
    case ErrorReason::IsPipe:
    case ErrorReason::IsDevice:
      return QStringLiteral("ﾌｧｲﾙではありません (ﾊﾟｲﾌﾟや装置は読めません)。");
    case ErrorReason::SettingsWrongSize:
      return (error.size < lumo::kSettingsFileSize
                  ? QStringLiteral("設定ﾌｧｲﾙは %1 ﾊﾞｲﾄですが、このﾌｧｲﾙは %2 ﾊﾞｲﾄしかありません。")
                  : QStringLiteral("設定ﾌｧｲﾙは %1 ﾊﾞｲﾄですが、このﾌｧｲﾙは %2 ﾊﾞｲﾄあります。"))
          .arg(lumo::kSettingsFileSize)
          .arg(error.size);
    case ErrorReason::SettingsNoCanvas:
      return QStringLiteral("直径 %1 mm と解像度 %2 dpi ではﾗﾍﾞﾙを作れません。")
          .arg(error.diameterMm, 0, 'g', 17)
          .arg(error.resolutionDpi, 0, 'g', 17);
    case ErrorReason::SeriesFull:
      return QStringLiteral("%1 から %2 まで、すべての名前が使われています。")
          .arg(QString::fromStdString(lumo::NumberedFileName(0, error.name)),
               QString::fromStdString(
                   lumo::NumberedFileName(lumo::kLabelFileCount - 1, error.name)));
    case ErrorReason::NoPixels:
      return QStringLiteral("ﾗﾍﾞﾙの直径か解像度が小さすぎて、書き出す画像がありません。");
    case ErrorReason::TooLarge:
      return QStringLiteral("ﾗﾍﾞﾙが大きすぎて、この形式では書き出せません。");
    case ErrorReason::PageOutOfRange:
      return QStringLiteral(
          "PDF と SVG のﾍﾟｰｼﾞは一辺 1.06 mm から 5.08 m までです。ﾗﾍﾞﾙの直径と解像度から"
          "決まる大きさがこの範囲を外れています。");
    case ErrorReason::NoFace:
      return QStringLiteral(
                 "日本語の文字を持つﾌｫﾝﾄ (%1) がありません。fonts-ipafont-gothic を入れるか、"
                 "LUMO_FONT にﾌｫﾝﾄ ﾌｧｲﾙを指定してください。")
          .arg(QString::fromStdString(error.name));
    case ErrorReason::FaceUnusable:
      return QStringLiteral("%1 はﾌｫﾝﾄとして読み込めません。").arg(ShownName(error.path));
    case ErrorReason::NoSuchFamily:
      return QStringLiteral("ﾌｫﾝﾄ「%1」はｲﾝｽﾄｰﾙされていません。")
          .arg(QString::fromStdString(error.name));
    case ErrorReason::NothingToPrint:
      return QStringLiteral("印刷するﾗﾍﾞﾙがありません。");
    case ErrorReason::LabelOffPaper:
      return QStringLiteral(
          "ﾗﾍﾞﾙが用紙に収まりません。より大きな用紙を選ぶか、印刷位置の調整を見直してください。");
    case ErrorReason::PrintNotStarted:
      return QStringLiteral("印刷を開始できませんでした。");
    case ErrorReason::PrintNotFinished:
      return QStringLiteral("印刷を完了できませんでした。");
    case ErrorReason::NoSuchPosition:
      return QStringLiteral("ｼｰﾄ %1 に位置 %2 はありません。")
          .arg(QString::fromStdString(error.name))
          .arg(error.size);
    case ErrorReason::SheetsTooLarge:
      return QStringLiteral("ﾌｧｲﾙが大きすぎます (%1 ﾊﾞｲﾄまで)。").arg(lumo::kMaxSheetsFileBytes);
    case ErrorReason::SheetLineUnknown:
      return QStringLiteral(
          "注釈 (#)、[ｼｰﾄ名]、title, page, disc, hole, position のどれでもない行です。");
    case ErrorReason::SheetKeyRepeated:
      return QStringLiteral("%1 が 2 度あります。").arg(QString::fromStdString(error.name));
    case ErrorReason::SheetValueRefused:
      return SheetValueRule(error);
    case ErrorReason::SheetIncomplete:
      return QStringLiteral("ｼｰﾄに %1 がありません。").arg(QString::fromStdString(error.name));
    case ErrorReason::SheetNameRefused:
      return QStringLiteral(
                 "ｼｰﾄ名「%1」は使えません。英数字と - _ で %2 文字まで、組み込みのｼｰﾄや"
                 "ほかのｼｰﾄと違う名前にしてください。")
          .arg(ShownName(error.name))
          .arg(lumo::kMaxSheetNameLength);
    case ErrorReason::NotFound:
    case ErrorReason::Unreadable:
    case ErrorReason::Unlistable:
    case ErrorReason::CannotCreate:
    case ErrorReason::CannotWrite:
    case ErrorReason::CannotReplace:
      break;
  }
  return JapaneseSystemError(error.errnum);
}

QString LabelWritten(const std::filesystem::path& path) {
  return QStringLiteral("%1 を %2 に書き出しました。")
      .arg(ShownName(path.filename().string()), ShownName(path.parent_path().string()));
}

QString LabelNotWritten(const lumo::Error& error, const std::filesystem::path& folder) {
  // Without pixels there was never anything to write: the cause says it all.
  if (error.reason == lumo::ErrorReason::NoPixels) return ErrorCause(error);
  return QStringLiteral("ﾗﾍﾞﾙを %1 に書き出せませんでした: %2")
      .arg(ShownName(folder.string()), ErrorCause(error));
}

QString TextFileNotRead(const lumo::Error& error) {
  return QStringLiteral("%1 を読めません。%2").arg(ShownName(error.path), ErrorCause(error));
}

QString SettingsTooLarge(const lumo::Error& noCanvas) {
  return QStringLiteral(
             "直径 %1 mm、解像度 %2 dpi のﾗﾍﾞﾙは一辺 %3 ﾋﾟｸｾﾙを超えるので、設定は変えていません。")
      .arg(noCanvas.diameterMm, 0, 'g', 17)
      .arg(noCanvas.resolutionDpi, 0, 'g', 17)
      .arg(lumo::kMaxCanvasSide);
}

QString EntriesRefused(const lumo::RuleVerdicts& refused) {
  const auto range = [](const char* name, lumo::RuleRange rule) {
    return QStringLiteral("%1 (%2 から %3 まで)")
        .arg(QString::fromUtf8(name))
        .arg(rule.min)
        .arg(rule.max);
  };
  QStringList kept;
  if (refused.diameter) kept << range("直径", lumo::kDiameterRule);
  if (refused.resolution) kept << range("解像度", lumo::kResolutionRule);
  if (refused.charsPerCircle) kept << range("行", lumo::kCharsPerCircleRule);
  if (refused.ringGroup) {
    kept << QStringLiteral(
                "桁・開始行・使用桁 (桁は %1 から %2 まで、使用桁は 1 以上、開始行 + "
                "使用桁は桁まで)")
                .arg(lumo::kRingCountRule.min)
                .arg(lumo::kRingCountRule.max);
  }
  if (kept.isEmpty()) return {};
  return QStringLiteral("元のままにした値: %1。").arg(kept.join(QStringLiteral("、")));
}

QString SettingsNotOpened(const lumo::Error& error) {
  const QString shown = ShownName(error.path);
  switch (error.reason) {
    case lumo::ErrorReason::SettingsWrongSize:
      return QStringLiteral("%1 は設定ﾌｧｲﾙではありません。\n%2").arg(shown, ErrorCause(error));
    case lumo::ErrorReason::SettingsNoCanvas:
      return QStringLiteral("%1 の%2").arg(shown, ErrorCause(error));
    default:
      return QStringLiteral("設定ﾌｧｲﾙ %1 を開けません。\n%2").arg(shown, ErrorCause(error));
  }
}

QString SettingsNotSaved(const lumo::Error& error) {
  return QStringLiteral("%1 に保存できません。\n%2").arg(ShownName(error.path), ErrorCause(error));
}

QString LabelNotExported(const QString& path, const lumo::Error& error) {
  return QStringLiteral("%1 に書き出せませんでした。\n%2").arg(path, ErrorCause(error));
}

QString FaceMissing(const lumo::Error& error) {
  return QStringLiteral("ﾗﾍﾞﾙの文字に使うﾌｫﾝﾄが見つかりません。ﾗﾍﾞﾙは白紙になります。\n%1")
      .arg(ErrorCause(error));
}

QString FaceNotTaken(const lumo::Error& error) {
  return QStringLiteral("選んだﾌｫﾝﾄは使えません。%1").arg(ErrorCause(error));
}

QString FaceChoiceNotSaved(const lumo::Error& error) {
  return QStringLiteral("ﾌｫﾝﾄの選択を保存できませんでした。%1").arg(ErrorCause(error));
}

QString SheetsNotRead(const lumo::Error& error) {
  const QString shown = ShownName(error.path);
  if (error.line > 0) {
    return QStringLiteral("ﾗﾍﾞﾙ ｼｰﾄのﾌｧｲﾙ %1 の %2 行目: %3")
        .arg(shown)
        .arg(error.line)
        .arg(ErrorCause(error));
  }
  return QStringLiteral("ﾗﾍﾞﾙ ｼｰﾄのﾌｧｲﾙ %1 を読めません。\n%2").arg(shown, ErrorCause(error));
}
