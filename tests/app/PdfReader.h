// SPDX-License-Identifier: GPL-3.0-or-later
// A printed PDF as a person's reader sees it, through poppler's tools: page
// count and title (pdfinfo), the text of a page (pdftotext), where its words
// stand (pdftotext -bbox) and its pages as pictures (pdftoppm).
#pragma once

#include <QImage>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace PdfReader {

// What the tool printed; a marked text when it failed, so that comparisons fail too.
inline QString Run(const QString& Tool, const QStringList& Arguments) {
  QProcess Process;
  Process.start(Tool, Arguments);
  if (!Process.waitForFinished(60000) || Process.exitStatus() != QProcess::NormalExit || Process.exitCode() != 0)
    return QStringLiteral("(%1 failed: %2)").arg(Tool, QString::fromUtf8(Process.readAllStandardError()));
  return QString::fromUtf8(Process.readAllStandardOutput());
}

// A field of pdfinfo ("Pages", "Title", "Page size").
inline QString Info(const QString& Pdf, const QString& Field) {
  const QString Out = Run(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), Pdf});
  for (const QString& Line : Out.split(QLatin1Char('\n')))
    if (Line.startsWith(Field + QLatin1Char(':'))) return Line.mid(Field.size() + 1).trimmed();
  return QStringLiteral("(no %1 in %2)").arg(Field, Out);
}

inline int Pages(const QString& Pdf) {
  bool Ok = false;
  const int Count = Info(Pdf, QStringLiteral("Pages")).toInt(&Ok);
  return Ok ? Count : -1;
}

// The text of one page (1-based), or of all pages when Page is 0. Layout mode
// keeps every glyph of a run of hyphens.
inline QString Text(const QString& Pdf, int Page = 0) {
  QStringList Arguments = {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
  if (Page > 0)
    Arguments << QStringLiteral("-f") << QString::number(Page) << QStringLiteral("-l") << QString::number(Page);
  return Run(QStringLiteral("pdftotext"), Arguments << Pdf << QStringLiteral("-"));
}

// Persian as pdftotext gives it, with presentation forms and bidi marks,
// folded to plain letters so that phrases can be looked for.
inline QString Plain(QString Text) {
  Text = Text.normalized(QString::NormalizationForm_KC);
  Text.remove(QRegularExpression(QStringLiteral("[\u200e\u200f\u202a-\u202e]")));
  return Text;
}

// The boxes of the words of one page, in points from the top-left corner.
inline QList<QRectF> WordBoxes(const QString& Pdf, int Page) {
  const QString Html =
      Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(Page),
                                        QStringLiteral("-l"), QString::number(Page), Pdf, QStringLiteral("-")});
  static const QRegularExpression Word(
      QStringLiteral(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)")re"));
  QList<QRectF> Boxes;
  for (auto Match = Word.globalMatch(Html); Match.hasNext();) {
    const auto M = Match.next();
    Boxes << QRectF(QPointF(M.captured(1).toDouble(), M.captured(2).toDouble()),
                    QPointF(M.captured(3).toDouble(), M.captured(4).toDouble()));
  }
  return Boxes;
}

// Every page as a picture at Dpi, in page order.
inline QList<QImage> Pictures(const QString& Pdf, int Dpi) {
  QTemporaryDir Dir;
  const QString Prefix = Dir.path() + QStringLiteral("/page");
  Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-png"), Pdf, Prefix});
  QList<QImage> Images;
  for (int Page = 1;; ++Page) {
    // pdftoppm pads the page number to the width of the page count.
    QImage Image;
    for (const QString& Name : {QStringLiteral("%1-%2.png").arg(Prefix).arg(Page),
                                QStringLiteral("%1-%2.png").arg(Prefix).arg(Page, 2, 10, QLatin1Char('0')),
                                QStringLiteral("%1-%2.png").arg(Prefix).arg(Page, 3, 10, QLatin1Char('0'))})
      if (Image.load(Name)) break;
    if (Image.isNull()) break;
    Images << Image.convertToFormat(QImage::Format_RGB32);
  }
  return Images;
}

}  // namespace PdfReader
