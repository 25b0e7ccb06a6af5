// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/CsvReader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "batch/BatchTexts.h"

namespace {

constexpr std::size_t ReadBlock = 64 * 1024;
// libcsv grows its field buffer by this much at a time.
constexpr std::size_t GrowBlock = 64 * 1024;

// libcsv halves its request when the allocation fails, so its field buffer
// grows to exactly this cap and no further; it then reports CSV_ENOMEM. The
// parser keeps two bytes free at the end of its buffer.
void* CappedRealloc(void* Block, std::size_t Size) {
  if (Size > MaxFieldBytes + 2) return nullptr;
  return std::realloc(Block, Size);
}

// Cells are carried unchanged: no blank is trimmed around unquoted text.
int NoSpace(unsigned char) { return 0; }

// Line breaks as a text editor counts them: CR LF, a lone CR or a lone LF.
std::size_t LineBreaks(const char* Text, std::size_t Size) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < Size; ++i) {
    if (Text[i] == '\n') {
      ++count;
    } else if (Text[i] == '\r') {
      ++count;
      if (i + 1 < Size && Text[i + 1] == '\n') ++i;
    }
  }
  return count;
}

}  // namespace

std::size_t MemorySource::Read(char* Buffer, std::size_t Size) {
  const std::size_t n = std::min(Size, FBytes.size());
  std::memcpy(Buffer, FBytes.data(), n);
  FBytes.remove_prefix(n);
  return n;
}

CsvReader::CsvReader(ByteSource& Source, CsvEncoding Choice) : FSource(Source), FChoice(Choice) {
  csv_init(&FParser, CSV_STRICT | CSV_STRICT_FINI);
  csv_set_space_func(&FParser, NoSpace);
  csv_set_realloc_func(&FParser, CappedRealloc);
  csv_set_blk_size(&FParser, GrowBlock);
}

CsvReader::~CsvReader() { csv_free(&FParser); }

void CsvReader::Start() {
  if (FStarted) return;
  FStarted = true;
  char buffer[ReadBlock];
  while (FRaw.size() < 3 && !FRawEnd) {
    const std::size_t n = FSource.Read(buffer, sizeof buffer);
    if (n == 0) FRawEnd = true;
    FRaw.append(buffer, n);
  }
  const MarkedEncoding mark = FindByteOrderMark(reinterpret_cast<const unsigned char*>(FRaw.data()), FRaw.size());
  const bool utf16 = mark.Encoding == TextEncoding::Utf16LE || mark.Encoding == TextEncoding::Utf16BE;
  const char* given = nullptr;  // the --encoding that the mark contradicts
  switch (FChoice) {
    case CsvEncoding::Auto: FEncoding = mark.Encoding; break;
    case CsvEncoding::Utf8:
      if (utf16) given = "utf-8";
      FEncoding = mark.Encoding;
      break;
    case CsvEncoding::Utf16:
      if (mark.Encoding == TextEncoding::Utf8WithMark) given = "utf-16";
      FEncoding = utf16 ? mark.Encoding : TextEncoding::Utf16LE;
      break;
    case CsvEncoding::Windows1256:
      if (mark.Length > 0) given = "windows-1256";
      FEncoding = TextEncoding::Windows1256;
      break;
  }
  if (given) {
    const char* name = mark.Encoding == TextEncoding::Utf8WithMark ? "UTF-8" : "UTF-16";
    throw BatchFileError(1, BatchTexts::Fill(BatchTexts::MarkContradictsEncoding, {name, given}));
  }
  FRaw.erase(0, mark.Length);
  if (FEncoding == TextEncoding::Windows1256) FWindows1256 = std::make_unique<Windows1256Decoder>();
  FindDelimiter();
}

bool CsvReader::DecodeMore() {
  if (FDecodeFailure) return false;
  if (FRaw.empty() && FRawEnd) return false;
  if (!FRawEnd) {
    char buffer[ReadBlock];
    const std::size_t n = FSource.Read(buffer, sizeof buffer);
    if (n == 0) FRawEnd = true;
    FRaw.append(buffer, n);
  }
  Decode(FRawEnd);
  return true;
}

void CsvReader::Decode(bool AtEnd) {
  const auto* data = reinterpret_cast<const unsigned char*>(FRaw.data());
  Decoded decoded{};
  switch (FEncoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithMark: decoded = DecodeUtf8(data, FRaw.size(), AtEnd, Malformed::Stop, FText); break;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
      decoded = DecodeUtf16(data, FRaw.size(), FEncoding == TextEncoding::Utf16BE, AtEnd, Malformed::Stop, FText);
      break;
    case TextEncoding::Windows1256: decoded = FWindows1256->Decode(data, FRaw.size(), FText); break;
  }
  const bool utf16 = FEncoding == TextEncoding::Utf16LE || FEncoding == TextEncoding::Utf16BE;
  if (decoded.Stop == DecodeStop::Nul) {
    FDecodeFailure = BatchTexts::NulByte;
  } else if (decoded.Stop == DecodeStop::IllFormed) {
    FDecodeFailure = utf16 ? BatchTexts::InvalidUtf16 : BatchTexts::InvalidUtf8;
    FNotUtf8 = FChoice == CsvEncoding::Auto && FEncoding == TextEncoding::Utf8;
  }
  FRaw.erase(0, FDecodeFailure ? FRaw.size() : decoded.Used);
}

