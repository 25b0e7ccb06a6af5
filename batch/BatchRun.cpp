// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchRun.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "batch/BatchTexts.h"
#include "batch/CsvReader.h"
#include "batch/HeaderMatch.h"
#include "batch/Pipeline.h"
#include "batch/Workbook.h"
#include "batch/XlsxWriter.h"

namespace {

volatile std::sig_atomic_t StopSignal = 0;

extern "C" void OnStopSignal(int Signal) { StopSignal = Signal; }

// Reads the input file through its descriptor.
class FileSource : public ByteSource {
 public:
  FileSource(int Fd, std::string Name) : FFd(Fd), FName(std::move(Name)) {}
  std::size_t Read(char* Buffer, std::size_t Size) override {
    for (;;) {
      const ssize_t n = ::read(FFd, Buffer, Size);
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno != EINTR) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::ReadFailed, {FName, ErrorCause(errno)}));
    }
  }

 private:
  int FFd;
  std::string FName;
};

// One pass over a CSV file, from its start.
class CsvFileRecords : public RecordReader {
 public:
  CsvFileRecords(int Fd, const std::string& Name, CsvEncoding Encoding)
      : FSource(Fd, Name), FReader(FSource, Encoding) {}
  bool Next(CsvRecord& Record) override { return FReader.Next(Record); }
  CsvReader& Reader() { return FReader; }

 private:
  FileSource FSource;
  CsvReader FReader;
};

// A writer onto a file of its own, renamed into place in Commit().
template <typename Writer>
class FileWriter : public RowWriter {
 public:
  template <typename... Arguments>
  explicit FileWriter(const std::string& Path, Arguments... Args) : FFile(Path), FWriter(FFile.Stream(), Args...) {}
  void Begin(const BatchHeader& Header) override { FWriter.Begin(Header); }
  void Write(const RowRecord& Row) override { FWriter.Write(Row); }
  void Finish() override {
    FWriter.Finish();
    FFile.Finish();
  }
  void Commit() override { FFile.Commit(); }
  bool NeedsReport() const override { return FWriter.NeedsReport(); }

 private:
  OutputFile FFile;
  Writer FWriter;
};

// "rows done of rows" on standard error while it is a terminal and the run
// has lasted a second; nothing of the kind otherwise.
class ProgressLine {
 public:
  ProgressLine(std::FILE* Err, std::size_t Total) : FErr(Err), FTotal(Total), FStart(Clock::now()) {
    FTerminal = ::isatty(::fileno(Err)) == 1;
    // The tests shorten the second.
    if (const char* delay = std::getenv("SALARY_DECREE_BATCH_PROGRESS_DELAY_MS"))
      FDelay = std::chrono::milliseconds(std::atol(delay));
  }

  void Update(std::size_t Done) {
    if (!FTerminal || (Done % 64 != 0 && Done != FTotal)) return;
    const Clock::time_point now = Clock::now();
    if (now - FStart < FDelay) return;
    if (Done != FTotal && now - FLast < std::chrono::milliseconds(100)) return;
    FLast = now;
    std::fprintf(FErr, "\r%s: %s\033[K", ProgramName,
                 BatchTexts::Fill(BatchTexts::Progress, {std::to_string(Done), std::to_string(FTotal)}).c_str());
    std::fflush(FErr);
    FShown = true;
  }

  // Before any other line on the terminal.
  void Clear() {
    if (!FShown) return;
    std::fputs("\r\033[K", FErr);
    FShown = false;
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::FILE* FErr;
  std::size_t FTotal;
  Clock::time_point FStart;
  Clock::time_point FLast{};
  std::chrono::milliseconds FDelay{1000};
  bool FTerminal = false;
  bool FShown = false;
};

class Run {
 public:
  Run(const BatchOptions& Options, const PdfWriterFactory& MakePdf, std::FILE* Err)
      : FOptions(Options), FMakePdf(MakePdf), FErr(Err) {}
  ~Run() {
    if (FInput >= 0) ::close(FInput);
    FWriters.clear();                                                // their temporary files go with them
    if (!FReportsCreated.empty()) ::rmdir(FReportsCreated.c_str());  // only when still empty
  }

  int Execute();

 private:
  void Say(std::size_t Line, const std::string& Message);
  void OpenInput();
  void LoadBase();
  void CheckOutputs();
  std::unique_ptr<RecordReader> OpenRecords();
  void FirstPass();
  void ReadStructure();
  void MakeWriters();
  void CheckStop();

