// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/Writers.h"

#include <csv.h>
#include <fcntl.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include "batch/AmountText.h"
#include "batch/BatchTexts.h"
#include "decree/DecreeCatalogue.h"

namespace {

const char ByteOrderMark[] = "\xEF\xBB\xBF";

// A cell as RFC 4180 wants it: quoted (by libcsv) only when it must be.
void AppendCell(std::string& Line, const std::string& Text, char Delimiter) {
  bool quote = false;
  for (char c : Text) quote = quote || c == Delimiter || c == '"' || c == '\r' || c == '\n';
  if (!quote) {
    Line += Text;
    return;
  }
  const std::size_t start = Line.size();
  Line.resize(start + 2 * Text.size() + 2);
  Line.resize(start + csv_write2(&Line[start], Line.size() - start, Text.data(), Text.size(), '"'));
}

}  // namespace

std::string ErrorColumnHeader(const ColumnLayout& Layout, const RowError& Error) {
  if (Error.Column < 0) return std::string();
  return TrimHeader(Layout.Headers[static_cast<std::size_t>(Error.Column)]);
}

// CSV -------------------------------------------------------------------------

void CsvWriter::Begin(const BatchHeader& Header) {
  FLayout = Header.Layout;
  FDelimiter = Header.Delimiter;
  // Spreadsheets read a file without the mark in the local code page, not UTF-8.
  if (FFile && Header.ByteOrderMark) FOut.Write(ByteOrderMark);
  FLine.clear();
  for (std::size_t column : FLayout->IdColumns) {
    AppendCell(FLine, FLayout->Headers[column], FDelimiter);
    FLine += FDelimiter;
  }
  for (const ValueSpec& field : Values) {
    FLine += field.FieldName;
    FLine += FDelimiter;
  }
  FLine += "error";
  FLine += FDelimiter;
  FLine += "error_column\r\n";
  FOut.Write(FLine);
}

void CsvWriter::Write(const RowRecord& Row) {
  FLine.clear();
  for (const std::string& id : Row.Ids) {
    AppendCell(FLine, id, FDelimiter);
    FLine += FDelimiter;
  }
  for (const ValueSpec& field : Values) {
    if (Row.Computed) {
      if (FExact)
        AppendExactAmount(FLine, Row.Result.*field.Member);
      else
        AppendWholeRials(FLine, Row.Result.*field.Member);
    }
    FLine += FDelimiter;
  }
  if (!Row.Computed) AppendCell(FLine, Row.Error.Message, FDelimiter);
  FLine += FDelimiter;
  if (!Row.Computed) AppendCell(FLine, ErrorColumnHeader(*FLayout, Row.Error), FDelimiter);
  FLine += "\r\n";
  FOut.Write(FLine);
}

void CsvWriter::Finish() { FOut.Flush(); }

// JSON Lines ------------------------------------------------------------------

void JsonWriter::Begin(const BatchHeader& Header) {
  FLayout = Header.Layout;
  FExplain = Header.Explain;
}

void JsonWriter::Write(const RowRecord& Row) {
  using Json = nlohmann::ordered_json;  // keys in the file's and the record's order
  Json object;
  object["line"] = Row.Line;
  Json id = Json::object();
  for (std::size_t k = 0; k < Row.Ids.size(); ++k) id[TrimHeader(FLayout->Headers[FLayout->IdColumns[k]])] = Row.Ids[k];
  object["id"] = std::move(id);
  if (Row.Computed) {
    Json result = Json::object();
    for (const ValueSpec& field : Values) result[field.FieldName] = Row.Result.*field.Member;
    object["result"] = std::move(result);
    object["report"] = Row.Report;
  } else {
    object["result"] = nullptr;
    object["report"] = nullptr;
  }
  if (FExplain) object["explain"] = Row.Computed ? Json(Row.Explain) : Json(nullptr);
  if (Row.Computed) {
    object["error"] = nullptr;
  } else {
    const std::string column = ErrorColumnHeader(*FLayout, Row.Error);
    object["error"] = {{"message", Row.Error.Message}, {"column", Row.Error.Column < 0 ? Json(nullptr) : Json(column)}};
  }
  // The input was checked to be UTF-8; replace is only a guard.
  FOut.Write(object.dump(-1, ' ', false, Json::error_handler_t::replace));
  FOut.Write("\n");
}

void JsonWriter::Finish() { FOut.Flush(); }

// Report files ----------------------------------------------------------------

std::string SafeFileName(const std::string& Text, std::size_t MaxBytes) {
  std::string name;
  for (unsigned char c : Text) {
    const bool refused = c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' ||
                         c == '"' || c == '<' || c == '>' || c == '|';
    name += refused ? '_' : static_cast<char>(c);
  }
  name = TrimHeader(name);
  if (name.size() > MaxBytes) {
    std::size_t cut = MaxBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // whole characters
    name = TrimHeader(name.substr(0, cut));
  }
  if (name == "." || name == "..") return std::string();
  if (!name.empty() && name[0] == '.') name[0] = '_';
  return name;
}

std::string ReportFileText(const ColumnLayout& Layout, const RowRecord& Row) {
  std::string text;
  if (!Row.Computed) {
    text = Row.Error.Message + "\n";
    if (Row.Error.Column >= 0) text += ErrorColumnHeader(Layout, Row.Error) + "\n";
    return text;
  }
  for (const std::string& line : Row.Report) text += line + "\n";
  if (!Row.Explain.empty()) {
    text += "\n";
    for (const std::string& line : Row.Explain) text += line + "\n";
  }
  return text;
}

void ReportFilesWriter::Begin(const BatchHeader& Header) { FLayout = Header.Layout; }

std::string ReportFilesWriter::NameFor(const RowRecord& Row) {
  const std::string line = std::to_string(Row.Line);
  std::string base = Row.Ids.empty() ? std::string() : SafeFileName(Row.Ids[0]);
  if (base.empty()) base = line;
  std::string name = base + ".txt";
  for (int extra = 1; !FNames.insert(name).second; ++extra)
    name = base + "-" + line + (extra > 1 ? "-" + std::to_string(extra) : std::string()) + ".txt";
  return name;
}

void ReportFilesWriter::Write(const RowRecord& Row) {
  auto file = std::make_unique<OutputFile>(FFolder + "/" + NameFor(Row));
  file->Stream().Write(ReportFileText(*FLayout, Row));
  // One sync of the whole file system before the renames instead of one per file.
  file->Finish(false);
  FFiles.push_back(std::move(file));
}

void ReportFilesWriter::Finish() {
  for (const auto& file : FFiles) file->Finish(false);
  const int folder = ::open(FFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::syncfs(folder);
    ::close(folder);
  }
}

void ReportFilesWriter::Commit() {
  for (const auto& file : FFiles) file->Commit(false);
}
