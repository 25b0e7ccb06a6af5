// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ReportLayout.h"

#include <stdexcept>

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPrinter>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include "report/Fonts.h"
#include "report/ReportTexts.h"

namespace {

// The layout was drawn at this resolution; the printout keeps its sizes.
constexpr double DesignDpi = 96;

}  // namespace

void SetUpReportDocument(QTextDocument& Document) {
  Document.setDefaultFont(ReportFont());
  QTextOption Option = Document.defaultTextOption();
  Option.setTextDirection(Qt::RightToLeft);
  // Absolute: right means right, also in a right-to-left paragraph.
  Option.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
  Document.setDefaultTextOption(Option);
}

std::unique_ptr<QTextDocument> NewReportDocument() {
  auto Document = std::make_unique<QTextDocument>();
  SetUpReportDocument(*Document);
  return Document;
}

void AppendReportLines(QTextDocument& Document, const std::vector<std::string>& Lines) {
  QTextCursor Cursor(&Document);
  Cursor.movePosition(QTextCursor::End);
  QTextBlockFormat Paragraph;
  Paragraph.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
  Paragraph.setLayoutDirection(Qt::RightToLeft);
  Cursor.setBlockFormat(Paragraph);
  for (const std::string& Line : Lines) {
    Cursor.insertText(QString::fromStdString(Line));
    Cursor.insertBlock(Paragraph);
  }
}

TReportJob::TReportJob(QPrinter& Printer, const QString& DocName) : Target(Printer) {
  if (Target.outputFormat() == QPrinter::NativeFormat && !Target.isValid())
    throw std::runtime_error(ReportTexts::NoPrinter);
  Target.setDocName(DocName);
  // The whole printable area: no margins beyond what the printer cannot reach.
  Target.setFullPage(false);
  const QPageLayout Layout = Target.pageLayout();
  Target.setPageMargins(Layout.minimumMargins(), Layout.units());
  if (!Painter.begin(&Target)) throw std::runtime_error(ReportTexts::PrintNotStarted);
  // Laid out as on screen (96 dpi) and scaled, so that a 16 px line prints 12 pt high.
  const double ScaleX = Target.logicalDpiX() / DesignDpi;
  const double ScaleY = Target.logicalDpiY() / DesignDpi;
  Page = QSizeF(Target.width() / ScaleX, Target.height() / ScaleY);
  Painter.scale(ScaleX, ScaleY);
}

void TReportJob::Print(const QTextDocument& Document, const QColor& TextColour) {
  // A copy, so that the page size set for paper never reaches the screen's document.
  std::unique_ptr<QTextDocument> Copy(Document.clone());
  Copy->setDocumentMargin(0);
  Copy->setPageSize(Page);
  QAbstractTextDocumentLayout::PaintContext Context;
  if (TextColour.isValid()) Context.palette.setColor(QPalette::Text, TextColour);
  const int Pages = Copy->pageCount();
  for (int Index = 0; Index < Pages; ++Index) {
    // QPrinter begins the first page itself.
    if (PageCount > 0 && !Target.newPage()) throw std::runtime_error(ReportTexts::PrintFailed);
    ++PageCount;
    const QRectF Area(0, Index * Page.height(), Page.width(), Page.height());
    Painter.save();
    Painter.translate(0, -Area.top());
    Painter.setClipRect(Area);
    Context.clip = Area;
    Copy->documentLayout()->draw(&Painter, Context);
    Painter.restore();
  }
}

void TReportJob::Finish() {
  if (!Painter.end()) throw std::runtime_error(ReportTexts::PrintFailed);
}
