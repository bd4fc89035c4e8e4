// Drives the real settings dialog: what its boxes show, how every way of
// closing it reads them under the acceptance rules, its focus order and layout.
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <functional>

#include "CAdjustDlg.h"
#include "DialogNumbers.h"
#include "LabelSettings.h"

namespace {

using lumo::EnteredSettings;

constexpr EnteredSettings kDefaults{120, 600, 150, 45, 1, 30};

const std::array<const char*, 6> kBoxNames{"IDC_DIAMETER",   "IDC_RESOLUTION", "IDC_CIRCLE_CHARS",
                                           "IDC_RING_COUNT", "IDC_FIRST_RING", "IDC_USED_RINGS"};

QList<int> ToList(const EnteredSettings& values) { return {values.begin(), values.end()}; }

EnteredSettings FromList(const QList<int>& list) {
  EnteredSettings values{};
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = list.value(static_cast<int>(i));
  return values;
}

QLineEdit* Box(CAdjustDlg& dialog, const char* name) {
  return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

// As a user does it: into the box, everything selected, then the new text.
void TypeInto(QLineEdit* box, const QString& text) {
  QVERIFY(box != nullptr);
  box->setFocus(Qt::TabFocusReason);
  box->selectAll();
  if (text.isEmpty()) {
    QTest::keyClick(box, Qt::Key_Delete);
  } else {
    QTest::keyClicks(box, text);
  }
  QCOMPARE(box->text(), text);
}

// "NAME=text" pairs, so a row names only the boxes it changes.
void TypeAll(CAdjustDlg& dialog, const QStringList& entries) {
  for (const QString& entry : entries) {
    const qsizetype at = entry.indexOf(u'=');
    TypeInto(Box(dialog, entry.left(at).toLatin1().constData()), entry.mid(at + 1));
  }
}

enum class Closing { Return, KeypadEnter, Escape, CloseBox, Close, OkButton, CancelButton };

void CloseBy(CAdjustDlg& dialog, Closing how) {
  QWidget* focus = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
  switch (how) {
    case Closing::Return:
      QTest::keyClick(focus, Qt::Key_Return);
      break;
    case Closing::KeypadEnter:
      QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
      break;
    case Closing::Escape:
      QTest::keyClick(focus, Qt::Key_Escape);
      break;
    case Closing::CloseBox: {
      // What the window manager sends when the close box is pressed.
      QCloseEvent event;
      QCoreApplication::sendEvent(dialog.windowHandle(), &event);
      break;
    }
    case Closing::Close:
      dialog.close();
      break;
    case Closing::OkButton:
      dialog.findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
      break;
    case Closing::CancelButton:
      dialog.findChild<QPushButton*>(QStringLiteral("IDCANCEL"))->click();
      break;
  }
}

struct ModalRun {
  int result = -1;
  bool closedByTheTest = false;
};

// Runs the dialog modally, as the view does, with `inside` acting in its loop.
// A dialog that does not close is ended after a while so the test fails
// rather than hangs.
ModalRun RunModal(CAdjustDlg& dialog, const std::function<void()>& inside) {
  ModalRun run;
  QTimer act;
  act.setSingleShot(true);
  QObject::connect(&act, &QTimer::timeout, &dialog, inside);
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &dialog, [&] {
    if (dialog.isVisible()) {
      run.closedByTheTest = true;
      dialog.QDialog::done(-1);
    }
  });
  act.start(0);
  guard.start(5000);
  run.result = dialog.exec();
  return run;
}

// Opens the dialog on `loaded`, types `entries`, closes it with Enter and
// returns what it took.
EnteredSettings Enter(const EnteredSettings& loaded, const QStringList& entries) {
  CAdjustDlg dialog;
  dialog.setValues(loaded);
  const ModalRun run = RunModal(dialog, [&] {
    TypeAll(dialog, entries);
    CloseBy(dialog, Closing::Return);
  });
  [&] {
    QVERIFY(!run.closedByTheTest);
    QCOMPARE(run.result, 0);
  }();
  return dialog.values();
}

}  // namespace

Q_DECLARE_METATYPE(Closing)

class AdjustDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheValuesUnsignedWithTheFirstBoxSelected();
  void closingUnchangedKeepsTheValues();
  void everyWayOfClosingApplies_data();
  void everyWayOfClosingApplies();
  void rules_data();
  void rules();
  void reopeningStartsFromTheGivenValues();
  void tabOrderFollowsTheSettings();
  void layoutInDialogUnits();
};

