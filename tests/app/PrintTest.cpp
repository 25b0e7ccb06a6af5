// SPDX-License-Identifier: GPL-3.0-or-later
// Printing RichEdit1: the nothing-to-print message, the dialog seam, one job
// with its name over as many pages as the text needs, and print failures.
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>

#include "tests/app/TestSupport.h"

namespace {

// Runs a poppler tool on the file and returns what it printed.
QString Poppler(const QString& Tool, const QStringList& Arguments) {
  QProcess Process;
  Process.start(Tool, Arguments);
  if (!Process.waitForFinished(30000) || Process.exitCode() != 0) return QStringLiteral("(%1 failed)").arg(Tool);
  return QString::fromUtf8(Process.readAllStandardOutput());
}

QString InfoField(const QString& Pdf, const QString& Field) {
  const QStringList Lines = Poppler(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), Pdf})
                                .split(QLatin1Char('\n'));
  for (const QString& Line : Lines)
    if (Line.startsWith(Field + QLatin1Char(':'))) return Line.mid(Field.size() + 1).trimmed();
  return QStringLiteral("(no %1)").arg(Field);
}

QString PdfText(const QString& Pdf) {
  return Poppler(QStringLiteral("pdftotext"),
                 {QStringLiteral("-enc"), QStringLiteral("UTF-8"), Pdf, QStringLiteral("-")});
}

// What pdftotext gives: Persian with presentation forms and bidi marks; fold
// both away so that plain phrases can be looked for.
QString Plain(QString Text) {
  Text = Text.normalized(QString::NormalizationForm_KC);
  Text.remove(QRegularExpression(QStringLiteral("[\u200e\u200f\u202a-\u202e]")));
  return Text;
}

}  // namespace

class PrintTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }
  void init();
  void cleanup();

  void reportPrintsOneJobOnOnePage();
  void longEditedTextContinuesOnSecondPage();
  void nothingToPrint_data();
  void nothingToPrint();
  void cancelledDialogPrintsNothing();
  void realDialogIsModal();
  void chosenPrinterIsKeptForTheRun();
  void jobThatCannotStartIsReported();

 private:
  // Computes input A; the next print goes to Pdf without a dialog.
  void ComputeAndPrepare();
  void Print() { Click(Fixture->Form().Button2); }

  std::unique_ptr<WindowFixture> Fixture;
  QString Pdf;
  int DialogCalls = 0;
  QList<QPrinter*> Printers;
  std::function<bool(QPrinter&)> Default;
};

void PrintTest::init() {
  Fixture = std::make_unique<WindowFixture>();
  Pdf = Fixture->Folder() + QStringLiteral("/report.pdf");
  DialogCalls = 0;
  Default = Fixture->Form().ExecPrintDialog;
  Printers.clear();
  Fixture->Form().ExecPrintDialog = [this](QPrinter& Printer) {
    ++DialogCalls;
    Printers << &Printer;
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(Pdf);
    return true;
  };
}

void PrintTest::cleanup() {
  QVERIFY2(Fixture->Watchdog.Seen.isEmpty(), qPrintable(Fixture->Watchdog.Seen));
  Fixture.reset();
}

void PrintTest::ComputeAndPrepare() {
  FillInputA(Fixture->Form());
  Click(Fixture->Form().Button1);
  QVERIFY(Fixture->Form().Panel1->isVisible());
}

void PrintTest::reportPrintsOneJobOnOnePage() {
  ComputeAndPrepare();
  Print();
  QVERIFY(Fixture->Recorder.Messages.isEmpty());
  QCOMPARE(DialogCalls, 1);
  const QString JobName = QStringLiteral(u"چاپ نتیجه محاسبات");
  QCOMPARE(Printers[0]->docName(), JobName);
  // Qt writes the job's name as the document title.
  QCOMPARE(InfoField(Pdf, QStringLiteral("Title")), JobName);
  QCOMPARE(InfoField(Pdf, QStringLiteral("Pages")), QStringLiteral("1"));
  const QString Text = Plain(PdfText(Pdf));
  for (const QString& Phrase : {QStringLiteral(u"فوق العاده جذب"), QStringLiteral("2,588,000"),
                                QStringLiteral(u"جمع کل حکم"), QStringLiteral("11,739,440")})
    QVERIFY2(Text.contains(Phrase), qPrintable(Phrase));
  // The panels stay as they were.
  QVERIFY(Fixture->Form().Panel1->isVisible());
}

