// Drives the real settings dialog: what its boxes show, how every way of
// closing it reads them under the acceptance rules, and its focus order.
#include <QLineEdit>
#include <QWindow>
#include <QtTest>

#include "AppTestSupport.h"
#include "CAdjustDlg.h"

namespace {

const QStringList kBoxNames{"IDC_DIAMETER",   "IDC_RESOLUTION", "IDC_CIRCLE_CHARS",
                            "IDC_RING_COUNT", "IDC_FIRST_RING", "IDC_USED_RINGS"};

QList<int> ToList(const lumo::EnteredSettings& values) {
  QList<int> list;
  for (const auto field : lumo::kEnteredFields) list << values.*field;
  return list;
}

QLineEdit* Box(CAdjustDlg& dialog, const QString& name) {
  return dialog.findChild<QLineEdit*>(name);
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
  void showsTheValuesUnsignedInTabOrderAndKeepsThemUnchanged() {
    // Values from a settings file that no rule would let in come back as they went in.
    CAdjustDlg dialog;
    apptest::OnNextModal([&](QWidget*) {  // typed once; a later opening must not show it
      Box(dialog, "IDC_DIAMETER")->setText(QStringLiteral("77"));
      CloseBy(dialog, Closing::Return);
    });
    dialog.exec();
    dialog.setValues(lumo::ToEntered({120.5, 599.99, 150, 200, -1, 30}));
    QStringList shown, order;
    apptest::OnNextModal([&](QWidget*) {
      for (const QString& name : kBoxNames) shown << Box(dialog, name)->text();
      dialog.activateWindow();  // keyboard focus moves only in the active window
      QVERIFY(QTest::qWaitForWindowActive(&dialog));
      for (int i = 0; i < 8; ++i) {  // the hidden buttons never take the focus
        auto* box = qobject_cast<QLineEdit*>(dialog.focusWidget());
        QVERIFY(box != nullptr);
        order << box->objectName();
        QTest::keyClick(box, i < 6 ? Qt::Key_Tab : Qt::Key_Backtab);
      }
      CloseBy(dialog, Closing::Return);
    });
    QCOMPARE(dialog.exec(), 0);
    QCOMPARE(shown, (QStringList{"120", "599", "150", "200", "4294967295", "30"}));
    QCOMPARE(order, (kBoxNames + QStringList{"IDC_DIAMETER", "IDC_USED_RINGS"}));
    QCOMPARE(ToList(dialog.values()), (QList<int>{120, 599, 150, 200, -1, 30}));
  }

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
    dialog.setValues({120, 600, 150, 45, 1, 30});
    int finished = 0;
    connect(&dialog, &QDialog::finished, this, [&] { ++finished; });
    apptest::OnNextModal([&](QWidget*) {
      // 700 breaks the diameter's rule on its own; 300 passes the resolution's.
      for (const auto& [name, text] : {std::pair{"IDC_DIAMETER", "700"},
                                       {"IDC_RESOLUTION", "300"},
                                       {"IDC_USED_RINGS", "20"}}) {
        QLineEdit* box = Box(dialog, name);  // as a user types: all selected, then the text
        box->setFocus(Qt::TabFocusReason);
        box->selectAll();
        QTest::keyClicks(box, text);
      }
      CloseBy(dialog, closing);
    });
    QCOMPARE(dialog.exec(), 0);
    QCOMPARE(finished, 1);
    QCOMPARE(ToList(dialog.values()), (QList<int>{120, 300, 150, 45, 1, 20}));
  }
};

QTEST_MAIN(AdjustDlgTest)
#include "AdjustDlgTest.moc"
