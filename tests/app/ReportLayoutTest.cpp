// SPDX-License-Identifier: GPL-3.0-or-later
// The shared report layout in a program with a QGuiApplication and no window,
// as the batch program runs it: report documents, and print jobs of several
// documents read back from the PDF with poppler.
#include <stdexcept>
#include <string>
#include <vector>

#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "decree/DecreeReport.h"
#include "report/ReportLayout.h"
#include "report/ReportTexts.h"
#include "tests/app/PdfReader.h"
#include "tests/decree/WorkedInputs.h"

namespace {

const QString JobName = QStringLiteral(u"چاپ نتیجه محاسبات");

std::vector<std::string> ReportLines(const DecreeInput& Input) {
  return BuildDecreeReport(ComputeDecree(Input, GroupPointsTable), NumberFormat{});
}

// Lines "سطر 1" … "سطر Count": a document longer than a page.
std::vector<std::string> NumberedLines(int Count) {
  std::vector<std::string> Lines;
  for (int Line = 1; Line <= Count; ++Line) Lines.push_back("سطر " + std::to_string(Line));
  return Lines;
}

std::unique_ptr<QTextDocument> Document(const std::vector<std::string>& Lines) {
  std::unique_ptr<QTextDocument> Result = NewReportDocument();
  AppendReportLines(*Result, Lines);
  return Result;
}

void SetPdf(QPrinter& Printer, const QString& Path, QPageSize::PageSizeId Size = QPageSize::A4) {
  Printer.setOutputFormat(QPrinter::PdfFormat);
  Printer.setOutputFileName(Path);
  Printer.setPageSize(QPageSize(Size));
}

}  // namespace

class ReportLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void documentHoldsAParagraphPerLine();
  void linesAppendAfterWhatIsThere();
  void eachDocumentStartsOnANewPage_data();
  void eachDocumentStartsOnANewPage();
  void textFillsThePrintableAreaAtTwelvePoints();
  void jobThatCannotStartCarriesTheWindowsText_data();
  void jobThatCannotStartCarriesTheWindowsText();

 private:
  QTemporaryDir Dir;
};

void ReportLayoutTest::documentHoldsAParagraphPerLine() {
  const std::vector<std::string> Lines = ReportLines(WorkedA());
  const auto Doc = Document(Lines);
  QCOMPARE(Doc->defaultFont().pixelSize(), 16);
  QCOMPARE(Doc->defaultFont().families().value(0), QStringLiteral("Tahoma"));
  QCOMPARE(Doc->defaultTextOption().textDirection(), Qt::RightToLeft);
  // 18 lines of decree A, then the empty paragraph the last break opens.
  QCOMPARE(Doc->blockCount(), 19);
  QTextBlock Block = Doc->begin();
  for (const std::string& Line : Lines) {
    QCOMPARE(Block.text(), QString::fromStdString(Line));
    QCOMPARE(Block.blockFormat().layoutDirection(), Qt::RightToLeft);
    QCOMPARE(Block.blockFormat().alignment(), Qt::AlignRight | Qt::AlignAbsolute);
    Block = Block.next();
  }
  QVERIFY(Block.text().isEmpty());
  const QString Text = Doc->toPlainText();
  QVERIFY(Text.startsWith(
      QStringLiteral(u"     \n     حقوق مبنا: 880,000     افزایش سنواتی: 136,000     حقوق پایه: 1,016,000\n")));
  QVERIFY(Text.endsWith(QStringLiteral(u"\n     جمع کل حکم (با حق مسکن): 11,739,440\n")));
}

void ReportLayoutTest::linesAppendAfterWhatIsThere() {
  // The batch puts a decree's identification lines above its report.
  const auto Doc = Document({"شماره پرسنلی: 1024", "نام: مریم"});
  AppendReportLines(*Doc, {"     حق مسکن: 1,873,240"});
  QCOMPARE(Doc->toPlainText(), QStringLiteral(u"شماره پرسنلی: 1024\nنام: مریم\n     حق مسکن: 1,873,240\n"));
  QCOMPARE(Doc->blockCount(), 4);
  for (QTextBlock Block = Doc->begin(); Block.isValid(); Block = Block.next())
    QCOMPARE(Block.blockFormat().layoutDirection(), Qt::RightToLeft);
}

void ReportLayoutTest::eachDocumentStartsOnANewPage_data() {
  QTest::addColumn<int>("FirstLines");
  QTest::addColumn<int>("SecondLines");
  QTest::addColumn<int>("FirstPages");
  QTest::addColumn<int>("SecondPages");
  // An A4 page holds about 45 lines of 16 px.
  QTest::newRow("two short documents") << 3 << 5 << 1 << 1;
  QTest::newRow("a long first document") << 80 << 5 << 2 << 1;
  QTest::newRow("a long second document") << 3 << 80 << 1 << 2;
}