void PrintTest::longEditedTextContinuesOnSecondPage() {
  ComputeAndPrepare();
  TForm1& Form = Fixture->Form();
  Form.RichEdit1->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_End, Qt::ControlModifier);
  for (int Line = 0; Line < 70; ++Line) {
    Type(QStringLiteral(u"سطر افزوده"));
    Press(Qt::Key_Return);
  }
  Type(QStringLiteral(u"پایان متن"));
  Print();
  QVERIFY(Fixture->Recorder.Messages.isEmpty());
  QCOMPARE(InfoField(Pdf, QStringLiteral("Pages")), QStringLiteral("2"));
  const QString Text = Plain(PdfText(Pdf));
  QVERIFY(Text.contains(QStringLiteral(u"پایان متن")));
  QVERIFY(Text.contains(QStringLiteral(u"حقوق مبنا")));
}

void PrintTest::nothingToPrint_data() {
  QTest::addColumn<QString>("Typed");
  QTest::newRow("all deleted") << "";
  QTest::newRow("only spaces and empty lines") << "   \r \r\r  ";
}

void PrintTest::nothingToPrint() {
  QFETCH(QString, Typed);
  ComputeAndPrepare();
  Fixture->Form().RichEdit1->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_A, Qt::ControlModifier);
  Press(Qt::Key_Delete);
  for (QChar Key : Typed) {
    if (Key == QLatin1Char('\r'))
      Press(Qt::Key_Return);
    else
      Press(Qt::Key_Space);
  }
  Print();
  QCOMPARE(DialogCalls, 0);
  QCOMPARE(Fixture->Recorder.Messages.size(), 1);
  QCOMPARE(Fixture->Recorder.Messages[0].Kind, MessageKind::Standard);
  QCOMPARE(Fixture->Recorder.Messages[0].Text, QStringLiteral(u"موردی برای چاپ وجود ندارد"));
  QVERIFY(!QFile::exists(Pdf));
}

void PrintTest::cancelledDialogPrintsNothing() {
  ComputeAndPrepare();
  Fixture->Form().ExecPrintDialog = [this](QPrinter&) {
    ++DialogCalls;
    return false;
  };
  Print();
  QCOMPARE(DialogCalls, 1);
  QVERIFY(Fixture->Recorder.Messages.isEmpty());
  QVERIFY(!QFile::exists(Pdf));
}

void PrintTest::realDialogIsModal() {
  ComputeAndPrepare();
  Fixture->Form().ExecPrintDialog = Default;
  Print();
  // The watchdog found the system print dialog and cancelled it.
  QCOMPARE(Fixture->Watchdog.Seen, QStringLiteral("QPrintDialog"));
  Fixture->Watchdog.Seen.clear();
  QVERIFY(Fixture->Form().PrintDialog1);
  QVERIFY(Fixture->Recorder.Messages.isEmpty());
}

void PrintTest::chosenPrinterIsKeptForTheRun() {
  ComputeAndPrepare();
  Print();
  Fixture->Form().ExecPrintDialog = [this](QPrinter& Printer) {
    Printers << &Printer;
    // The dialog opens on what was chosen last time.
    return Printer.outputFileName() == Pdf;
  };
  QFile::remove(Pdf);
  Print();
  QCOMPARE(Printers.size(), 2);
  QCOMPARE(Printers[1], Printers[0]);
  QCOMPARE(InfoField(Pdf, QStringLiteral("Pages")), QStringLiteral("1"));
}

void PrintTest::jobThatCannotStartIsReported() {
  ComputeAndPrepare();
  Pdf = Fixture->Folder() + QStringLiteral("/missing/report.pdf");
  const QString Before = Fixture->Form().RichEdit1->toPlainText();
  Print();
  QCOMPARE(Fixture->Recorder.Messages.size(), 1);
  QCOMPARE(Fixture->Recorder.Messages[0].Kind, MessageKind::Error);
  QCOMPARE(Fixture->Recorder.Messages[0].Text, QString::fromUtf8("چاپ آغاز نشد."));
  QCOMPARE(Fixture->Form().RichEdit1->toPlainText(), Before);
  QVERIFY(Fixture->Form().Panel1->isVisible());
}

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
