// The settings document: the 32-byte file, the files it refuses, and the
// words it tells the system's errors in.
#include <QFileInfo>
#include <QSet>
#include <QTest>
#include <cerrno>

#include "AppTestSupport.h"
#include "CLumoDoc.h"
#include "SystemErrorText.h"

class LumoDocTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { dir_ = std::make_unique<apptest::CurrentDirectory>(); }
  void cleanup() { dir_.reset(); }

  void opensTheThirtyTwoBytesAsTheyAreAndRefusedFilesChangeNothing() {
    // Values no dialog would accept are kept, and bytes after the 32nd ignored.
    const lumo::LabelSettings odd{120.5, 300.25, -7, 200, -1, 0};
    CLumoDoc doc;
    doc.SetSettings(odd);
    const QString good = dir_->filePath(QStringLiteral("odd.lum"));
    QString error;
    QVERIFY(doc.OnSaveDocument(good, error));
    QVERIFY(apptest::WriteFile(good, apptest::ReadFile(good) + QByteArray(100, 'x')));
    doc.OnNewDocument();
    QCOMPARE(doc.settings(), lumo::LabelSettings{});
    QVERIFY(doc.GetTitle() == QStringLiteral("new") && doc.GetPathName().isEmpty());
    QVERIFY(doc.OnOpenDocument(good, error));
    QCOMPARE(doc.settings(), odd);
    QCOMPARE(doc.GetTitle(), QStringLiteral("odd.lum"));
    QVERIFY(apptest::WriteFile(dir_->filePath("short.lum"), apptest::SettingsBytes().left(31)));
    QVERIFY(QDir().mkdir(dir_->filePath("folder.lum")));
    QVERIFY(!dir_->settingsFile(QStringLiteral("huge.lum"), 600.0, 24000.0).isEmpty());
    QVERIFY(apptest::WriteFile(dir_->filePath("plain"), "x"));
    // The system's errors are told in the program's own words.
    for (const auto& [name, reason] :
         {std::pair{"short.lum", "31 ﾊﾞｲﾄ"},
          {"folder.lum", "を開けません。\nﾌｫﾙﾀﾞです"},
          {"gone.lum", "を開けません。\nﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません"},
          {"plain/x.lum", "ﾊﾟｽの途中"},
          {"huge.lum", "ﾗﾍﾞﾙを作れません"}}) {
      QVERIFY(!doc.OnOpenDocument(dir_->filePath(name), error));
      QVERIFY2(error.contains(QString::fromUtf8(reason)) && error.contains(name),
               qPrintable(error));
      QCOMPARE(doc.settings(), odd);
      QCOMPARE(doc.GetPathName(), good);
    }
  }

  void savingKeepsPermissionsAndLinks() {
    CLumoDoc doc;
    doc.SetSettings({80.0, 300.0, 150, 45, 1, 30});
    const QString kept = dir_->filePath(QStringLiteral("kept.lum"));
    QVERIFY(apptest::WriteFile(kept, "old"));
    const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(kept, mode));
    const QString link = dir_->filePath(QStringLiteral("link.lum"));
    QVERIFY(QFile::link(kept, link));
    QString error;
    QVERIFY(doc.OnSaveDocument(link, error));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(apptest::ReadFile(kept), apptest::SettingsBytes(80.0, 300.0));
    QCOMPARE(QFile::permissions(kept) & 0x7077, mode);  // owner, group, others
    QCOMPARE(QDir(dir_->path())
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             (QStringList{"kept.lum", "link.lum"}));
  }

  void systemErrorsHaveJapaneseWords() {
    // Each its own words, none of them the fallback.
    QSet<QString> texts;
    for (const int errnum : {ENOENT, EACCES, EISDIR, ENOTDIR, ENOSPC, EROFS, EEXIST})
      texts << JapaneseSystemError(errnum);
    QVERIFY(!texts.values().join("").contains(QStringLiteral("ｼｽﾃﾑ ｴﾗｰ")));
    QCOMPARE(texts.size(), 7);
    QCOMPARE(JapaneseSystemError(EPERM), JapaneseSystemError(EACCES));
    QCOMPARE(JapaneseSystemError(EDQUOT), JapaneseSystemError(ENOSPC));
    // Anything else keeps its number and the system's text.
    const QString other = JapaneseSystemError(EIO);
    QVERIFY2(other.startsWith(QStringLiteral("ｼｽﾃﾑ ｴﾗｰ %1: ").arg(EIO)) && other.size() > 12,
             qPrintable(other));
  }

  void failedSaveLeavesNothingBehind() {
    CLumoDoc doc;
    QVERIFY(QDir().mkdir(dir_->filePath("taken.lum")));
    QString error;
    QVERIFY(!doc.OnSaveDocument(dir_->filePath("taken.lum"), error));
    QVERIFY2(error.contains(QStringLiteral("taken.lum に保存できません。\nﾌｫﾙﾀﾞです")),
             qPrintable(error));
    // No temporary file either.
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"taken.lum"});
    QVERIFY(QDir(dir_->filePath("taken.lum")).isEmpty());
  }

 private:
  std::unique_ptr<apptest::CurrentDirectory> dir_;
};

QTEST_MAIN(LumoDocTest)
#include "LumoDocTest.moc"
