// SPDX-License-Identifier: GPL-3.0-or-later
// OpenDocument spreadsheets (.ods): every sheet is a table in content.xml,
// streamed. LibreOffice pads each sheet to its whole grid with repeated empty
// cells and rows; repeats are counted, never laid out.
#include <algorithm>
#include <cstring>
#include <vector>

#include "batch/BatchTexts.h"
#include "batch/Workbook.h"
#include "batch/XmlStream.h"

namespace WorkbookDetail {

namespace {

#define ODF_NS "urn:oasis:names:tc:opendocument:xmlns:"
const char* const TableNs = ODF_NS "table:1.0 ";
const char* const OfficeNs = ODF_NS "office:1.0 ";
const char* const TextNs = ODF_NS "text:1.0 ";
const char* const DrawNs = ODF_NS "drawing:1.0 ";
const char* const ManifestNs = ODF_NS "manifest:1.0 ";
#undef ODF_NS
const char* const CalcExtNs = "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0 ";

// Name is Namespace (with its trailing space) then Local.
bool Is(const char* Name, const char* Namespace, const char* Local) {
  const std::size_t length = std::strlen(Namespace);
  return std::strncmp(Name, Namespace, length) == 0 && std::strcmp(Name + length, Local) == 0;
}

const char* AttributeOf(const char** Attributes, const char* Namespace, const char* Local) {
  for (const char** a = Attributes; *a; a += 2)
    if (Is(*a, Namespace, Local)) return a[1];
  return nullptr;
}

// A repeat count; an absent or unreadable one is 1, a huge one is kept
// huge (it only moves the position on).
std::uint64_t Repeat(const char* Text) {
  if (!Text || !*Text) return 1;
  std::uint64_t value = 0;
  for (const char* p = Text; *p; ++p) {
    if (*p < '0' || *p > '9') return 1;
    value = value > (UINT64_MAX - 9) / 10 ? UINT64_MAX : value * 10 + static_cast<std::uint64_t>(*p - '0');
  }
  return value == 0 ? 1 : value;
}

class ManifestHandler : public XmlHandler {
 public:
  bool Encrypted = false;
  void Start(const char* Name, const char**) override {
    Encrypted = Encrypted || Is(Name, ManifestNs, "encryption-data");
  }
  void End(const char*) override {}
  void Text(const char*, std::size_t) override {}
};

class OdsWorkbook : public Workbook {
 public:
  OdsWorkbook(std::unique_ptr<ZipArchive> Archive, const WorkbookOptions& Options)
      : FArchive(std::move(Archive)), FOptions(Options) {}
  std::unique_ptr<RecordReader> Rows() const override;
  const char* Kind() const override { return "ods"; }

  std::unique_ptr<ZipArchive> FArchive;
  WorkbookOptions FOptions;
};

class OdsSheetReader : public RecordReader, private XmlHandler {
 public:
  explicit OdsSheetReader(const OdsWorkbook& Book)
      : FBook(Book), FLimits(Book.FOptions.Limits), FRow(FLimits), FStream(Book.FArchive->Open("content.xml"), *this) {}

  bool Next(CsvRecord& Record) override {
    while (FRepeats == 0) {
      if (FEnded || !FStream.Run()) {
        if (!FFound) {
          if (FNames.empty()) throw BatchFileError(0, BatchTexts::NoSheets);
          std::string names;
          for (const std::string& name : FNames)
            names += (names.empty() ? "\"" : std::string(BatchTexts::ListSeparator) + "\"") + name + "\"";
          throw BatchFileError(0, BatchTexts::Fill(BatchTexts::NoSuchSheet, {*FBook.FOptions.Sheet, names}));
        }
        if (!FAny) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::EmptySheet, {FSheetName}));
        return false;
      }
    }
    FAny = true;
    if (--FRepeats == 0)
      FRow.Take(Record);
    else
      Record = FRow.Record();
    Record.Line = FRepeatLine++;
    return true;
  }

