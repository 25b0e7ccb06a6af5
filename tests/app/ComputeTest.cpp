// SPDX-License-Identifier: GPL-3.0-or-later
// The compute button: the required-field checks, the group range, the "0"
// writes, the report in RichEdit1, info.ini and the panel switch.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "tests/app/TestSupport.h"

namespace {

struct Check {
  const char* Missing;  // the control left empty, which gets the focus
  const char16_t* Message;
};

// The thirteen checks in their order.
const Check Checks[] = {
    {"Edit1", u"ضریب اعلامی برای سال جدید را وارد کنید"},
    {"Edit2", u"مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید"},
    {"Edit3", u"مبلغ حداقل حقوق موثر برای سال جدید را به صورت ریال وارد کنید"},
    {"Edit26", u"مبلغ حداقل حقوق و مزایا برای سال جدید را به صورت ریال وارد کنید"},
    {"Edit4", u"مبلغ حق عائله مندی برای سال جدید را به صورت ریال وارد کنید"},
    {"Edit5", u"مبلغ حق اولاد برای سال جدید را به صورت ریال وارد کنید"},
    {"Edit6",
     u"گروه مستخدم شامل کل گروه های دریافتی اعم از استحقاقی، تشویقی و ... برای سال جدید را به صورت عددی وارد کنید"},
    {"Edit8", u"مبلغ حقوق پایه سال قبل را به صورت ریال وارد کنید"},
    {"Edit9", u"مبلغ افزایش سنواتی سال قبل را به صورت ریال وارد کنید"},
    {"Edit10", u"درصد افزایش سنواتی برای سال جدید را به صورت عددی وارد کنید"},
    {"ComboBox1", u"نوع بیمه مستخدم را انتخاب کنید"},
    {"Edit13", u"درصد فوق العاده شغل برای سال جدید را به صورت عددی وارد کنید"},
    {"Edit14", u"درصد فوق العاده جذب برای سال جدید را به صورت عددی وارد کنید"},
};

QString Message(const char16_t* Text) { return QString::fromUtf16(Text); }

QStringList EditTexts(TForm1& Form) {
  QStringList Texts;
  for (int Number = 1; Number <= 26; ++Number)
    Texts << Form.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(Number))->text();
  return Texts;
}

QString FileText(const QString& Path) {
  QFile File(Path);
  return File.open(QIODevice::ReadOnly) ? QString::fromUtf8(File.readAll()) : QStringLiteral("(missing)");
}

// Clears an edit box through the keyboard.
void Erase(QLineEdit* Edit) {
  Edit->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_A, Qt::ControlModifier);
  Press(Qt::Key_Backspace);
}

}  // namespace

class ComputeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }

  void eachCheckStopsWithItsMessage_data();
  void eachCheckStopsWithItsMessage();
  void firstFailingCheckWins_data();
  void firstFailingCheckWins();
  void groupRange_data();
  void groupRange();
  void emptyOptionalFieldsGetZero();
  void conversionErrorKeepsEarlierZeros();
  void inputATypedThroughKeyboard();
  void returningKeepsEveryInput();
  void recomputingReplacesTheReport();
  void saveFailureKeepsInputPanelInFront();
};

void ComputeTest::eachCheckStopsWithItsMessage_data() {
  QTest::addColumn<QString>("Missing");
  QTest::addColumn<QString>("Expected");
  for (const Check& Row : Checks)
    QTest::newRow(Row.Missing) << QString::fromLatin1(Row.Missing) << Message(Row.Message);
}

void ComputeTest::eachCheckStopsWithItsMessage() {
  QFETCH(QString, Missing);
  QFETCH(QString, Expected);
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  FillInputA(Form, {Missing});
  const QStringList Before = EditTexts(Form);
  Click(Form.Button1);
  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(Fixture.Recorder.Messages[0].Kind, MessageKind::Standard);
  QCOMPARE(Fixture.Recorder.Messages[0].Text, Expected);
  QCOMPARE(Focused()->objectName(), Missing);
  // Nothing converted, nothing written, nothing saved.
  QCOMPARE(EditTexts(Form), Before);
  QVERIFY(Form.Panel2->isVisible());
  QVERIFY(Form.RichEdit1->toPlainText().isEmpty());
  QVERIFY(!QFile::exists(Fixture.InfoPath()));
}

