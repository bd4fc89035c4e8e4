// The settings document: the 32-byte file, and the files it refuses.
#include <QTest>
#include <cmath>

#include "AppTestSupport.h"
#include "CLumoDoc.h"

class LumoDocTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { dir_ = std::make_unique<apptest::CurrentDirectory>(); }
  void cleanup() { dir_.reset(); }

  void savesTheThirtyTwoBytesAndOpensThemAsTheyAre() {
    CLumoDoc doc;
    doc.OnNewDocument();
    const QString path = dir_->filePath(QStringLiteral("odd.lum"));
    QString error;
    QVERIFY(doc.OnSaveDocument(path, error));
    QCOMPARE(apptest::ReadFile(path), apptest::DefaultSettingsBytes());

    // Values no dialog would accept are kept, and bytes after the 32nd ignored.
    const lumo::LabelSettings odd{120.5, 300.25, -7, 200, -1, 0};
    doc.SetSettings(odd);
    QVERIFY(doc.OnSaveDocument(path, error));
    QVERIFY(apptest::WriteFile(path, apptest::ReadFile(path) + QByteArray(100, 'x')));
    CLumoDoc reopened;
    QVERIFY(reopened.OnOpenDocument(path, error));
    QCOMPARE(reopened.settings(), odd);
    QCOMPARE(reopened.GetTitle(), QStringLiteral("odd.lum"));
    reopened.OnNewDocument();
    QCOMPARE(reopened.settings(), lumo::LabelSettings{});
    QCOMPARE(reopened.GetTitle(), QStringLiteral("new"));
    QVERIFY(reopened.GetPathName().isEmpty());
  }

  void refusedFilesLeaveTheDocumentAsItWas_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("0 ﾊﾞｲﾄ");
    QTest::newRow("31 bytes") << apptest::DefaultSettingsBytes().left(31)
                              << QStringLiteral("31 ﾊﾞｲﾄ");
    QTest::newRow("beyond the canvas limit")
        << apptest::SettingsBytes(600.0, 24000.0) << QStringLiteral("ﾗﾍﾞﾙを作れません");
    QTest::newRow("not a number") << apptest::SettingsBytes(120.0, std::nan(""))
                                  << QStringLiteral("ﾗﾍﾞﾙを作れません");
    QTest::newRow("a folder") << QByteArray() << QString();
  }

  void refusedFilesLeaveTheDocumentAsItWas() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    CLumoDoc doc;
    const QString good = dir_->filePath(QStringLiteral("good.lum"));
    QVERIFY(apptest::WriteFile(good, apptest::SettingsBytes(80.0, 300.0)));
    QString error;
    QVERIFY(doc.OnOpenDocument(good, error));

    const QString bad = dir_->filePath(QStringLiteral("bad.lum"));
    QVERIFY(reason.isEmpty() ? QDir().mkdir(bad) : apptest::WriteFile(bad, bytes));
    QVERIFY(!doc.OnOpenDocument(bad, error));
    QVERIFY2(error.contains(reason) && error.contains(QStringLiteral("bad.lum")),
             qPrintable(error));
    QCOMPARE(doc.settings(), (lumo::LabelSettings{80.0, 300.0, 150, 45, 1, 30}));
    QCOMPARE(doc.GetPathName(), good);
  }

  void failedSaveLeavesNothingBehind() {
    CLumoDoc doc;
    const QString folder = dir_->filePath(QStringLiteral("taken.lum"));
    QVERIFY(QDir().mkdir(folder));
    const QString plain = dir_->filePath(QStringLiteral("plain"));
    QVERIFY(apptest::WriteFile(plain, "x"));
    QString error;
    QVERIFY(!doc.OnSaveDocument(folder, error));
    QVERIFY(!doc.OnSaveDocument(plain + QStringLiteral("/x.lum"), error));
    QVERIFY(error.contains(QStringLiteral("x.lum")));
    // No temporary file either.
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{QStringLiteral("plain"), QStringLiteral("taken.lum")}));
    QVERIFY(QDir(folder).isEmpty());
    QCOMPARE(apptest::ReadFile(plain), QByteArray("x"));
  }

 private:
  std::unique_ptr<apptest::CurrentDirectory> dir_;
};

QTEST_MAIN(LumoDocTest)
#include "LumoDocTest.moc"