  const BatchOptions& FOptions;
  const PdfWriterFactory& FMakePdf;
  std::FILE* FErr;
  int FInput = -1;
  struct stat FInputInfo {};
  std::unique_ptr<Workbook> FWorkbook;  // when the input is one
  CsvEncoding FEncoding = CsvEncoding::Auto;
  std::optional<BaseValues> FBase;
  ColumnLayout FLayout;
  std::vector<std::string> FHeaderCells;
  BatchHeader FHeader;
  std::unique_ptr<OutputStream> FStdout;
  std::vector<std::unique_ptr<RowWriter>> FWriters;
  std::string FReportsCreated;
  ProgressLine* FProgress = nullptr;
};

void Run::Say(std::size_t Line, const std::string& Message) {
  if (FProgress) FProgress->Clear();
  if (Line > 0)
    std::fprintf(FErr, "%s: %s:%zu: %s\n", ProgramName, FOptions.Input.c_str(), Line, Message.c_str());
  else
    std::fprintf(FErr, "%s: %s\n", ProgramName, Message.c_str());
}

void Run::CheckStop() {
  if (StopSignal != 0) throw BatchFileError(0, BatchTexts::Interrupted);
}

void Run::OpenInput() {
  const std::string& path = FOptions.Input;
  if (::stat(path.c_str(), &FInputInfo) != 0)
    throw BatchFileError(0, BatchTexts::Fill(BatchTexts::CannotOpen, {path, ErrorCause(errno)}));
  if (S_ISDIR(FInputInfo.st_mode)) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::IsFolder, {path}));
  // The file is read twice: a pipe or a device cannot be.
  if (!S_ISREG(FInputInfo.st_mode)) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::NotRegularFile, {path}));
  FInput = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (FInput < 0) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::CannotOpen, {path, ErrorCause(errno)}));

  // A workbook is known by its content, whatever the file is called.
  unsigned char start[8];
  ssize_t n;
  while ((n = ::pread(FInput, start, sizeof start, 0)) < 0 && errno == EINTR) {
  }
  if (n < 0) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::ReadFailed, {path, ErrorCause(errno)}));
  const auto size = static_cast<std::size_t>(n);
  if (StartsLikeCompoundFile(start, size)) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::CompoundFile, {path}));
  if (StartsLikeZip(start, size)) {
    WorkbookOptions options;
    options.Sheet = FOptions.Sheet;
    options.DecimalSeparator = FOptions.Format.DecimalSeparator;
    FWorkbook = Workbook::Open(ZipArchive::FromFile(FInput, options.Limits.Zip), options, path);
  } else if (FOptions.Sheet) {
    throw BatchFileError(0, BatchTexts::Fill(BatchTexts::SheetOfCsv, {path}));
  }
}

// A sheet's rows, or the CSV file's records from its start.
std::unique_ptr<RecordReader> Run::OpenRecords() {
  if (FWorkbook) return FWorkbook->Rows();
  if (::lseek(FInput, 0, SEEK_SET) != 0)
    throw BatchFileError(0, BatchTexts::Fill(BatchTexts::ReadFailed, {FOptions.Input, ErrorCause(errno)}));
  return std::make_unique<CsvFileRecords>(FInput, FOptions.Input, FEncoding);
}

// The window's loader; a file the window would silently pass over is an
// error here, since the user named it.
void Run::LoadBase() {
  if (!FOptions.Base) return;
  const std::string& path = *FOptions.Base;
  BaseValuesRefusal why = BaseValuesRefusal::None;
  try {
    FBase = LoadBaseValuesFile(path, &why);
  } catch (const StorageError& error) {
    throw BatchFileError(0, ErrorMessageText(error.what()));
  }
  switch (why) {
    case BaseValuesRefusal::None: return;
    case BaseValuesRefusal::Missing: throw BatchFileError(0, BatchTexts::Fill(BatchTexts::BaseNotFound, {path}));
    case BaseValuesRefusal::NotAFile: {
      struct stat info {};
      const bool folder = ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
      throw BatchFileError(0, BatchTexts::Fill(folder ? BatchTexts::IsFolder : BatchTexts::NotRegularFile, {path}));
    }
    case BaseValuesRefusal::TooLarge: throw BatchFileError(0, BatchTexts::Fill(BatchTexts::BaseTooLarge, {path}));
    case BaseValuesRefusal::NotEightLines:
      throw BatchFileError(0, BatchTexts::Fill(BatchTexts::BaseNotEightLines, {path}));
  }
}

