// SPDX-License-Identifier: GPL-3.0-or-later
// CSV as a spreadsheet saves it: UTF-8 with or without a byte-order mark,
// UTF-16 with one, or Windows-1256 when asked for (Excel's CSV on a Persian
// Windows); comma, semicolon or tab, found from the header row; RFC 4180
// quoting, parsed by libcsv in strict mode. Records come one at a time with
// the file line they start on, so memory stays flat however long the file.
#pragma once

#include <cstddef>
#include <csv.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/Records.h"
#include "storage/TextDecoding.h"

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

// The encoding a run asks for (--encoding). Auto follows the byte-order mark
// and reads a file without one as UTF-8; a mark that contradicts a given
// encoding is refused. UTF-16 without a mark is little-endian, as Windows
// writes it.
enum class CsvEncoding { Auto, Utf8, Utf16, Windows1256 };

// Thrown instead of the invalid UTF-8 error when the encoding was neither
// given nor marked: the caller may read the file again as Windows-1256.
class NotUtf8Error : public BatchFileError {
 public:
  using BatchFileError::BatchFileError;
};

class CsvReader : public RecordReader {
 public:
  explicit CsvReader(ByteSource& Source, CsvEncoding Choice = CsvEncoding::Auto);
  ~CsvReader();
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  // The next record, its cells exactly as stored (no trimming); false after
  // the last one. Empty lines are skipped. Throws BatchFileError.
  bool Next(CsvRecord& Record) override;

  // Known once the header row has been looked at (reads ahead if needed).
  char Delimiter();
  TextEncoding Encoding();

 private:
  static void OnField(void* Data, std::size_t Size, void* Self);
  static void OnRecord(int Terminator, void* Self);

  void Start();
  bool DecodeMore();  // false at the end of the input or after a decoding failure
  void Decode(bool AtEnd);
  void FindDelimiter();
  void FeedNext();
  void Feed(const char* Data, std::size_t Size);
  [[noreturn]] void ThrowParseError();

  [[noreturn]] void ThrowDecodeFailure();

  ByteSource& FSource;
  CsvEncoding FChoice;
  csv_parser FParser{};
  bool FStarted = false;
  TextEncoding FEncoding = TextEncoding::Utf8;
  std::unique_ptr<Windows1256Decoder> FWindows1256;
  char FDelimiter = ',';
  std::string FRaw;      // bytes read and not yet decoded
  bool FRawEnd = false;  // the source has nothing more
  std::string FText;     // UTF-8 decoded and not yet parsed, from FTextPos
  std::size_t FTextPos = 0;
  std::optional<std::string> FDecodeFailure;  // decoding stopped at the end of FText
  bool FNotUtf8 = false;                      // the failure is invalid UTF-8 in a file of unknown encoding
  std::size_t FLine = 1;                      // line of the next byte fed to the parser
  bool FAfterCr = false;                      // the last byte fed was a CR at the end of FText
  CsvRecord FCurrent;
  bool FFirstField = true;
  bool FReady = false;
  bool FFinished = false;
};