 private:
  void Start(const char* Name, const char** Attributes) override {
    if (FSkipDepth > 0) {
      ++FSkipDepth;
      return;
    }
    if (FTableDepth == 0) {
      if (!Is(Name, TableNs, "table")) return;
      const char* name = AttributeOf(Attributes, TableNs, "name");
      const std::string sheet = name ? name : "";
      const bool wanted = !FFound && (FBook.FOptions.Sheet ? sheet == *FBook.FOptions.Sheet : true);
      if (!wanted) {
        // Another sheet: its content is passed over, only its name is kept
        // for the message when the wanted one is missing.
        if (FNames.size() < 1000) FNames.push_back(sheet);
        FSkipDepth = 1;
        return;
      }
      FFound = true;
      FSheetName = sheet;
      FTableDepth = 1;
      return;
    }
    ++FTableDepth;
    if (FInCell) {
      StartInCell(Name, Attributes);
    } else if (Is(Name, TableNs, "table-row")) {
      FRowRepeat = Repeat(AttributeOf(Attributes, TableNs, "number-rows-repeated"));
      FRow.Start(FNextRow);
      FColumn = 0;
    } else if (Is(Name, TableNs, "table-cell") || Is(Name, TableNs, "covered-table-cell")) {
      FInCell = true;
      FCellDepth = FTableDepth;
      FCellRepeat = Repeat(AttributeOf(Attributes, TableNs, "number-columns-repeated"));
      const auto take = [&](const char* Namespace, const char* Local) {
        const char* value = AttributeOf(Attributes, Namespace, Local);
        return std::string(value ? value : "");
      };
      FType = take(OfficeNs, "value-type");
      FExtType = take(CalcExtNs, "value-type");
      FValue = take(OfficeNs, "value");
      FDateValue = take(OfficeNs, "date-value");
      FTimeValue = take(OfficeNs, "time-value");
      FBooleanValue = take(OfficeNs, "boolean-value");
      const char* stringValue = AttributeOf(Attributes, OfficeNs, "string-value");
      FHasStringValue = stringValue != nullptr;
      FStringValue = stringValue ? stringValue : "";
      FText.clear();
      FParagraphs = 0;
      FInParagraph = 0;
      FExcluded = 0;
    }
  }

  // Paragraphs are the cell's text; a comment or a drawing anchored in the
  // cell is not.
  void StartInCell(const char* Name, const char** Attributes) {
    if (FExcluded > 0 || Is(Name, OfficeNs, "annotation") || std::strncmp(Name, DrawNs, std::strlen(DrawNs)) == 0) {
      ++FExcluded;
      return;
    }
    if (Is(Name, TextNs, "p") || Is(Name, TextNs, "h")) {
      if (FParagraphs++ > 0) AppendCellText(FText, "\n", 1);
      ++FInParagraph;
    } else if (FInParagraph > 0 && Is(Name, TextNs, "s")) {
      // Only as many as the cell can take: past the limit the cell is refused anyway.
      const std::size_t room = FText.size() > MaxFieldBytes ? 0 : MaxFieldBytes + 1 - FText.size();
      const std::uint64_t spaces = Repeat(AttributeOf(Attributes, TextNs, "c"));
      FText.append(static_cast<std::size_t>(std::min<std::uint64_t>(spaces, room)), ' ');
    } else if (FInParagraph > 0 && Is(Name, TextNs, "tab")) {
      AppendCellText(FText, "\t", 1);
    } else if (FInParagraph > 0 && Is(Name, TextNs, "line-break")) {
      AppendCellText(FText, "\n", 1);
    }
  }

  void End(const char* Name) override {
    if (FSkipDepth > 0) {
      --FSkipDepth;
      return;
    }
    if (FTableDepth == 0) return;
    const bool cellEnds = FInCell && FTableDepth == FCellDepth;
    --FTableDepth;
    if (FTableDepth == 0) {
      // The wanted sheet is complete; nothing after it is read.
      FEnded = true;
      FStream.Pause();
    } else if (cellEnds) {
      FInCell = false;
      FinishCell();
    } else if (FInCell) {
      if (FExcluded > 0)
        --FExcluded;
      else if (Is(Name, TextNs, "p") || Is(Name, TextNs, "h"))
        --FInParagraph;
    } else if (Is(Name, TableNs, "table-row")) {
      FinishRow();
    }
  }

