// Drives the real settings dialog: what its boxes show, and how every way of
// closing it reads them under the acceptance rules.
#include <QLineEdit>
#include <QWindow>
#include <QtTest>

#include "AppTestSupport.h"
#include "CAdjustDlg.h"

namespace {

QList<int> ToList(const lumo::EnteredSettings& values) {
  QList<int> list;
  for (const auto field : lumo::kEnteredFields) list << values.*field;
  return list;
}

enum class Closing { Return, KeypadEnter, Escape, CloseBox };

void CloseBy(CAdjustDlg& dialog, Closing how) {
  QWidget* focus = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
  if (how == Closing::Return) QTest::keyClick(focus, Qt::Key_Return);
  if (how == Closing::KeypadEnter) QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
  if (how == Closing::Escape) QTest::keyClick(focus, Qt::Key_Escape);
  if (how == Closing::CloseBox) {  // what the window manager sends
    QCloseEvent event;
    QCoreApplication::sendEvent(dialog.windowHandle(), &event);
  }
  QVERIFY2(!dialog.isVisible(), "the dialog did not close");
}

}  // namespace

Q_DECLARE_METATYPE(Closing)

class AdjustDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void everyWayOfClosingAppliesTheRules_data() {
    QTest::addColumn<Closing>("closing");
    QTest::newRow("Return") << Closing::Return;
    QTest::newRow("keypad Enter") << Closing::KeypadEnter;
    QTest::newRow("Esc") << Closing::Escape;
    QTest::newRow("close box") << Closing::CloseBox;
  }

  void everyWayOfClosingAppliesTheRules() {
    QFETCH(Closing, closing);
    CAdjustDlg dialog;
    // Values from a settings file that no rule lets in: shown unsigned, and
    // kept, unsaid, when their boxes are left alone.
    dialog.setValues(lumo::ToEntered({120.5, 600, 150, 80, -1, 30}));
    int finished = 0;
    connect(&dialog, &QDialog::finished, this, [&] { ++finished; });
    QStringList shown;
    apptest::OnNextModal([&](QWidget*) {
      for (QLineEdit* box : dialog.findChildren<QLineEdit*>()) shown << box->text();
      // 700 breaks the diameter's rule on its own; 300 passes the resolution's.
      for (const auto& [name, text] : {std::pair{"IDC_DIAMETER", "700"},
                                       {"IDC_RESOLUTION", "300"},
                                       {"IDC_CIRCLE_CHARS", "20"}}) {
        auto* box = dialog.findChild<QLineEdit*>(name);  // as a user types: all selected
        box->setFocus(Qt::TabFocusReason);
        box->selectAll();
        QTest::keyClicks(box, text);
      }
      CloseBy(dialog, closing);
    });
    QCOMPARE(dialog.exec(), 0);
    QCOMPARE(finished, 1);
    QCOMPARE(shown, (QStringList{"120", "600", "150", "80", "4294967295", "30"}));
    QCOMPARE(ToList(dialog.values()), (QList<int>{120, 300, 20, 80, -1, 30}));
    // Only what the user changed counts as refused.
    QCOMPARE(dialog.refusal(), QStringLiteral("元のままにした値: 直径 (41 から 599 まで)。"));
  }
};

QTEST_MAIN(AdjustDlgTest)
#include "AdjustDlgTest.moc"
