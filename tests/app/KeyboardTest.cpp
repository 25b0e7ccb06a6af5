// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard flow of the input panel: Enter order, Tab order, the key filter,
// the choice handlers and the compute button's keys.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/app/TestSupport.h"

namespace {

QWidget* Named(TForm1& Form, const QString& Name) {
  auto* Widget = Form.findChild<QWidget*>(Name);
  if (!Widget) qWarning("no control %s", qPrintable(Name));
  return Widget;
}

QString NameOf(const QWidget* Widget) { return Widget ? Widget->objectName() : QStringLiteral("(none)"); }

}  // namespace

class KeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }

  void enterMovesToSuccessor_data();
  void enterMovesToSuccessor();
  void enterInsertsNothing();
  void enterDoesNothingOnComboBoxAndCheckBox5();
  void tabOrderRunsRoundThePanel();
  void keyPressProcedureKeepsOnlyDigitsAndBackspace();
  void typedCharactersAreFiltered_data();
  void typedCharactersAreFiltered();
  void commandKeysKeepTheirFunction();
  void lengthLimits_data();
  void lengthLimits();
  void spaceTogglesCheckBoxAndFocusStays();
  void comboBoxChoiceMovesToEdit11();
  void checkBox6ClickMovesToButton1AndEnterComputes();
  void enterWithModifierDoesNotPressButton1();
};

void KeyboardTest::enterMovesToSuccessor_data() {
  QTest::addColumn<QString>("From");
  QTest::addColumn<QString>("To");
  const char* const Order[][2] = {
      {"Edit1", "Edit2"},         {"Edit2", "Edit3"},         {"Edit3", "Edit26"},        {"Edit26", "Edit4"},
      {"Edit4", "Edit5"},         {"Edit5", "Edit25"},        {"Edit25", "Edit18"},       {"Edit18", "Edit6"},
      {"Edit6", "Edit7"},         {"Edit7", "Edit8"},         {"Edit8", "Edit9"},         {"Edit9", "Edit10"},
      {"Edit10", "Edit12"},       {"Edit12", "ComboBox1"},    {"Edit11", "CheckBox1"},    {"CheckBox1", "CheckBox2"},
      {"CheckBox2", "CheckBox3"}, {"CheckBox3", "CheckBox4"}, {"CheckBox4", "CheckBox8"}, {"CheckBox8", "Edit13"},
      {"Edit13", "Edit14"},       {"Edit14", "Edit15"},       {"Edit15", "Edit16"},       {"Edit16", "Edit17"},
      {"Edit17", "Edit19"},       {"Edit19", "Edit20"},       {"Edit20", "Edit21"},       {"Edit21", "Edit22"},
      {"Edit22", "Edit23"},       {"Edit23", "Edit24"},       {"Edit24", "CheckBox6"},    {"CheckBox6", "Button1"},
  };
  for (const auto& Row : Order) QTest::newRow(Row[0]) << QString::fromLatin1(Row[0]) << QString::fromLatin1(Row[1]);
}

void KeyboardTest::enterMovesToSuccessor() {
  QFETCH(QString, From);
  QFETCH(QString, To);
  WindowFixture Fixture;
  Named(Fixture.Form(), From)->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Return);
  QCOMPARE(NameOf(Focused()), To);
  // The keypad's Enter key goes the same way.
  Named(Fixture.Form(), From)->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Enter);
  QCOMPARE(NameOf(Focused()), To);
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
  QVERIFY(Fixture.Watchdog.Seen.isEmpty());
}

void KeyboardTest::enterInsertsNothing() {
  WindowFixture Fixture;
  TypeInto(Fixture.Form().Edit8, QStringLiteral("12"));
  Fixture.Form().Edit8->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Return);
  QCOMPARE(Fixture.Form().Edit8->text(), QStringLiteral("12"));
  QCOMPARE(NameOf(Focused()), QStringLiteral("Edit9"));
}

void KeyboardTest::enterDoesNothingOnComboBoxAndCheckBox5() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  Form.Edit12->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Return);
  QCOMPARE(NameOf(Focused()), QStringLiteral("ComboBox1"));
  Press(Qt::Key_Return);
  QCOMPARE(NameOf(Focused()), QStringLiteral("ComboBox1"));
  QCOMPARE(Form.ComboBox1->currentIndex(), -1);

  Form.Edit22->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Return);
  QCOMPARE(NameOf(Focused()), QStringLiteral("Edit23"));
  Form.CheckBox5->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Return);
  QCOMPARE(NameOf(Focused()), QStringLiteral("CheckBox5"));
  QVERIFY(!Form.CheckBox5->isChecked());
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
}

