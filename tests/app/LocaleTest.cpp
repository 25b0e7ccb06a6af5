// SPDX-License-Identifier: GPL-3.0-or-later
// Run under a German locale: the separators of the report and of the
// auto-fill come from the regional settings, not from the C locale.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "tests/app/TestSupport.h"

class LocaleTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    SetUpApplication();
    QVERIFY2(QLocale::system().groupSeparator() == QLatin1String("."),
             "needs LC_ALL=de_DE.UTF-8, as the ctest entry sets");
  }
  void reportGroupsWithThePoint();
  void autoFillWritesTheDecimalComma();
};

void LocaleTest::reportGroupsWithThePoint() {
  WindowFixture Fixture;
  FillInputA(Fixture.Form());
  Click(Fixture.Form().Button1);
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
  QCOMPARE(Fixture.Form().RichEdit1->toPlainText(), ReportOfInputA().replace(QLatin1Char(','), QLatin1Char('.')));
}

void LocaleTest::autoFillWritesTheDecimalComma() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  QApplication::clipboard()->setText(QStringLiteral("2,5"));
  Form.Edit1->paste();
  TypeInto(Form.Edit25, QStringLiteral("3"));
  QCOMPARE(Form.Edit18->text(), QStringLiteral("7,5"));
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
}

QTEST_MAIN(LocaleTest)
#include "LocaleTest.moc"