  void Text(const char* Data, std::size_t Size) override {
    if (FInCell && FInParagraph > 0 && FExcluded == 0) AppendCellText(FText, Data, Size);
  }

  void FinishCell() {
    std::string text;
    std::optional<CellKind> kind;
    if (FExtType == "error") {
      kind = CellKind::Error;
      text = FText;
    } else if (FType == "float" || FType == "currency") {
      text = FValue.empty() ? FText : WithDecimalSeparator(FValue, FBook.FOptions.DecimalSeparator);
    } else if (FType == "percentage") {
      kind = CellKind::Percentage;
      text = FValue;
    } else if (FType == "date") {
      kind = CellKind::Date;
      text = FDateValue;
    } else if (FType == "time") {
      kind = CellKind::Date;
      text = FTimeValue;
    } else if (FType == "boolean") {
      text = FBooleanValue == "true" ? "1" : "0";
    } else {
      text = FHasStringValue ? FStringValue : FText;
    }
    if (text.size() > MaxFieldBytes)
      throw BatchFileError(FNextRow, BatchTexts::Fill(BatchTexts::FieldTooLong, {std::to_string(MaxFieldBytes)}));
    const std::uint64_t repeat = FCellRepeat;
    if (!text.empty() || kind) {
      FRow.Place(FColumn, std::move(text), kind, repeat);
    }
    FColumn = FColumn + repeat < FColumn ? SIZE_MAX : FColumn + static_cast<std::size_t>(repeat);
  }

  void FinishRow() {
    const std::size_t row = FNextRow;
    FNextRow = FRowRepeat > FLimits.Rows ? FLimits.Rows + 1 : std::min(FNextRow + FRowRepeat, FLimits.Rows + 1);
    if (!FRow.HasCells()) return;
    if (row + FRowRepeat - 1 > FLimits.Rows || FRowRepeat > FLimits.Rows)
      throw BatchFileError(0, BatchTexts::Fill(BatchTexts::TooManyRows, {std::to_string(FLimits.Rows)}));
    FRow.Count(FRowRepeat);
    FRepeats = FRowRepeat;
    FRepeatLine = row;
    FStream.Pause();
  }

  const OdsWorkbook& FBook;
  const WorkbookLimits& FLimits;
  RowBuilder FRow;
  std::vector<std::string> FNames;
  std::string FSheetName;
  bool FFound = false, FEnded = false, FAny = false;
  int FSkipDepth = 0, FTableDepth = 0;
  std::size_t FNextRow = 1, FColumn = 0;
  std::uint64_t FRowRepeat = 1, FRepeats = 0;
  std::size_t FRepeatLine = 0;
  // The cell being read.
  bool FInCell = false;
  int FCellDepth = 0;
  std::uint64_t FCellRepeat = 1;
  std::string FType, FExtType, FValue, FDateValue, FTimeValue, FBooleanValue, FStringValue, FText;
  bool FHasStringValue = false;
  int FParagraphs = 0, FInParagraph = 0, FExcluded = 0;
  XmlStream FStream;  // last: its handler is this reader
};

std::unique_ptr<RecordReader> OdsWorkbook::Rows() const { return std::make_unique<OdsSheetReader>(*this); }

}  // namespace

std::unique_ptr<Workbook> OpenOds(std::unique_ptr<ZipArchive> Archive, const WorkbookOptions& Options) {
  // A password-protected document keeps its parts encrypted and says so in
  // its manifest.
  if (Archive->Has("META-INF/manifest.xml")) {
    ManifestHandler manifest;
    XmlStream stream(Archive->Open("META-INF/manifest.xml", Options.Limits.KeptPartBytes, BatchTexts::PartTooLarge),
                     manifest);
    stream.RunToEnd();
    if (manifest.Encrypted) throw BatchFileError(0, BatchTexts::EncryptedWorkbook);
  }
  if (!Archive->Has("content.xml")) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::MissingPart, {"content.xml"}));
  return std::make_unique<OdsWorkbook>(std::move(Archive), Options);
}

}  // namespace WorkbookDetail
