// SPDX-License-Identifier: GPL-3.0-or-later
// Office Open XML workbooks (.xlsx, .xlsm, transitional or strict): the
// package's relationships lead to the workbook, its sheets, the shared
// strings and the styles; the sheet is streamed.
#include <cstring>
#include <map>
#include <vector>

#include "batch/BatchTexts.h"
#include "batch/Workbook.h"
#include "batch/XmlStream.h"

namespace WorkbookDetail {

namespace {

bool Is(const char* Name, const char* Local) { return std::strcmp(LocalName(Name), Local) == 0; }

bool EndsWith(const std::string& Text, const std::string& Tail) {
  return Text.size() >= Tail.size() && Text.compare(Text.size() - Tail.size(), Tail.size(), Tail) == 0;
}

// Digits only, without overflow.
std::optional<std::uint64_t> ParseCount(const char* Text) {
  if (!Text || !*Text) return std::nullopt;
  std::uint64_t value = 0;
  for (const char* p = Text; *p; ++p) {
    if (*p < '0' || *p > '9' || value > (UINT64_MAX - 9) / 10) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(*p - '0');
  }
  return value;
}

// The column (from 0) of a cell reference such as "AB12".
std::optional<std::size_t> ColumnOfReference(const char* Reference) {
  std::size_t column = 0, letters = 0;
  const char* p = Reference;
  for (; (*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z'); ++p) {
    if (++letters > 3) return std::nullopt;
    column = column * 26 + static_cast<std::size_t>((*p | 0x20) - 'a' + 1);
  }
  if (letters == 0 || !ParseCount(p)) return std::nullopt;
  return column - 1;
}

// The part a relationship's target names, from the part that holds it.
std::string ResolveTarget(const std::string& Source, const std::string& Target) {
  const std::string path =
      !Target.empty() && Target[0] == '/' ? Target.substr(1) : Source.substr(0, Source.rfind('/') + 1) + Target;
  std::vector<std::string> segments;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = path.find('/', start);
    const std::string segment = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  std::string out;
  for (const std::string& segment : segments) out += (out.empty() ? "" : "/") + segment;
  return out;
}

std::string RelationshipsOf(const std::string& Part) {
  const std::size_t slash = Part.rfind('/');
  const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
  return Part.substr(0, name) + "_rels/" + Part.substr(name) + ".rels";
}

struct Relationship {
  std::string Id, Type, Target;
};

class RelationshipsHandler : public XmlHandler {
 public:
  std::vector<Relationship> Found;
  void Start(const char* Name, const char** Attributes) override {
    if (!Is(Name, "Relationship")) return;
    const char* mode = Attribute(Attributes, "TargetMode");
    if (mode && std::strcmp(mode, "External") == 0) return;
    const char* id = Attribute(Attributes, "Id");
    const char* type = Attribute(Attributes, "Type");
    const char* target = Attribute(Attributes, "Target");
    if (id && type && target) Found.push_back({id, type, target});
  }
  void End(const char*) override {}
  void Text(const char*, std::size_t) override {}
};

struct SheetEntry {
  std::string Name, RelationshipId;
};

class WorkbookHandler : public XmlHandler {
 public:
  bool Root = false;
  bool IsWorkbook = false;
  bool Date1904 = false;
  std::vector<SheetEntry> Sheets;
  void Start(const char* Name, const char** Attributes) override {
    if (!Root) {
      Root = true;
      IsWorkbook = Is(Name, "workbook");
    } else if (Is(Name, "sheet")) {
      SheetEntry sheet;
      if (const char* name = Attribute(Attributes, "name")) sheet.Name = name;
      // r:id, in whichever namespace the relationships have.
      for (const char** a = Attributes; *a; a += 2)
        if (std::strchr(*a, ' ') && std::strcmp(LocalName(*a), "id") == 0) sheet.RelationshipId = a[1];
      Sheets.push_back(sheet);
    } else if (Is(Name, "workbookPr")) {
      const char* date1904 = Attribute(Attributes, "date1904");
      Date1904 = date1904 && (std::strcmp(date1904, "1") == 0 || std::strcmp(date1904, "true") == 0);
    }
  }
  void End(const char*) override {}
  void Text(const char*, std::size_t) override {}
};

// Each string's text, in one block; a string over MaxFieldBytes is kept one
// byte longer, so that a cell using it is refused.
struct SharedStrings {
  std::string Text;
  std::vector<std::size_t> Ends;
  std::size_t Size() const { return Ends.size(); }
  std::string At(std::size_t Index) const {
    const std::size_t start = Index == 0 ? 0 : Ends[Index - 1];
    return Text.substr(start, Ends[Index] - start);
  }
};

// <si> holds a <t>, or runs <r><t>; the phonetic hints <rPh> are no text.
class SharedStringsHandler : public XmlHandler {
 public:
  explicit SharedStringsHandler(SharedStrings& Out) : FOut(Out) {}
  void Start(const char* Name, const char**) override {
    if (Is(Name, "si")) {
      FInString = true;
      FStart = FOut.Text.size();
    } else if (Is(Name, "rPh")) {
      ++FPhonetic;
    } else if (Is(Name, "t") && FInString && FPhonetic == 0) {
      FInText = true;
    }
  }
  void End(const char* Name) override {
    if (Is(Name, "si")) {
      FInString = false;
      FOut.Ends.push_back(FOut.Text.size());
    } else if (Is(Name, "rPh")) {
      --FPhonetic;
    } else if (Is(Name, "t")) {
      FInText = false;
    }
  }
  void Text(const char* Data, std::size_t Size) override {
    if (!FInText) return;
    const std::size_t used = FOut.Text.size() - FStart;
    if (used <= MaxFieldBytes) FOut.Text.append(Data, std::min(Size, MaxFieldBytes + 1 - used));
  }

 private:
  SharedStrings& FOut;
  bool FInString = false, FInText = false;
  int FPhonetic = 0;
  std::size_t FStart = 0;
};

// What each cell style shows a number as.
class StylesHandler : public XmlHandler {
 public:
  std::map<std::uint64_t, NumberFormatKind> Custom;
  std::vector<std::uint64_t> Formats;  // by cell style index
  void Start(const char* Name, const char** Attributes) override {
    if (Is(Name, "numFmt")) {
      const auto id = ParseCount(Attribute(Attributes, "numFmtId"));
      const char* code = Attribute(Attributes, "formatCode");
      if (id && code) Custom[*id] = KindOfNumberFormat(code);
    } else if (Is(Name, "cellXfs")) {
      FInCellStyles = true;
    } else if (Is(Name, "xf") && FInCellStyles) {
      Formats.push_back(ParseCount(Attribute(Attributes, "numFmtId")).value_or(0));
    }
  }
  void End(const char* Name) override {
    if (Is(Name, "cellXfs")) FInCellStyles = false;
  }
  void Text(const char*, std::size_t) override {}

 private:
  bool FInCellStyles = false;
};

class XlsxWorkbook : public Workbook {
 public:
  XlsxWorkbook(std::unique_ptr<ZipArchive> Archive, const WorkbookOptions& Options)
      : FArchive(std::move(Archive)), FOptions(Options) {}
  std::unique_ptr<RecordReader> Rows() const override;
  const char* Kind() const override { return "xlsx"; }

  std::unique_ptr<ZipArchive> FArchive;
  WorkbookOptions FOptions;
  std::string FSheetPart, FSheetName;
  SharedStrings FStrings;
  std::vector<NumberFormatKind> FStyles;
  bool FDate1904 = false;
};

class XlsxSheetReader : public RecordReader, private XmlHandler {
 public:
  explicit XlsxSheetReader(const XlsxWorkbook& Book)
      : FBook(Book), FRow(Book.FOptions.Limits), FStream(Book.FArchive->Open(Book.FSheetPart), *this) {}

  bool Next(CsvRecord& Record) override {
    while (!FReady) {
      if (FEnded || !FStream.Run()) {
        if (!FAny) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::EmptySheet, {FBook.FSheetName}));
        return false;
      }
    }
    FReady = false;
    FAny = true;
    FRow.Take(Record);
    return true;
  }

