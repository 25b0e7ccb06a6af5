// SPDX-License-Identifier: GPL-3.0-or-later
// The clause-B amount in Edit18 follows coefficient × points at every key
// release in Edit1 or Edit25.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "tests/app/TestSupport.h"

class AutoFillTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }

  void productAfterTyping_data();
  void productAfterTyping();
  void releaseOfAnyKeyReplacesTypedAmount();
  void heldKeyRunsOnceAtRelease();
  void pastedTextGivesConversionMessage();
};

void AutoFillTest::productAfterTyping_data() {
  QTest::addColumn<QString>("Coefficient");
  QTest::addColumn<QString>("Points");
  QTest::addColumn<QString>("Amount");
  QTest::newRow("3216 x 1500") << "3216"
                               << "1500"
                               << "4824000";
  QTest::newRow("exactly 3") << "3"
                             << "1"
                             << "3";
  QTest::newRow("zero") << "0"
                        << "1500"
                        << "0";
  QTest::newRow("10^15 in general form") << "100000000"
                                         << "10000000"
                                         << "1E15";
  QTest::newRow("16 digits rounded to 15") << "1234567890123456"
                                           << "1"
                                           << "1.23456789012346E15";
  // Exact products rounded once to 15 digits (Python's decimal module).
  QTest::newRow("53578 x 616649591472820") << "53578"
                                           << "616649591472820"
                                           << "3.30388518119307E19";
  QTest::newRow("96076 x 602309385164131") << "96076"
                                           << "602309385164131"
                                           << "5.7867476489029E19";
  QTest::newRow("no points") << "3216"
                             << ""
                             << "";
  QTest::newRow("no coefficient") << ""
                                  << "1500"
                                  << "";
}

void AutoFillTest::productAfterTyping() {
  QFETCH(QString, Coefficient);
  QFETCH(QString, Points);
  QFETCH(QString, Amount);
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  TypeInto(Form.Edit25, Points);
  TypeInto(Form.Edit1, Coefficient);
  // An empty field still sees a key release: the arrow key.
  Press(Qt::Key_Right);
  QCOMPARE(Form.Edit18->text(), Amount);
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
}

void AutoFillTest::releaseOfAnyKeyReplacesTypedAmount() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  TypeInto(Form.Edit1, QStringLiteral("3216"));
  TypeInto(Form.Edit25, QStringLiteral("1500"));
  Form.Edit18->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_A, Qt::ControlModifier);
  Type(QStringLiteral("999"));
  QCOMPARE(Form.Edit18->text(), QStringLiteral("999"));
  Form.Edit1->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Left);
  QCOMPARE(Form.Edit18->text(), QStringLiteral("4824000"));
  // Points erased: the amount goes with them.
  Form.Edit25->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_End);
  for (int I = 0; I < 4; ++I) Press(Qt::Key_Backspace);
  QCOMPARE(Form.Edit18->text(), QString());
}

void AutoFillTest::heldKeyRunsOnceAtRelease() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  TypeInto(Form.Edit1, QStringLiteral("2"));
  TypeInto(Form.Edit25, QStringLiteral("3"));
  Form.Edit18->setText(QStringLiteral("typed"));
  // The releases of a repeating key carry the auto-repeat flag.
  QKeyEvent Repeat(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(Form.Edit25, &Repeat);
  QCOMPARE(Form.Edit18->text(), QStringLiteral("typed"));
  QTest::keyRelease(Form.Edit25, Qt::Key_Right);
  QCOMPARE(Form.Edit18->text(), QStringLiteral("6"));
}

void AutoFillTest::pastedTextGivesConversionMessage() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  TypeInto(Form.Edit25, QStringLiteral("1500"));
  QCOMPARE(Form.Edit18->text(), QString());  // no coefficient yet
  Form.Edit18->setText(QStringLiteral("1"));
  // What the context menu's Paste does: no key, so no auto-fill yet.
  QApplication::clipboard()->setText(QStringLiteral(" abc "));
  Form.Edit1->paste();
  QCOMPARE(Form.Edit18->text(), QStringLiteral("1"));
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
  Form.Edit25->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_End);
  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(Fixture.Recorder.Messages[0].Kind, MessageKind::Error);
  QCOMPARE(Fixture.Recorder.Messages[0].Text, QStringLiteral("'abc' is not a valid floating point value."));
  QCOMPARE(Form.Edit18->text(), QString());
  QCOMPARE(Form.Edit1->text(), QStringLiteral(" abc "));
  QCOMPARE(Focused(), Form.Edit25);
}

QTEST_MAIN(AutoFillTest)
#include "AutoFillTest.moc"
