// SPDX-License-Identifier: GPL-3.0-or-later
// The window's printout and the shared report layout's printout of the same
// report lines are one and the same: text, pages and every pixel.
#include <QFrame>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include "decree/DecreeReport.h"
#include "decree/WindowTexts.h"
#include "report/ReportLayout.h"
#include "tests/app/PdfReader.h"
#include "tests/app/TestSupport.h"
#include "tests/decree/WorkedInputs.h"

class SharedPrintTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }
  void windowAndSharedLayoutPrintTheSame_data();
  void windowAndSharedLayoutPrintTheSame();
};

void SharedPrintTest::windowAndSharedLayoutPrintTheSame_data() {
  QTest::addColumn<int>("Size");
  QTest::addColumn<bool>("OnePage");
  QTest::newRow("A4, one page") << int(QPageSize::A4) << true;
  // A7 is narrow enough to wrap the opening line and short enough to break the page.
  QTest::newRow("A7, wrapped over pages") << int(QPageSize::A7) << false;
}

void SharedPrintTest::windowAndSharedLayoutPrintTheSame() {
  QFETCH(int, Size);
  QFETCH(bool, OnePage);
  const QPageSize Paper(static_cast<QPageSize::PageSizeId>(Size));
  WindowFixture Fixture;
  const QString WindowPdf = Fixture.Folder() + QStringLiteral("/window.pdf");
  const QString SharedPdf = Fixture.Folder() + QStringLiteral("/shared.pdf");
  Fixture.Form().ExecPrintDialog = [&](QPrinter& Printer) {
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(WindowPdf);
    Printer.setPageSize(Paper);
    return true;
  };
  FillInputA(Fixture.Form());
  Click(Fixture.Form().Button1);
  QVERIFY(Fixture.Form().Panel1->isVisible());
  Click(Fixture.Form().Button2);
  QVERIFY(Fixture.Recorder.Messages.isEmpty());

  // The same decree through the core and the shared layout, as the batch prints it.
  const std::vector<std::string> Lines =
      BuildDecreeReport(ComputeDecree(WorkedA(), GroupPointsTable), Fixture.Form().Format());
  QPrinter Printer(QPrinter::HighResolution);
  Printer.setOutputFormat(QPrinter::PdfFormat);
  Printer.setOutputFileName(SharedPdf);
  Printer.setPageSize(Paper);
  TReportJob Job(Printer, QString::fromUtf8(WindowTexts::PrintJobName));
  const std::unique_ptr<QTextDocument> Document = NewReportDocument();
  AppendReportLines(*Document, Lines);
  Job.Print(*Document);
  Job.Finish();

  const int Pages = PdfReader::Pages(WindowPdf);
  QCOMPARE(Pages == 1, OnePage);
  QVERIFY(Pages >= 1);
  QCOMPARE(PdfReader::Pages(SharedPdf), Pages);
  QCOMPARE(PdfReader::Info(SharedPdf, QStringLiteral("Title")), PdfReader::Info(WindowPdf, QStringLiteral("Title")));
  const QString Text = PdfReader::Text(SharedPdf);
  QCOMPARE(Text, PdfReader::Text(WindowPdf));
  QVERIFY2(PdfReader::Plain(Text).contains(QStringLiteral("11,739,440")), qPrintable(Text));
  const QList<QImage> WindowPages = PdfReader::Pictures(WindowPdf, 72);
  const QList<QImage> SharedPages = PdfReader::Pictures(SharedPdf, 72);
  QCOMPARE(SharedPages.size(), Pages);
  for (int Page = 0; Page < Pages; ++Page)
    QVERIFY2(SharedPages[Page] == WindowPages[Page], qPrintable(QString::number(Page + 1)));
}

QTEST_MAIN(SharedPrintTest)
#include "SharedPrintTest.moc"