 private:
  enum class Collect { None, Value, Inline };

  [[noreturn]] void Damaged(std::size_t Line) const {
    throw BatchFileError(Line, BatchTexts::Fill(BatchTexts::DamagedPart, {FBook.FSheetPart}));
  }

  void Start(const char* Name, const char** Attributes) override {
    const char* local = LocalName(Name);
    if (!FInData) {
      FInData = std::strcmp(local, "sheetData") == 0;
      return;
    }
    if (std::strcmp(local, "row") == 0) {
      const char* number = Attribute(Attributes, "r");
      const std::optional<std::uint64_t> row = number ? ParseCount(number) : FLastRow + 1;
      if (!row || *row <= FLastRow) Damaged(FLastRow + 1);
      if (*row > FBook.FOptions.Limits.Rows)
        throw BatchFileError(0,
                             BatchTexts::Fill(BatchTexts::TooManyRows, {std::to_string(FBook.FOptions.Limits.Rows)}));
      FLastRow = static_cast<std::size_t>(*row);
      FRow.Start(FLastRow);
      FInRow = true;
      FNextColumn = 0;
    } else if (std::strcmp(local, "c") == 0) {
      if (!FInRow) Damaged(FLastRow);
      const char* reference = Attribute(Attributes, "r");
      const std::optional<std::size_t> column = reference ? ColumnOfReference(reference) : FNextColumn;
      if (!column || *column < FNextColumn) Damaged(FLastRow);
      FColumn = *column;
      FNextColumn = FColumn + 1;
      const char* type = Attribute(Attributes, "t");
      FType = type ? type : "n";
      FStyle = ParseCount(Attribute(Attributes, "s")).value_or(0);
      FFormula = false;
      FValue.clear();
      FInline.clear();
      FInCell = true;
    } else if (FInCell && std::strcmp(local, "v") == 0) {
      FCollect = Collect::Value;
    } else if (FInCell && std::strcmp(local, "f") == 0) {
      FFormula = true;
    } else if (FInCell && std::strcmp(local, "rPh") == 0) {
      ++FPhonetic;
    } else if (FInCell && std::strcmp(local, "t") == 0 && FPhonetic == 0) {
      FCollect = Collect::Inline;
    }
  }