void KeyboardTest::tabOrderRunsRoundThePanel() {
  WindowFixture Fixture;
  const QStringList Order = {
      "Edit1",     "Edit2",     "Edit3",     "Edit26", "Edit4",  "Edit5",     "Edit25",    "Edit18",    "Edit6",
      "Edit7",     "Edit8",     "Edit9",     "Edit10", "Edit12", "ComboBox1", "Edit11",    "CheckBox1", "CheckBox2",
      "CheckBox3", "CheckBox4", "CheckBox8", "Edit13", "Edit14", "Edit15",    "Edit16",    "Edit17",    "Edit19",
      "Edit20",    "Edit21",    "Edit22",    "Edit23", "Edit24", "CheckBox5", "CheckBox6", "Button1",   "Edit1"};
  Fixture.Form().Edit1->setFocus(Qt::MouseFocusReason);
  QStringList Forward = {NameOf(Focused())};
  for (int I = 1; I < Order.size(); ++I) {
    Press(Qt::Key_Tab);
    Forward << NameOf(Focused());
  }
  QCOMPARE(Forward, Order);
  QStringList Backward = {NameOf(Focused())};
  for (int I = 1; I < Order.size(); ++I) {
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    Backward.prepend(NameOf(Focused()));
  }
  QCOMPARE(Backward, Order);
}

void KeyboardTest::keyPressProcedureKeepsOnlyDigitsAndBackspace() {
  // Every UTF-16 code unit through the one procedure of the 32 handlers.
  // QChar::isDigit() would also pass the Persian and Arabic-Indic digits.
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  QString Kept;
  for (int Code = 0; Code <= 0xFFFF; ++Code) {
    if (Code == 13) continue;
    QChar Key(static_cast<char16_t>(Code));
    Form.KeyPress(Form.Edit8, Key);
    if (!Key.isNull()) {
      QCOMPARE(Key.unicode(), static_cast<char16_t>(Code));
      Kept += Key;
    }
  }
  QCOMPARE(Kept, QStringLiteral("\b0123456789"));
  QChar Enter(u'\r');
  Form.KeyPress(Form.Edit8, Enter);
  QVERIFY(Enter.isNull());
  QCOMPARE(NameOf(Focused()), QStringLiteral("Edit9"));
}

void KeyboardTest::typedCharactersAreFiltered_data() {
  QTest::addColumn<QString>("Control");
  QTest::addColumn<QString>("Typed");
  QTest::addColumn<QString>("Expected");
  QTest::newRow("digits and a letter") << "Edit8"
                                       << "12a3"
                                       << "123";
  QTest::newRow("minus, point, comma, space") << "Edit8"
                                              << "1-2.3,4 5"
                                              << "12345";
  QTest::newRow("Persian digits") << "Edit8" << QStringLiteral(u"۱۲۳4") << "4";
  QTest::newRow("Arabic-Indic digits") << "Edit2" << QStringLiteral(u"١٢5") << "5";
  QTest::newRow("Persian letters") << "Edit13" << QStringLiteral(u"س1ب") << "1";
  QTest::newRow("control characters") << "Edit1" << QStringLiteral(u"7\x1b\x01\t8") << "78";
  QTest::newRow("digits on a check box") << "CheckBox1"
                                         << "12"
                                         << "";
}

void KeyboardTest::typedCharactersAreFiltered() {
  QFETCH(QString, Control);
  QFETCH(QString, Typed);
  QFETCH(QString, Expected);
  WindowFixture Fixture;
  QWidget* Target = Named(Fixture.Form(), Control);
  Target->setFocus(Qt::MouseFocusReason);
  Type(Typed);
  if (auto* Edit = qobject_cast<QLineEdit*>(Target)) QCOMPARE(Edit->text(), Expected);
  if (auto* Box = qobject_cast<QCheckBox*>(Target)) QVERIFY(!Box->isChecked());
  QCOMPARE(Focused(), Target);
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
}