void CsvReader::ThrowDecodeFailure() {
  if (FNotUtf8) throw NotUtf8Error(FLine, *FDecodeFailure);
  throw BatchFileError(FLine, *FDecodeFailure);
}

// The delimiter the header row uses most outside quotes: comma, semicolon or
// tab, the earlier one on a tie; a comma when the header has none of them.
void CsvReader::FindDelimiter() {
  std::size_t scanned = 0;
  bool quoted = false, content = false, ended = false;
  std::size_t commas = 0, semicolons = 0, tabs = 0;
  for (;;) {
    for (; scanned < FText.size(); ++scanned) {
      const char c = FText[scanned];
      const bool lineBreak = c == '\r' || c == '\n';
      if (c == '"') {
        quoted = !quoted;
      } else if (quoted) {
        continue;
      } else if (lineBreak) {
        // Empty lines before the header are skipped by the parser too.
        if (content) {
          ended = true;
          break;
        }
      } else if (c == ',') {
        ++commas;
      } else if (c == ';') {
        ++semicolons;
      } else if (c == '\t') {
        ++tabs;
      }
      if (!lineBreak) content = true;
    }
    if (ended || !DecodeMore()) break;
  }
  if (semicolons > commas && semicolons >= tabs)
    FDelimiter = ';';
  else if (tabs > commas && tabs > semicolons)
    FDelimiter = '\t';
  else
    FDelimiter = ',';
  csv_set_delim(&FParser, static_cast<unsigned char>(FDelimiter));
}

char CsvReader::Delimiter() {
  Start();
  return FDelimiter;
}

TextEncoding CsvReader::Encoding() {
  Start();
  return FEncoding;
}

void CsvReader::OnField(void* Data, std::size_t Size, void* Self) {
  auto& reader = *static_cast<CsvReader*>(Self);
  const char* text = Data ? static_cast<const char*>(Data) : "";
  reader.FCurrent.Cells.emplace_back(text, Size);
  if (reader.FFirstField) {
    // The field ends on the current line; its own line breaks lead back to the start.
    reader.FCurrent.Line = reader.FLine - LineBreaks(text, Size);
    reader.FFirstField = false;
  }
}

void CsvReader::OnRecord(int, void* Self) {
  auto& reader = *static_cast<CsvReader*>(Self);
  reader.FReady = true;
  reader.FFirstField = true;
}

void CsvReader::ThrowParseError() {
  const int error = csv_error(&FParser);
  if (error == CSV_ENOMEM && FParser.entry_size > MaxFieldBytes)
    throw BatchFileError(FLine, BatchTexts::Fill(BatchTexts::FieldTooLong, {std::to_string(MaxFieldBytes)}));
  if (error == CSV_ENOMEM || error == CSV_ETOOBIG) throw BatchFileError(FLine, BatchTexts::OutOfMemory);
  throw BatchFileError(FLine, BatchTexts::MisplacedQuote);
}

void CsvReader::Feed(const char* Data, std::size_t Size) {
  if (csv_parse(&FParser, Data, Size, OnField, OnRecord, this) != Size) ThrowParseError();
}

// One piece of text up to and including the next line break: the parser
// ends at most one record in it, so each record knows its line.
void CsvReader::FeedNext() {
  if (FTextPos == FText.size()) {
    FText.clear();
    FTextPos = 0;
    if (DecodeMore()) return;
    if (FDecodeFailure) ThrowDecodeFailure();
    if (csv_fini(&FParser, OnField, OnRecord, this) != 0) {
      // The unclosed field holds everything since its opening quote.
      const std::size_t opened =
          FLine - LineBreaks(reinterpret_cast<const char*>(FParser.entry_buf), FParser.entry_pos);
      throw BatchFileError(opened, BatchTexts::UnclosedQuote);
    }
    FFinished = true;
    return;
  }
  const char* text = FText.data();
  const std::size_t size = FText.size();
  if (FAfterCr) {
    FAfterCr = false;
    if (text[FTextPos] == '\n') {  // the LF of a CR LF split between two blocks
      Feed(text + FTextPos, 1);
      ++FTextPos;
      return;
    }
  }
  std::size_t end = FTextPos;
  while (end < size && text[end] != '\r' && text[end] != '\n') ++end;
  if (end == size) {
    Feed(text + FTextPos, end - FTextPos);
    FTextPos = end;
    return;
  }
  if (text[end] == '\r' && end + 1 == size) FAfterCr = true;
  end += text[end] == '\r' && end + 1 < size && text[end + 1] == '\n' ? 2 : 1;
  Feed(text + FTextPos, end - FTextPos);
  FTextPos = end;
  ++FLine;
  // Keep the buffer from growing: what has been fed is dropped now and then.
  if (FTextPos > 4 * ReadBlock) {
    FText.erase(0, FTextPos);
    FTextPos = 0;
  }
}

bool CsvReader::Next(CsvRecord& Record) {
  Start();
  while (!FReady && !FFinished) FeedNext();
  if (!FReady) return false;
  FReady = false;
  // An unquoted cell can get one byte past the parser's cap.
  for (const std::string& cell : FCurrent.Cells)
    if (cell.size() > MaxFieldBytes)
      throw BatchFileError(FCurrent.Line, BatchTexts::Fill(BatchTexts::FieldTooLong, {std::to_string(MaxFieldBytes)}));
  Record.Line = FCurrent.Line;
  std::swap(Record.Cells, FCurrent.Cells);
  FCurrent.Cells.clear();
  return true;
}