  void End(const char* Name) override {
    if (!FInData) return;
    const char* local = LocalName(Name);
    if (std::strcmp(local, "v") == 0 || std::strcmp(local, "t") == 0) {
      FCollect = Collect::None;
    } else if (std::strcmp(local, "rPh") == 0) {
      --FPhonetic;
    } else if (std::strcmp(local, "c") == 0) {
      FinishCell();
      FInCell = false;
    } else if (std::strcmp(local, "row") == 0) {
      FInRow = false;
      if (!FRow.HasCells()) return;
      FRow.Count();
      FReady = true;
      FStream.Pause();
    } else if (std::strcmp(local, "sheetData") == 0) {
      // Nothing after the cells is read.
      FEnded = true;
      FStream.Pause();
    }
  }

  void Text(const char* Data, std::size_t Size) override {
    if (FCollect == Collect::Value) AppendCellText(FValue, Data, Size);
    if (FCollect == Collect::Inline) AppendCellText(FInline, Data, Size);
  }

  NumberFormatKind StyleKind() const {
    return FStyle < FBook.FStyles.size() ? FBook.FStyles[FStyle] : NumberFormatKind::Plain;
  }

  void FinishCell() {
    std::string text;
    std::optional<CellKind> kind;
    if (FType == "s") {
      if (!FValue.empty()) {
        const std::optional<std::uint64_t> index = ParseCount(FValue.c_str());
        if (!index || *index >= FBook.FStrings.Size()) Damaged(FLastRow);
        text = FBook.FStrings.At(static_cast<std::size_t>(*index));
      }
    } else if (FType == "inlineStr") {
      text = FInline;
    } else if (FType == "str") {
      text = FValue;  // a formula's text; empty is an empty cell
    } else if (FType == "b") {
      text = FValue == "true" ? "1" : FValue == "false" ? "0" : FValue;
    } else if (FType == "e") {
      kind = CellKind::Error;
      text = FValue;
    } else if (FType == "d") {
      kind = CellKind::Date;
      text = FValue;
    } else if (FValue.empty()) {
      // A number formula saved without its result (as openpyxl saves it).
      if (FFormula) kind = CellKind::NoValue;
    } else if (StyleKind() == NumberFormatKind::Date) {
      kind = CellKind::Date;
      text = DateOfSerial(FValue, FBook.FDate1904).value_or(FValue);
    } else if (StyleKind() == NumberFormatKind::Percentage) {
      kind = CellKind::Percentage;
      text = FValue;
    } else {
      text = WithDecimalSeparator(FValue, FBook.FOptions.DecimalSeparator);
    }
    if (text.size() > MaxFieldBytes)
      throw BatchFileError(FLastRow, BatchTexts::Fill(BatchTexts::FieldTooLong, {std::to_string(MaxFieldBytes)}));
    FRow.Place(FColumn, std::move(text), kind);
  }