void KeyboardTest::commandKeysKeepTheirFunction() {
  WindowFixture Fixture;
  QLineEdit* Edit = Fixture.Form().Edit8;
  TypeInto(Edit, QStringLiteral("1234"));
  Press(Qt::Key_Backspace);
  QCOMPARE(Edit->text(), QStringLiteral("123"));
  Press(Qt::Key_Home);
  // X11 gives Delete the text DEL (127); it must still delete.
  QTest::sendKeyEvent(QTest::Click, Edit, Qt::Key_Delete, QStringLiteral("\x7f"), Qt::NoModifier);
  QCOMPARE(Edit->text(), QStringLiteral("23"));
  // Pasting is not filtered: the text reaches the conversion and its message.
  QApplication::clipboard()->setText(QStringLiteral("x9"));
  Press(Qt::Key_End);
  Press(Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(Edit->text(), QStringLiteral("23x9"));
}

void KeyboardTest::lengthLimits_data() {
  QTest::addColumn<QString>("Control");
  QTest::addColumn<int>("Limit");  // 0: none
  for (const char* Name : {"Edit6", "Edit7", "Edit11"}) QTest::newRow(Name) << Name << 2;
  for (const char* Name : {"Edit10", "Edit13", "Edit14", "Edit15", "Edit16", "Edit17", "Edit19", "Edit20", "Edit21",
                           "Edit22", "Edit23", "Edit24"})
    QTest::newRow(Name) << Name << 3;
  for (const char* Name :
       {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit18", "Edit25", "Edit26", "Edit8", "Edit9", "Edit12"})
    QTest::newRow(Name) << Name << 0;
}

void KeyboardTest::lengthLimits() {
  QFETCH(QString, Control);
  QFETCH(int, Limit);
  WindowFixture Fixture;
  const QString Typed = QStringLiteral("12345678901234567890");
  TypeInto(qobject_cast<QLineEdit*>(Named(Fixture.Form(), Control)), Typed);
  QCOMPARE(qobject_cast<QLineEdit*>(Named(Fixture.Form(), Control))->text(), Limit ? Typed.left(Limit) : Typed);
}

void KeyboardTest::spaceTogglesCheckBoxAndFocusStays() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  Form.CheckBox1->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Space);
  QVERIFY(Form.CheckBox1->isChecked());
  QCOMPARE(NameOf(Focused()), QStringLiteral("CheckBox1"));
  Press(Qt::Key_Space);
  QVERIFY(!Form.CheckBox1->isChecked());
  Press(Qt::Key_Return);
  QCOMPARE(NameOf(Focused()), QStringLiteral("CheckBox2"));
  // Space on CheckBox6 is a toggle too, which moves on to the compute button.
  Form.CheckBox6->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Space);
  QVERIFY(Form.CheckBox6->isChecked());
  QCOMPARE(NameOf(Focused()), QStringLiteral("Button1"));
}

void KeyboardTest::comboBoxChoiceMovesToEdit11() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  Form.Edit12->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Return);
  Press(Qt::Key_Down);
  QCOMPARE(Form.ComboBox1->currentIndex(), 0);
  QCOMPARE(NameOf(Focused()), QStringLiteral("Edit11"));
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  QCOMPARE(NameOf(Focused()), QStringLiteral("ComboBox1"));
  Press(Qt::Key_Down);
  QCOMPARE(Form.ComboBox1->currentIndex(), 1);
  QCOMPARE(NameOf(Focused()), QStringLiteral("Edit11"));
  // Down on the last item changes nothing and does not move.
  Form.ComboBox1->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Down);
  QCOMPARE(Form.ComboBox1->currentIndex(), 1);
  QCOMPARE(NameOf(Focused()), QStringLiteral("ComboBox1"));
  // Type-ahead by the first letter of the other item.
  Type(QStringLiteral(u"ت"));
  QCOMPARE(Form.ComboBox1->currentIndex(), 0);
  QCOMPARE(NameOf(Focused()), QStringLiteral("Edit11"));
}

void KeyboardTest::checkBox6ClickMovesToButton1AndEnterComputes() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  Form.Edit13->setFocus(Qt::MouseFocusReason);
  Click(Form.CheckBox6, QPoint(8, Form.CheckBox6->height() / 2));
  QVERIFY(Form.CheckBox6->isChecked());
  QCOMPARE(NameOf(Focused()), QStringLiteral("Button1"));
  // Enter presses the button: with nothing typed, the first check speaks.
  Press(Qt::Key_Return);
  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(NameOf(Focused()), QStringLiteral("Edit1"));
  // Space presses it too.
  Form.Button1->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Space);
  QCOMPARE(Fixture.Recorder.Messages.size(), 2);
}

void KeyboardTest::enterWithModifierDoesNotPressButton1() {
  WindowFixture Fixture;
  Fixture.Form().Button1->setFocus(Qt::MouseFocusReason);
  for (Qt::KeyboardModifier Modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
    Press(Qt::Key_Return, Modifier);
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
}

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
