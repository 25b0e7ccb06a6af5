// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/PdfWriter.h"

#include <stdexcept>

#include <QGuiApplication>
#include <QPageSize>
#include <QPrinter>
#include <QTextDocument>

#include "batch/BatchTexts.h"
#include "batch/CsvReader.h"
#include "decree/WindowTexts.h"
#include "report/ReportLayout.h"

namespace {

const char Indent[] = "     ";  // as every report line begins

// Qt's own notes (no runtime folder, font fallbacks) are no diagnostics of
// this program; standard error keeps the GNU form.
void QuietQt(QtMsgType Type, const QMessageLogContext&, const QString& Message) {
  if (Type == QtFatalMsg) {
    std::fprintf(stderr, "%s: %s\n", "salary-decree-batch", Message.toLocal8Bit().constData());
    std::abort();
  }
}

std::unique_ptr<QGuiApplication> StartApplication() {
  if (QGuiApplication::instance()) return nullptr;
  qInstallMessageHandler(QuietQt);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int Argc = 1;
  static char Name[] = "salary-decree-batch";
  static char* Argv[] = {Name, nullptr};
  return std::make_unique<QGuiApplication>(Argc, Argv);
}

class PdfWriter : public RowWriter {
 public:
  explicit PdfWriter(const std::string& Path) : FApplication(StartApplication()), FFile(Path) {
    FFile.CloseDescriptor();  // Qt writes the file by name
  }

  void Begin(const BatchHeader& Header) override {
    FLayout = Header.Layout;
    FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    FPrinter->setOutputFormat(QPrinter::PdfFormat);
    FPrinter->setOutputFileName(QString::fromStdString(FFile.TempPath()));
    FPrinter->setPageSize(QPageSize(QPageSize::A4));
    FPrinter->setCreator(QStringLiteral("salary-decree-batch"));
    Guard([&] { FJob = std::make_unique<TReportJob>(*FPrinter, QString::fromUtf8(WindowTexts::PrintJobName)); });
  }

  void Write(const RowRecord& Row) override {
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < Row.Ids.size(); ++k)
      lines.push_back(Indent + TrimHeader(FLayout->Headers[FLayout->IdColumns[k]]) + ": " + Row.Ids[k]);
    if (Row.Computed) {
      lines.insert(lines.end(), Row.Report.begin(), Row.Report.end());
      if (!Row.Explain.empty()) {
        lines.push_back(Indent);
        lines.insert(lines.end(), Row.Explain.begin(), Row.Explain.end());
      }
    } else {
      lines.push_back(Indent);
      lines.push_back(Indent + std::string(BatchTexts::ErrorHeader) + ": " + Row.Error.Message);
      const std::string column = ErrorColumnHeader(*FLayout, Row.Error);
      if (!column.empty()) lines.push_back(Indent + std::string(BatchTexts::ErrorColumnHeader) + ": " + column);
    }
    const std::unique_ptr<QTextDocument> document = NewReportDocument();
    AppendReportLines(*document, lines);
    Guard([&] { FJob->Print(*document, Qt::black); });
  }

  void Finish() override {
    Guard([&] { FJob->Finish(); });
    FJob.reset();
    FPrinter.reset();
    FFile.Finish();
  }

  void Commit() override { FFile.Commit(); }
  bool NeedsReport() const override { return true; }

 private:
  // The layout's print errors are Persian texts; here they are about this file.
  template <typename Action>
  void Guard(Action&& Do) {
    try {
      Do();
    } catch (const std::runtime_error& error) {
      throw BatchFileError(0, BatchTexts::Fill(BatchTexts::WriteFailed, {FFile.Path(), error.what()}));
    }
  }

  std::unique_ptr<QGuiApplication> FApplication;  // first made, last gone
  OutputFile FFile;
  std::unique_ptr<QPrinter> FPrinter;
  std::unique_ptr<TReportJob> FJob;
  const ColumnLayout* FLayout = nullptr;
};

}  // namespace

std::unique_ptr<RowWriter> MakePdfWriter(const std::string& Path, const NumberFormat&) {
  return std::make_unique<PdfWriter>(Path);
}