void ComputeTest::firstFailingCheckWins_data() {
  QTest::addColumn<QStringList>("Missing");
  QTest::addColumn<int>("Winner");  // index into Checks
  QTest::newRow("coefficient before declared minimum") << QStringList{"Edit1", "Edit2"} << 0;
  QTest::newRow("Edit26 before Edit4") << QStringList{"Edit4", "Edit26"} << 3;
  QTest::newRow("insurance before job percent") << QStringList{"ComboBox1", "Edit13"} << 10;
  QTest::newRow("group before last year's salary") << QStringList{"Edit8", "Edit6"} << 6;
}

void ComputeTest::firstFailingCheckWins() {
  QFETCH(QStringList, Missing);
  QFETCH(int, Winner);
  WindowFixture Fixture;
  FillInputA(Fixture.Form(), Missing);
  Click(Fixture.Form().Button1);
  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(Fixture.Recorder.Messages[0].Text, Message(Checks[Winner].Message));
  QCOMPARE(Focused()->objectName(), QString::fromLatin1(Checks[Winner].Missing));
}

void ComputeTest::groupRange_data() {
  QTest::addColumn<QString>("Group");
  QTest::addColumn<QString>("Incentive");
  QTest::addColumn<QString>("Expected");  // empty: computes
  QTest::addColumn<QString>("Focus");
  const QString OutOfRange = QStringLiteral(u"گروه مستخدم باید عددی از 1 تا 20 باشد");
  const QString TooMany = QStringLiteral(u"تعداد گروه های تشویقی باید کمتر از گروه مستخدم باشد");
  QTest::newRow("group 0") << "0"
                           << "" << OutOfRange << "Edit6";
  QTest::newRow("group 21") << "21"
                            << "" << OutOfRange << "Edit6";
  QTest::newRow("group 99") << "99"
                            << "2" << OutOfRange << "Edit6";
  QTest::newRow("incentive groups equal to the group") << "9"
                                                       << "9" << TooMany << "Edit7";
  QTest::newRow("incentive groups above the group") << "3"
                                                    << "12" << TooMany << "Edit7";
  QTest::newRow("group 20, 19 incentive groups") << "20"
                                                 << "19"
                                                 << ""
                                                 << "";
  QTest::newRow("group 1") << "1"
                           << ""
                           << ""
                           << "";
}

void ComputeTest::groupRange() {
  QFETCH(QString, Group);
  QFETCH(QString, Incentive);
  QFETCH(QString, Expected);
  QFETCH(QString, Focus);
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  FillInputA(Form, {"Edit6", "Edit7"});
  TypeInto(Form.Edit6, Group);
  TypeInto(Form.Edit7, Incentive);
  Click(Form.Button1);
  if (Expected.isEmpty()) {
    QVERIFY(Fixture.Recorder.Messages.isEmpty());
    QVERIFY(Form.Panel1->isVisible());
    return;
  }
  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(Fixture.Recorder.Messages[0].Kind, MessageKind::Standard);
  QCOMPARE(Fixture.Recorder.Messages[0].Text, Expected);
  QCOMPARE(Focused()->objectName(), Focus);
  QVERIFY(Form.Panel2->isVisible());
  QVERIFY(!QFile::exists(Fixture.InfoPath()));
}

void ComputeTest::emptyOptionalFieldsGetZero() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  FillInputA(Form, {"Edit7", "Edit11", "Edit15", "Edit20"});
  Click(Form.Button1);
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
  QVERIFY(Form.Panel1->isVisible());
  QVERIFY(!Form.Panel2->isVisible());
  for (int Number : {7, 11, 12, 15, 16, 17, 19, 20, 21, 22, 23, 24})
    QCOMPARE(Form.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(Number))->text(), QStringLiteral("0"));
  QCOMPARE(Form.Edit18->text(), QString());
  QCOMPARE(Form.Edit25->text(), QString());
}