void AdjustDlgTest::showsTheValuesUnsignedWithTheFirstBoxSelected() {
  lumo::LabelSettings fromFile;
  fromFile.diameterMm = 120.5;
  fromFile.resolutionDpi = 599.99;
  fromFile.firstRing = -1;
  fromFile.usedRings = -2147483647 - 1;

  CAdjustDlg dialog;
  dialog.setValues(lumo::ToEntered(fromFile));
  QStringList shown;
  const ModalRun run = RunModal(dialog, [&] {
    for (const char* name : kBoxNames) shown << Box(dialog, name)->text();
    QLineEdit* first = Box(dialog, "IDC_DIAMETER");
    QCOMPARE(dialog.focusWidget(), first);
    QCOMPARE(first->selectedText(), first->text());
    CloseBy(dialog, Closing::Return);
  });
  QVERIFY(!run.closedByTheTest);
  QCOMPARE(shown, (QStringList{"120", "599", "150", "45", "4294967295", "2147483648"}));
}

void AdjustDlgTest::closingUnchangedKeepsTheValues() {
  // Values no rule would let in, as a settings file can hold them, come back
  // as they went in: the truncated diameter and resolution, the ring group
  // whose ring count is 200, the negative first ring.
  lumo::LabelSettings fromFile;
  fromFile.diameterMm = 120.5;
  fromFile.resolutionDpi = 300.7;
  fromFile.ringCount = 200;
  fromFile.firstRing = -1;
  const EnteredSettings loaded = lumo::ToEntered(fromFile);
  QCOMPARE(ToList(Enter(loaded, {})), (QList<int>{120, 300, 150, 200, -1, 30}));
  QCOMPARE(ToList(Enter(kDefaults, {})), ToList(kDefaults));

  // A negative first ring that the group rule lets through reads back as itself.
  const EnteredSettings negative{120, 600, 150, 45, -1, 30};
  QCOMPARE(ToList(Enter(negative, {})), ToList(negative));
}

void AdjustDlgTest::everyWayOfClosingApplies_data() {
  QTest::addColumn<Closing>("closing");
  QTest::newRow("Return") << Closing::Return;
  QTest::newRow("keypad Enter") << Closing::KeypadEnter;
  QTest::newRow("Esc") << Closing::Escape;
  QTest::newRow("close box") << Closing::CloseBox;
  QTest::newRow("close") << Closing::Close;
  QTest::newRow("OK") << Closing::OkButton;
  QTest::newRow("Cancel") << Closing::CancelButton;
}

void AdjustDlgTest::everyWayOfClosingApplies() {
  QFETCH(Closing, closing);
  CAdjustDlg dialog;
  dialog.setValues(kDefaults);
  int finishedCount = 0;
  connect(&dialog, &QDialog::finished, this, [&] { ++finishedCount; });
  const ModalRun run = RunModal(dialog, [&] {
    // 700 breaks the diameter's rule on its own; 300 passes the resolution's.
    TypeInto(Box(dialog, "IDC_DIAMETER"), QStringLiteral("700"));
    TypeInto(Box(dialog, "IDC_RESOLUTION"), QStringLiteral("300"));
    TypeInto(Box(dialog, "IDC_USED_RINGS"), QStringLiteral("20"));
    CloseBy(dialog, closing);
  });
  QVERIFY(!run.closedByTheTest);
  QCOMPARE(run.result, 0);
  QCOMPARE(finishedCount, 1);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(ToList(dialog.values()), (QList<int>{120, 300, 150, 45, 1, 20}));
}

