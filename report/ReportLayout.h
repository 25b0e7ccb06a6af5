// SPDX-License-Identifier: GPL-3.0-or-later
// How a decree report looks on screen and on paper, shared by the window
// (RichEdit1 and its printout) and the batch program's PDF, so that the two
// cannot drift apart. Needs a QGuiApplication (the offscreen platform will do)
// but no window and no widget.
//
// Sizes are pixels at 96 dpi, the resolution the window was drawn at: a
// 16 px report line prints 12 pt high whatever the printer's resolution.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QSizeF>
#include <QString>

class QPrinter;
class QTextDocument;

// The report font as default font and right-to-left, right-aligned paragraphs
// as default text option, as RichEdit1's document has them.
void SetUpReportDocument(QTextDocument& Document);

// A new document set up for a report.
std::unique_ptr<QTextDocument> NewReportDocument();

// Appends each UTF-8 line as a paragraph of its own, right to left and
// aligned right, followed by a paragraph break: the text then ends with an
// empty paragraph, as RichEdit1's does after a computation.
void AppendReportLines(QTextDocument& Document, const std::vector<std::string>& Lines);

// One print job of any number of documents over the whole printable area of
// the printer's pages: no margins added, nothing printed but the documents,
// each starting on a new page and running over as many as it needs. Errors
// are std::runtime_error carrying the text the user reads.
class TReportJob {
 public:
  // Names the job DocName (the print queue's title, a PDF's Title) and starts
  // it. Throws ReportTexts::NoPrinter when a system printer is not usable,
  // ReportTexts::PrintNotStarted when the job cannot start (a PDF file that cannot
  // be created, for one).
  TReportJob(QPrinter& Printer, const QString& DocName);
  TReportJob(const TReportJob&) = delete;
  TReportJob& operator=(const TReportJob&) = delete;
  // An unfinished job is ended as it stands: the painter's destructor ends it.

  // Lays a copy of Document out at the page width and paints it, from a new
  // page unless it is the job's first document. TextColour is the colour of
  // text without a colour of its own; an invalid colour means the
  // application palette's. Throws ReportTexts::PrintFailed when a page cannot be
  // started.
  void Print(const QTextDocument& Document, const QColor& TextColour = QColor());

  // Ends the job and hands it to the print system (or closes the PDF file).
  // Throws ReportTexts::PrintFailed when that fails.
  void Finish();

  // Pages begun so far.
  int Pages() const { return PageCount; }

 private:
  QPrinter& Target;
  QPainter Painter;
  QSizeF Page;  // the printable area in 96-dpi pixels
  int PageCount = 0;
};