  const XlsxWorkbook& FBook;
  RowBuilder FRow;
  bool FInData = false, FInRow = false, FInCell = false, FFormula = false;
  bool FReady = false, FEnded = false, FAny = false;
  std::size_t FLastRow = 0, FNextColumn = 0, FColumn = 0;
  std::uint64_t FStyle = 0;
  std::string FType, FValue, FInline;
  Collect FCollect = Collect::None;
  int FPhonetic = 0;
  XmlStream FStream;  // last: its handler is this reader
};

std::unique_ptr<RecordReader> XlsxWorkbook::Rows() const { return std::make_unique<XlsxSheetReader>(*this); }

void ParseWhole(const ZipArchive& Archive, const std::string& Part, XmlHandler& Handler, std::uint64_t MaxBytes,
                const char* TooLarge = BatchTexts::PartTooLarge) {
  XmlStream stream(Archive.Open(Part, MaxBytes, TooLarge), Handler);
  stream.RunToEnd();
}

std::vector<Relationship> ReadRelationships(const ZipArchive& Archive, const std::string& Part,
                                            std::uint64_t MaxBytes) {
  RelationshipsHandler handler;
  ParseWhole(Archive, Part, handler, MaxBytes);
  return handler.Found;
}

// The part a relationship of that type names, or the usual name when the
// workbook lists none and the part is there.
std::optional<std::string> RelatedPart(const ZipArchive& Archive, const std::vector<Relationship>& Relationships,
                                       const std::string& Main, const char* Type, const char* Usual) {
  for (const Relationship& relationship : Relationships)
    if (EndsWith(relationship.Type, Type)) return ResolveTarget(Main, relationship.Target);
  const std::string usual = ResolveTarget(Main, Usual);
  if (Archive.Has(usual)) return usual;
  return std::nullopt;
}

}  // namespace

std::unique_ptr<Workbook> OpenXlsx(std::unique_ptr<ZipArchive> Archive, const WorkbookOptions& Options,
                                   const std::string& FileName) {
  const std::uint64_t kept = Options.Limits.KeptPartBytes;
  std::string main = "xl/workbook.xml";
  if (Archive->Has("_rels/.rels"))
    for (const Relationship& relationship : ReadRelationships(*Archive, "_rels/.rels", kept))
      if (EndsWith(relationship.Type, "/officeDocument")) {
        main = ResolveTarget("", relationship.Target);
        break;
      }
  WorkbookHandler workbook;
  ParseWhole(*Archive, main, workbook, kept);
  if (!workbook.IsWorkbook) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::NotAWorkbook, {FileName}));
  if (workbook.Sheets.empty()) throw BatchFileError(0, BatchTexts::NoSheets);
  const std::vector<Relationship> relationships = ReadRelationships(*Archive, RelationshipsOf(main), kept);
  const auto relationshipOf = [&](const SheetEntry& Sheet) -> const Relationship* {
    for (const Relationship& relationship : relationships)
      if (relationship.Id == Sheet.RelationshipId) return &relationship;
    return nullptr;
  };
  const auto isWorksheet = [&](const SheetEntry& Sheet) {
    const Relationship* relationship = relationshipOf(Sheet);
    return relationship && EndsWith(relationship->Type, "/worksheet");
  };

  const SheetEntry* chosen = nullptr;
  if (Options.Sheet) {
    std::string names;
    for (const SheetEntry& sheet : workbook.Sheets) {
      if (sheet.Name == *Options.Sheet && !chosen) chosen = &sheet;
      names += (names.empty() ? "\"" : std::string(BatchTexts::ListSeparator) + "\"") + sheet.Name + "\"";
    }
    if (!chosen) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::NoSuchSheet, {*Options.Sheet, names}));
  } else {
    // The first sheet that holds cells; a chart sheet before it has none.
    for (const SheetEntry& sheet : workbook.Sheets)
      if (isWorksheet(sheet)) {
        chosen = &sheet;
        break;
      }
    if (!chosen) chosen = &workbook.Sheets.front();
  }
  if (!relationshipOf(*chosen)) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::DamagedPart, {main}));
  if (!isWorksheet(*chosen)) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::NotAWorksheet, {chosen->Name}));

  auto book = std::make_unique<XlsxWorkbook>(std::move(Archive), Options);
  const ZipArchive& archive = *book->FArchive;
  book->FSheetName = chosen->Name;
  book->FSheetPart = ResolveTarget(main, relationshipOf(*chosen)->Target);
  book->FDate1904 = workbook.Date1904;
  if (!archive.Has(book->FSheetPart))
    throw BatchFileError(0, BatchTexts::Fill(BatchTexts::MissingPart, {book->FSheetPart}));
  if (const auto part = RelatedPart(archive, relationships, main, "/sharedStrings", "sharedStrings.xml")) {
    SharedStringsHandler handler(book->FStrings);
    ParseWhole(archive, *part, handler, kept, BatchTexts::SharedStringsTooLarge);
  }
  if (const auto part = RelatedPart(archive, relationships, main, "/styles", "styles.xml")) {
    StylesHandler handler;
    ParseWhole(archive, *part, handler, kept);
    for (const std::uint64_t id : handler.Formats) {
      const auto custom = handler.Custom.find(id);
      book->FStyles.push_back(custom != handler.Custom.end() ? custom->second : KindOfBuiltInFormat(id));
    }
  }
  return book;
}

}  // namespace WorkbookDetail