void AdjustDlgTest::rules_data() {
  QTest::addColumn<QList<int>>("loaded");
  QTest::addColumn<QStringList>("entries");
  QTest::addColumn<QList<int>>("expected");
  const QList<int> defaults = ToList(kDefaults);
  // At 300 dpi a 599 mm label still fits a canvas; at 600 it would not.
  const QList<int> at300{120, 300, 150, 45, 1, 30};
  // A 5 mm label from a settings file leaves room for the highest resolution.
  const QList<int> tiny{5, 600, 150, 45, 1, 30};

  QTest::newRow("diameter 40 refused") << at300 << QStringList{"IDC_DIAMETER=40"} << at300;
  QTest::newRow("diameter 41") << at300 << QStringList{"IDC_DIAMETER=41"}
                               << QList<int>{41, 300, 150, 45, 1, 30};
  QTest::newRow("diameter 599") << at300 << QStringList{"IDC_DIAMETER=599"}
                                << QList<int>{599, 300, 150, 45, 1, 30};
  QTest::newRow("diameter 600 refused") << at300 << QStringList{"IDC_DIAMETER=600"} << at300;
  QTest::newRow("resolution 60 refused") << tiny << QStringList{"IDC_RESOLUTION=60"} << tiny;
  QTest::newRow("resolution 61") << tiny << QStringList{"IDC_RESOLUTION=61"}
                                 << QList<int>{5, 61, 150, 45, 1, 30};
  QTest::newRow("resolution 23999")
      << tiny << QStringList{"IDC_RESOLUTION=23999"} << QList<int>{5, 23999, 150, 45, 1, 30};
  QTest::newRow("resolution 24000 refused") << tiny << QStringList{"IDC_RESOLUTION=24000"} << tiny;
  QTest::newRow("599 mm at 23999 dpi keeps both")
      << defaults << QStringList{"IDC_DIAMETER=599", "IDC_RESOLUTION=23999", "IDC_CIRCLE_CHARS=2"}
      << QList<int>{120, 600, 2, 45, 1, 30};
  QTest::newRow("a diameter too large for the resolution keeps both")
      << defaults << QStringList{"IDC_DIAMETER=400"} << defaults;
  QTest::newRow("characters 1 refused")
      << defaults << QStringList{"IDC_CIRCLE_CHARS=1"} << defaults;
  QTest::newRow("characters 300") << defaults << QStringList{"IDC_CIRCLE_CHARS=300"}
                                  << QList<int>{120, 600, 300, 45, 1, 30};
  QTest::newRow("characters 301 refused")
      << defaults << QStringList{"IDC_CIRCLE_CHARS=301"} << defaults;
  QTest::newRow("rings summing to the count")
      << defaults << QStringList{"IDC_FIRST_RING=15"} << QList<int>{120, 600, 150, 45, 15, 30};
  QTest::newRow("rings one beyond the count, none taken")
      << defaults << QStringList{"IDC_RING_COUNT=46", "IDC_FIRST_RING=16", "IDC_USED_RINGS=31"}
      << defaults;
  QTest::newRow("ring count 80 refused with its group")
      << defaults << QStringList{"IDC_RING_COUNT=80", "IDC_FIRST_RING=0"} << defaults;
  QTest::newRow("used rings 0 refused")
      << defaults << QStringList{"IDC_USED_RINGS=0", "IDC_FIRST_RING=2"} << defaults;
  QTest::newRow("each rule on its own") << defaults
                                        << QStringList{"IDC_DIAMETER=100", "IDC_RESOLUTION=24000",
                                                       "IDC_CIRCLE_CHARS=200", "IDC_RING_COUNT=0"}
                                        << QList<int>{100, 600, 200, 45, 1, 30};

  // Text that is not a number reads as 0.
  QTest::newRow("letters in every box but first ring")
      << defaults
      << QStringList{"IDC_DIAMETER=abc", "IDC_RESOLUTION=x", "IDC_CIRCLE_CHARS=12abc",
                     "IDC_RING_COUNT=rings"}
      << defaults;
  QTest::newRow("empty boxes") << defaults
                               << QStringList{"IDC_DIAMETER=", "IDC_RESOLUTION=",
                                              "IDC_CIRCLE_CHARS=", "IDC_USED_RINGS="}
                               << defaults;
  QTest::newRow("empty first ring reads as 0, which the group takes")
      << defaults << QStringList{"IDC_FIRST_RING="} << QList<int>{120, 600, 150, 45, 0, 30};
  QTest::newRow("typed 4294967295 is -1") << defaults << QStringList{"IDC_FIRST_RING=4294967295"}
                                          << QList<int>{120, 600, 150, 45, -1, 30};
}

void AdjustDlgTest::rules() {
  QFETCH(QList<int>, loaded);
  QFETCH(QStringList, entries);
  QFETCH(QList<int>, expected);
  QCOMPARE(ToList(Enter(FromList(loaded), entries)), expected);
}

void AdjustDlgTest::reopeningStartsFromTheGivenValues() {
  CAdjustDlg dialog;
  dialog.setValues(kDefaults);
  RunModal(dialog, [&] {
    TypeInto(Box(dialog, "IDC_RESOLUTION"), QStringLiteral("300"));
    CloseBy(dialog, Closing::Escape);
  });
  QCOMPARE(dialog.values()[1], 300);

  // The view hands the dialog its values again; nothing typed before remains,
  // and a refused entry falls back on these, not on the earlier ones.
  const EnteredSettings now{200, 150, 150, 45, 1, 30};
  dialog.setValues(now);
  QString shown;
  RunModal(dialog, [&] {
    shown = Box(dialog, "IDC_RESOLUTION")->text();
    TypeInto(Box(dialog, "IDC_DIAMETER"), QStringLiteral("10"));
    CloseBy(dialog, Closing::Return);
  });
  QCOMPARE(shown, QStringLiteral("150"));
  QCOMPARE(ToList(dialog.values()), ToList(now));
}

