// SPDX-License-Identifier: GPL-3.0-or-later
// CSV as a spreadsheet saves it: UTF-8 with or without a byte-order mark, or
// UTF-16 with one; comma, semicolon or tab, found from the header row; RFC 4180
// quoting, parsed by libcsv in strict mode. Records come one at a time with
// the file line they start on, so memory stays flat however long the file.
#pragma once

#include <cstddef>
#include <csv.h>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A problem of the whole input file: the run stops before any output exists.
// what() is the Persian text the user reads.
class BatchFileError : public std::runtime_error {
 public:
  BatchFileError(std::size_t Line, const std::string& Message) : std::runtime_error(Message), FLine(Line) {}
  std::size_t Line() const { return FLine; }  // from 1; 0 when the problem is not on one line

 private:
  std::size_t FLine;
};

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to Size bytes into Buffer; 0 at the end. Throws BatchFileError.
  virtual std::size_t Read(char* Buffer, std::size_t Size) = 0;
};

// Reads bytes that outlive it: a temporary string is refused at compile time.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view Bytes) : FBytes(Bytes) {}
  explicit MemorySource(std::string&&) = delete;
  std::size_t Read(char* Buffer, std::size_t Size) override;

 private:
  std::string_view FBytes;
};

enum class TextEncoding { Utf8, Utf8WithMark, Utf16LE, Utf16BE };

struct CsvRecord {
  std::size_t Line = 0;  // the file line the record starts on, from 1
  std::vector<std::string> Cells;
};

// A longer cell is refused: nothing in a decree file comes near it, and the
// parser's buffer stays bounded.
inline constexpr std::size_t MaxFieldBytes = std::size_t{1} << 20;

class CsvReader {
 public:
  explicit CsvReader(ByteSource& Source);
  ~CsvReader();
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  // The next record, its cells exactly as stored (no trimming); false after
  // the last one. Empty lines are skipped. Throws BatchFileError.
  bool Next(CsvRecord& Record);

  // Known once the header row has been looked at (reads ahead if needed).
  char Delimiter();
  TextEncoding Encoding();

 private:
  static void OnField(void* Data, std::size_t Size, void* Self);
  static void OnRecord(int Terminator, void* Self);

  void Start();
  bool DecodeMore();  // false at the end of the input or after a decoding failure
  void DecodeUtf8(bool AtEnd);
  void DecodeUtf16(bool AtEnd);
  void FindDelimiter();
  void FeedNext();
  void Feed(const char* Data, std::size_t Size);
  [[noreturn]] void ThrowParseError();

  ByteSource& FSource;
  csv_parser FParser{};
  bool FStarted = false;
  TextEncoding FEncoding = TextEncoding::Utf8;
  char FDelimiter = ',';
  std::string FRaw;      // bytes read and not yet decoded
  bool FRawEnd = false;  // the source has nothing more
  std::string FText;     // UTF-8 decoded and not yet parsed, from FTextPos
  std::size_t FTextPos = 0;
  std::optional<std::string> FDecodeFailure;  // decoding stopped at the end of FText
  std::size_t FLine = 1;                      // line of the next byte fed to the parser
  bool FAfterCr = false;                      // the last byte fed was a CR at the end of FText
  CsvRecord FCurrent;
  bool FFirstField = true;
  bool FReady = false;
  bool FFinished = false;
};