void ComputeTest::conversionErrorKeepsEarlierZeros() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  FillInputA(Form, {"Edit7", "Edit11", "Edit13", "Edit15", "Edit20"});
  QApplication::clipboard()->setText(QStringLiteral("12a"));
  Form.Edit13->paste();
  Click(Form.Button1);
  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(Fixture.Recorder.Messages[0].Kind, MessageKind::Error);
  QCOMPARE(Fixture.Recorder.Messages[0].Text, QStringLiteral("'12a' is not a valid floating point value."));
  for (int Number : {7, 11, 12})
    QCOMPARE(Form.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(Number))->text(), QStringLiteral("0"));
  for (int Number : {15, 16, 17, 19, 20, 21, 22, 23, 24})
    QCOMPARE(Form.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(Number))->text(), QString());
  QVERIFY(Form.Panel2->isVisible());
  QVERIFY(Form.RichEdit1->toPlainText().isEmpty());
  QVERIFY(!QFile::exists(Fixture.InfoPath()));
}

void ComputeTest::inputATypedThroughKeyboard() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  TypeInputA(Form);
  QCOMPARE(Focused(), static_cast<QWidget*>(Form.Button1));
  Press(Qt::Key_Return);
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
  QCOMPARE(Form.RichEdit1->toPlainText(), ReportOfInputA());
  QCOMPARE(FileText(Fixture.InfoPath()),
           QStringLiteral("1000\r\n2000000\r\n1600000\r\n300000\r\n100000\r\n\r\n\r\n6000000\r\n"));
  QVERIFY(Form.Panel1->isVisible());
  QVERIFY(!Form.Panel2->isVisible());
  QCOMPARE(Form.Edit12->text(), QStringLiteral("0"));
  QCOMPARE(Form.Edit18->text(), QString());
}

void ComputeTest::returningKeepsEveryInput() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  FillInputA(Form);
  Click(Form.Button1);
  QVERIFY(Form.Panel1->isVisible());
  const QStringList Used = EditTexts(Form);
  Click(Form.Button3);
  QVERIFY(Form.Panel2->isVisible());
  QVERIFY(!Form.Panel1->isVisible());
  QCOMPARE(EditTexts(Form), Used);
  QCOMPARE(Form.ComboBox1->currentIndex(), 1);
  QVERIFY(Form.CheckBox1->isChecked() && Form.CheckBox3->isChecked());
  QVERIFY(!Form.CheckBox2->isChecked() && !Form.CheckBox4->isChecked() && !Form.CheckBox8->isChecked());
  QCOMPARE(Form.RichEdit1->toPlainText(), ReportOfInputA());
}

void ComputeTest::recomputingReplacesTheReport() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  FillInputA(Form);
  Click(Form.Button1);
  Click(Form.Button3);
  Erase(Form.Edit13);
  Type(QStringLiteral("30"));
  Click(Form.Button1);
  const QString Report = Form.RichEdit1->toPlainText();
  // 30 % of 880,000 replaces 20 %; every line of the first report is gone.
  QVERIFY(Report.contains(QStringLiteral(u"     فوق العاده شغل: 264,000\n")));
  QVERIFY(!Report.contains(QStringLiteral(u"فوق العاده شغل: 176,000")));
  QCOMPARE(Report.count(QStringLiteral(u"حقوق مبنا")), 1);
  QVERIFY(Form.Panel1->isVisible());
}

void ComputeTest::saveFailureKeepsInputPanelInFront() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  FillInputA(Form);
  // The working folder disappears under the running program.
  QVERIFY(QDir(Fixture.Folder()).removeRecursively());
  Click(Form.Button1);
  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(Fixture.Recorder.Messages[0].Kind, MessageKind::Error);
  QCOMPARE(Fixture.Recorder.Messages[0].Text,
           QStringLiteral("Cannot create file \"%1/info.ini\". No such file or directory.").arg(Fixture.Folder()));
  // The report was written before the save; the panels were not switched.
  QCOMPARE(Form.RichEdit1->toPlainText(), ReportOfInputA());
  QVERIFY(Form.Panel2->isVisible());
  QVERIFY(!Form.Panel1->isVisible());
}

QTEST_MAIN(ComputeTest)
#include "ComputeTest.moc"