void AdjustDlgTest::tabOrderFollowsTheSettings() {
  CAdjustDlg dialog;
  dialog.setValues(kDefaults);
  QStringList forward;
  QStringList backward;
  bool selectedOnTab = true;
  RunModal(dialog, [&] {
    // Keyboard focus moves only in the active window, as on a desktop.
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    for (std::size_t i = 0; i <= kBoxNames.size(); ++i) {
      auto* box = qobject_cast<QLineEdit*>(dialog.focusWidget());
      if (box == nullptr) break;
      forward << box->objectName();
      selectedOnTab = selectedOnTab && box->selectedText() == box->text();
      if (i < kBoxNames.size()) QTest::keyClick(box, Qt::Key_Tab);
    }
    for (std::size_t i = 0; i < 2; ++i) {
      QTest::keyClick(dialog.focusWidget(), Qt::Key_Backtab);
      backward << dialog.focusWidget()->objectName();
    }
    CloseBy(dialog, Closing::Return);
  });
  // The hidden buttons come first in the order but never take the focus.
  QCOMPARE(forward,
           (QStringList{"IDC_DIAMETER", "IDC_RESOLUTION", "IDC_CIRCLE_CHARS", "IDC_RING_COUNT",
                        "IDC_FIRST_RING", "IDC_USED_RINGS", "IDC_DIAMETER"}));
  QCOMPARE(backward, (QStringList{"IDC_USED_RINGS", "IDC_FIRST_RING"}));
  QVERIFY(selectedOnTab);
}

void AdjustDlgTest::layoutInDialogUnits() {
  CAdjustDlg dialog;
  QCOMPARE(dialog.windowTitle(), QStringLiteral("詳細設定"));
  QVERIFY(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

  const QFontInfo face(dialog.font());
  QCOMPARE(dialog.font().pointSize(), 9);
  QVERIFY(!face.fixedPitch());
  if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
    QCOMPARE(face.family(), QStringLiteral("IPAPGothic"));
  }

  // A horizontal unit is a quarter of the font's average letter width, a
  // vertical one an eighth of its height.
  const QFontMetrics metrics(dialog.font());
  const int baseX = lumo::HorizontalBaseUnit(metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
  const int height = metrics.height();
  QVERIFY(baseX > 0 && height > 0);
  const auto units = [&](int x, int y, int w, int h) {
    return QRect(qRound(x * baseX / 4.0), qRound(y * height / 8.0), qRound(w * baseX / 4.0),
                 qRound(h * height / 8.0));
  };

  QCOMPARE(dialog.size(), units(0, 0, 138, 77).size());
  QCOMPARE(dialog.minimumSize(), dialog.maximumSize());

  const std::array<QPoint, 6> boxPlaces{QPoint(30, 6),  QPoint(30, 24), QPoint(30, 42),
                                        QPoint(30, 60), QPoint(90, 42), QPoint(90, 60)};
  for (std::size_t i = 0; i < kBoxNames.size(); ++i) {
    QLineEdit* box = Box(dialog, kBoxNames[i]);
    QVERIFY2(box != nullptr, kBoxNames[i]);
    QCOMPARE(box->geometry(), units(boxPlaces[i].x(), boxPlaces[i].y(), 36, 12));
    QVERIFY(box->hasFrame());
    QCOMPARE(box->validator(), nullptr);  // any text may be typed
  }

  const QList<QPair<QString, QPoint>> labelPlaces{{"直径", {0, 6}},     {"解像度", {0, 24}},
                                                  {"行", {0, 42}},      {"桁", {0, 60}},
                                                  {"開始行", {66, 42}}, {"使用桁", {66, 60}}};
  const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
  QCOMPARE(labels.size(), labelPlaces.size());
  for (const auto& [text, place] : labelPlaces) {
    const auto found = std::find_if(labels.begin(), labels.end(),
                                    [&](const QLabel* label) { return label->text() == text; });
    QVERIFY2(found != labels.end(), qPrintable(text));
    QCOMPARE((*found)->geometry(), units(place.x(), place.y(), 24, 12));
    QCOMPARE((*found)->alignment(), Qt::AlignCenter);
  }

  auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("IDOK"));
  auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("IDCANCEL"));
  QVERIFY(ok != nullptr && cancel != nullptr);
  QCOMPARE(ok->geometry(), units(90, 6, 14, 11));
  QCOMPARE(cancel->geometry(), units(114, 6, 14, 12));
  QVERIFY(ok->isDefault());
  QCOMPARE(cancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  dialog.show();
  QVERIFY(ok->isHidden() && cancel->isHidden());
  dialog.hide();
}

QTEST_MAIN(AdjustDlgTest)
#include "AdjustDlgTest.moc"