void Run::CheckOutputs() {
  std::vector<std::string> files;
  for (const auto& path : {FOptions.Csv, FOptions.Xlsx, FOptions.Pdf})
    if (path && *path != "-") files.push_back(*path);
  if (FOptions.Reports) files.push_back(*FOptions.Reports);
  std::vector<std::pair<dev_t, ino_t>> seen;
  for (std::size_t k = 0; k < files.size(); ++k) {
    for (std::size_t j = 0; j < k; ++j)
      if (files[j] == files[k]) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::OutputTwice, {files[k]}));
    struct stat info {};
    if (::stat(files[k].c_str(), &info) == 0) {
      if (info.st_dev == FInputInfo.st_dev && info.st_ino == FInputInfo.st_ino)
        throw BatchFileError(0, BatchTexts::Fill(BatchTexts::OutputIsInput, {files[k]}));
      for (const auto& [dev, ino] : seen)
        if (info.st_dev == dev && info.st_ino == ino)
          throw BatchFileError(0, BatchTexts::Fill(BatchTexts::OutputTwice, {files[k]}));
      seen.emplace_back(info.st_dev, info.st_ino);
    }
  }
  for (const auto& path : {FOptions.Csv, FOptions.Xlsx, FOptions.Pdf})
    if (path && *path != "-") OutputFile::CheckTarget(*path);
  if (FOptions.Reports) {
    const std::string& folder = *FOptions.Reports;
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
      if (!S_ISDIR(info.st_mode)) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::OutputNotFolder, {folder}));
      OutputFile::CheckFolder(folder);
    } else {
      // Created when the rows are written; its parent must take it.
      OutputFile::CheckFolder(FolderOf(folder));
    }
  }
}

// The structure of the whole file before anything is written: its encoding,
// quoting and header, and the number of rows for the progress line. A CSV
// file of no given encoding that is not UTF-8 is read again as Windows-1256.
void Run::FirstPass() {
  FEncoding = FOptions.Encoding;
  try {
    ReadStructure();
  } catch (const NotUtf8Error&) {
    FEncoding = CsvEncoding::Windows1256;
    Say(0, FOptions.Input + ": " + BatchTexts::ReadAsWindows1256);
    ReadStructure();
  }
  std::string ids;
  for (const std::size_t column : FLayout.IdColumns)
    ids += (ids.empty() ? "" : BatchTexts::ListSeparator) + TrimHeader(FLayout.Headers[column]);
  if (!ids.empty()) Say(0, FOptions.Input + ": " + BatchTexts::Fill(BatchTexts::IdentificationColumns, {ids}));
}

void Run::ReadStructure() {
  const std::unique_ptr<RecordReader> records = OpenRecords();
  CsvRecord record;
  if (!records->Next(record)) throw BatchFileError(0, BatchTexts::NoHeader);
  FLayout = MapColumns(record.Cells, record.Line);
  CheckIdentificationHeaders(FLayout, FOptions.IgnoreColumns, record.Line);
  FHeaderCells = record.Cells;
  FHeader = BatchHeader{};
  FHeader.Layout = &FLayout;
  if (auto* csv = dynamic_cast<CsvFileRecords*>(records.get())) {
    FHeader.Delimiter = csv->Reader().Delimiter();
    FHeader.ByteOrderMark = csv->Reader().Encoding() != TextEncoding::Utf8;
  } else {
    // Whoever keeps the employees in a workbook opens the results in a spreadsheet.
    FHeader.ByteOrderMark = true;
  }
  FHeader.Explain = FOptions.Explain;
  FHeader.IdWidths.assign(FLayout.IdColumns.size(), 0);
  while (records->Next(record)) {
    if (IsBlankRecord(record)) continue;
    ++FHeader.Rows;
    for (std::size_t k = 0; k < FLayout.IdColumns.size(); ++k) {
      const std::size_t column = FLayout.IdColumns[k];
      if (column >= record.Cells.size()) continue;
      std::size_t characters = 0;
      for (unsigned char c : record.Cells[column]) characters += (c & 0xC0) != 0x80;
      FHeader.IdWidths[k] = std::max(FHeader.IdWidths[k], characters);
    }
    if (FHeader.Rows % 1024 == 0) CheckStop();
  }
}