void ReportLayoutTest::eachDocumentStartsOnANewPage() {
  QFETCH(int, FirstLines);
  QFETCH(int, SecondLines);
  QFETCH(int, FirstPages);
  QFETCH(int, SecondPages);
  std::vector<std::string> First = NumberedLines(FirstLines);
  First.insert(First.begin(), "سند نخست");
  std::vector<std::string> Second = NumberedLines(SecondLines);
  Second.insert(Second.begin(), "سند دوم");
  const QString Pdf = Dir.filePath(QStringLiteral("two-%1-%2.pdf").arg(FirstLines).arg(SecondLines));
  QPrinter Printer(QPrinter::HighResolution);
  SetPdf(Printer, Pdf);
  TReportJob Job(Printer, JobName);
  Job.Print(*Document(First));
  Job.Print(*Document(Second));
  QCOMPARE(Job.Pages(), FirstPages + SecondPages);
  Job.Finish();

  QCOMPARE(PdfReader::Pages(Pdf), FirstPages + SecondPages);
  QCOMPARE(PdfReader::Info(Pdf, QStringLiteral("Title")), JobName);
  const QString FirstPage = PdfReader::Plain(PdfReader::Text(Pdf, 1));
  const QString SecondStart = PdfReader::Plain(PdfReader::Text(Pdf, FirstPages + 1));
  const QString LastPage = PdfReader::Plain(PdfReader::Text(Pdf, FirstPages + SecondPages));
  QVERIFY2(FirstPage.contains(QStringLiteral(u"سند نخست")), qPrintable(FirstPage));
  QVERIFY(!FirstPage.contains(QStringLiteral(u"سند دوم")));
  QVERIFY2(SecondStart.contains(QStringLiteral(u"سند دوم")), qPrintable(SecondStart));
  QVERIFY(!SecondStart.contains(QStringLiteral(u"سند نخست")));
  // The second document's last line ends the job; nothing of it is lost.
  QVERIFY2(LastPage.contains(QStringLiteral(u"سطر %1").arg(SecondLines)), qPrintable(LastPage));
  if (FirstPages > 1) {
    const QString Continued = PdfReader::Plain(PdfReader::Text(Pdf, 2));
    QVERIFY2(Continued.contains(QStringLiteral(u"سطر %1").arg(FirstLines)), qPrintable(Continued));
  }
}

void ReportLayoutTest::textFillsThePrintableAreaAtTwelvePoints() {
  const QString Pdf = Dir.filePath(QStringLiteral("area.pdf"));
  QPrinter Printer(QPrinter::HighResolution);
  SetPdf(Printer, Pdf);
  TReportJob Job(Printer, JobName);
  Job.Print(*Document({"نخست", "دوم"}));
  Job.Finish();
  QVERIFY2(PdfReader::Info(Pdf, QStringLiteral("Page size")).startsWith(QStringLiteral("595 x 842 pts")),
           qPrintable(PdfReader::Info(Pdf, QStringLiteral("Page size"))));
  // pdftotext boxes Persian glyph by glyph: gather them into lines by their top.
  QMap<int, QRectF> Lines;
  for (const QRectF& Glyph : PdfReader::WordBoxes(Pdf, 1)) {
    QRectF& Line = Lines[qRound(Glyph.top() * 10)];
    Line = Line.isNull() ? Glyph : Line.united(Glyph);
  }
  QCOMPARE(Lines.size(), 2);
  // A PDF printer can reach the whole sheet: aligned right at its right edge,
  // from its top, with none of the 2 cm a QTextDocument::print would add.
  for (const QRectF& Line : Lines)
    QVERIFY2(Line.right() > 590 && Line.right() <= 595.3, qPrintable(QString::number(Line.right())));
  QVERIFY2(Lines.first().top() < 6, qPrintable(QString::number(Lines.first().top())));
  // 16 px at 96 dpi is 12 pt: the second line stands one line (a little more
  // than the font size) below the first.
  const double LineStep = Lines.last().top() - Lines.first().top();
  QVERIFY2(LineStep > 12 && LineStep < 24, qPrintable(QString::number(LineStep)));
}

void ReportLayoutTest::jobThatCannotStartCarriesTheWindowsText_data() {
  QTest::addColumn<QString>("Target");
  QTest::newRow("PDF in a missing folder") << Dir.filePath(QStringLiteral("missing/out.pdf"));
  QTest::newRow("PDF named like a folder") << Dir.path();
}

void ReportLayoutTest::jobThatCannotStartCarriesTheWindowsText() {
  QFETCH(QString, Target);
  QPrinter Printer(QPrinter::HighResolution);
  SetPdf(Printer, Target);
  QString Caught;
  try {
    TReportJob Job(Printer, JobName);
  } catch (const std::runtime_error& Error) {
    Caught = QString::fromUtf8(Error.what());
  }
  QCOMPARE(Caught, QString::fromUtf8(ReportTexts::PrintNotStarted));
  QVERIFY(!QFileInfo(Target).isFile());
}

// A QGuiApplication only, as the batch program has: no widgets, no window.
int main(int argc, char* argv[]) {
  QGuiApplication App(argc, argv);
  ReportLayoutTest Test;
  return QTest::qExec(&Test, argc, argv);
}

#include "ReportLayoutTest.moc"