void Run::MakeWriters() {
  const bool csvToStdout = !FOptions.Json && (!FOptions.Csv || *FOptions.Csv == "-");
  if (FOptions.Json || csvToStdout) FStdout = std::make_unique<OutputStream>(STDOUT_FILENO, BatchTexts::StandardOutput);
  if (FOptions.Json) FWriters.push_back(std::make_unique<JsonWriter>(*FStdout));
  if (csvToStdout) FWriters.push_back(std::make_unique<CsvWriter>(*FStdout, FOptions.Exact, false));
  if (FOptions.Csv && *FOptions.Csv != "-")
    FWriters.push_back(std::make_unique<FileWriter<CsvWriter>>(*FOptions.Csv, FOptions.Exact, true));
  if (FOptions.Xlsx) FWriters.push_back(std::make_unique<XlsxWriter>(*FOptions.Xlsx));
  if (FOptions.Pdf) {
    if (!FMakePdf) throw BatchFileError(0, BatchTexts::NoPdf);
    FWriters.push_back(FMakePdf(*FOptions.Pdf, FOptions.Format));
  }
  if (FOptions.Reports) {
    const std::string& folder = *FOptions.Reports;
    if (::mkdir(folder.c_str(), 0777) == 0) {
      FReportsCreated = folder;
    } else if (errno != EEXIST) {
      throw BatchFileError(0, BatchTexts::Fill(BatchTexts::OutputFolderNotWritable, {folder, ErrorCause(errno)}));
    }
    FWriters.push_back(std::make_unique<ReportFilesWriter>(folder));
  }
}

int Run::Execute() {
  try {
    OpenInput();
    LoadBase();
    CheckOutputs();
    FirstPass();
    if (FHeader.Rows == 0) Say(0, FOptions.Input + ": " + BatchTexts::NoRows);

    MakeWriters();
    PipelineOptions pipeline;
    pipeline.Format = FOptions.Format;
    pipeline.Base = FBase ? &*FBase : nullptr;
    for (const auto& writer : FWriters) pipeline.Report = pipeline.Report || writer->NeedsReport();
    pipeline.Explain = FOptions.Explain && pipeline.Report;
    for (const auto& writer : FWriters) writer->Begin(FHeader);

    ProgressLine progress(FErr, FHeader.Rows);
    FProgress = &progress;
    const std::unique_ptr<RecordReader> records = OpenRecords();
    CsvRecord record;
    // The header was checked in the first pass; the file must not have changed since.
    if (!records->Next(record) || record.Cells != FHeaderCells)
      throw BatchFileError(0, BatchTexts::Fill(BatchTexts::InputChanged, {FOptions.Input}));
    RowRecord row;
    std::size_t done = 0, refused = 0;
    while (records->Next(record)) {
      if (IsBlankRecord(record)) continue;
      CheckStop();
      ProcessRow(FLayout, record, pipeline, row);
      if (!row.Computed) {
        ++refused;
        const std::string column = ErrorColumnHeader(FLayout, row.Error);
        Say(row.Line, column.empty() ? row.Error.Message : column + ": " + row.Error.Message);
      }
      for (const auto& writer : FWriters) writer->Write(row);
      progress.Update(++done);
    }
    if (done != FHeader.Rows) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::InputChanged, {FOptions.Input}));
    for (const auto& writer : FWriters) writer->Finish();
    CheckStop();
    if (FStdout) FStdout->Flush();
    for (const auto& writer : FWriters) writer->Commit();
    FReportsCreated.clear();
    progress.Clear();
    FProgress = nullptr;
    return refused == 0 ? 0 : 1;
  } catch (const BatchFileError& error) {
    Say(error.Line(), error.what());
    FProgress = nullptr;
    if (StopSignal != 0) return 128 + StopSignal;
    return 2;
  }
}

}  // namespace

int RunBatch(const BatchOptions& Options, const PdfWriterFactory& MakePdfWriter, std::FILE* Err) {
  // An interrupted run removes its temporary files; a closed pipe is a write error.
  StopSignal = 0;
  struct sigaction stop {};
  stop.sa_handler = OnStopSignal;
  sigemptyset(&stop.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &stop, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  Run run(Options, MakePdfWriter, Err);
  return run.Execute();
}
