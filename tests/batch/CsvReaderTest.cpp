// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "batch/BatchTexts.h"
#include "batch/CsvReader.h"

using namespace std::string_literals;

namespace {

using Records = std::vector<std::vector<std::string>>;

// Hands out one to three bytes per read, so every sequence and every line
// break is cut between two reads somewhere.
class DripSource : public ByteSource {
 public:
  explicit DripSource(std::string Bytes) : FBytes(std::move(Bytes)) {}
  std::size_t Read(char* Buffer, std::size_t Size) override {
    const std::size_t n = std::min({Size, FBytes.size() - FPos, std::size_t{1} + FPos % 3});
    std::copy_n(FBytes.data() + FPos, n, Buffer);
    FPos += n;
    return n;
  }

 private:
  std::string FBytes;
  std::size_t FPos = 0;
};

struct Parsed {
  Records Cells;
  std::vector<std::size_t> Lines;
  char Delimiter = 0;
  TextEncoding Encoding = TextEncoding::Utf8;
};

Parsed ParseWith(ByteSource& Source) {
  CsvReader reader(Source);
  Parsed parsed;
  parsed.Delimiter = reader.Delimiter();
  parsed.Encoding = reader.Encoding();
  CsvRecord record;
  while (reader.Next(record)) {
    parsed.Cells.push_back(record.Cells);
    parsed.Lines.push_back(record.Line);
  }
  return parsed;
}

// Both ways of reading must agree; the whole-buffer result is returned.
Parsed Parse(const std::string& Bytes) {
  MemorySource whole(Bytes);
  Parsed parsed = ParseWith(whole);
  DripSource drip(Bytes);
  const Parsed dripped = ParseWith(drip);
  EXPECT_EQ(dripped.Cells, parsed.Cells) << "read in small pieces";
  EXPECT_EQ(dripped.Lines, parsed.Lines) << "read in small pieces";
  return parsed;
}

std::string Utf16(const std::u16string& Text, bool BigEndian) {
  std::string out = BigEndian ? "\xFE\xFF"s : "\xFF\xFE"s;
  for (char16_t unit : Text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += BigEndian ? std::string{high, low} : std::string{low, high};
  }
  return out;
}

TEST(CsvReader, ReadsEachEncodingASpreadsheetSaves) {
  const Records expected = {{"نام", "Edit1"}, {"علی", "1000"}};
  struct Row {
    const char* Name;
    std::string Bytes;
    TextEncoding Encoding;
  } rows[] = {
      {"UTF-8", "نام,Edit1\r\nعلی,1000\r\n", TextEncoding::Utf8},
      {"UTF-8 with its mark", "\xEF\xBB\xBFنام,Edit1\r\nعلی,1000\r\n", TextEncoding::Utf8WithMark},
      {"UTF-16 little-endian", Utf16(u"نام,Edit1\r\nعلی,1000\r\n", false), TextEncoding::Utf16LE},
      {"UTF-16 big-endian", Utf16(u"نام,Edit1\r\nعلی,1000\r\n", true), TextEncoding::Utf16BE},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const Parsed parsed = Parse(row.Bytes);
    EXPECT_EQ(parsed.Cells, expected);
    EXPECT_EQ(parsed.Encoding, row.Encoding);
  }
}

TEST(CsvReader, TheEncodingAskedForAgainstTheMark) {
  const std::string windows1256 = "\xE4\xC7\xE3,Edit1\r\n\xD1\xD6\xC7,1000\r\n";  // a header and a name
  struct Row {
    const char* Name;
    std::string Bytes;
    CsvEncoding Choice;
    Records Cells;
    std::string Error;  // the message of a refusal
    bool NotUtf8;       // the caller may read it again as Windows-1256
  } rows[] = {
      {"Windows-1256 asked for", windows1256, CsvEncoding::Windows1256, {{"نام", "Edit1"}, {"رضا", "1000"}}, "", false},
      {"Windows-1256 not asked for", windows1256, CsvEncoding::Auto, {}, BatchTexts::InvalidUtf8, true},
      {"Windows-1256 read as the UTF-8 asked for", windows1256, CsvEncoding::Utf8, {}, BatchTexts::InvalidUtf8, false},
      {"UTF-16 without a mark is little-endian",
       Utf16(u"a,b\n", false).substr(2),
       CsvEncoding::Utf16,
       {{"a", "b"}},
       "",
       false},
      {"UTF-16 with a big-endian mark", Utf16(u"a,b\n", true), CsvEncoding::Utf16, {{"a", "b"}}, "", false},
      {"a UTF-8 mark against Windows-1256",
       "\xEF\xBB\xBFz\n",
       CsvEncoding::Windows1256,
       {},
       BatchTexts::Fill(BatchTexts::MarkContradictsEncoding, {"UTF-8", "windows-1256"}),
       false},
      {"a UTF-8 mark against UTF-16",
       "\xEF\xBB\xBFz\n",
       CsvEncoding::Utf16,
       {},
       BatchTexts::Fill(BatchTexts::MarkContradictsEncoding, {"UTF-8", "utf-16"}),
       false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    MemorySource source(row.Bytes);
    CsvReader reader(source, row.Choice);
    Records cells;
    std::string error;
    bool notUtf8 = false;
    try {
      CsvRecord record;
      while (reader.Next(record)) cells.push_back(record.Cells);
    } catch (const NotUtf8Error& e) {
      error = e.what();
      notUtf8 = true;
    } catch (const BatchFileError& e) {
      error = e.what();
    }
    EXPECT_EQ(cells, row.Cells);
    EXPECT_EQ(error, row.Error);
    EXPECT_EQ(notUtf8, row.NotUtf8);
  }
}

TEST(CsvReader, Utf16SurrogatePairsBecomeOneCharacter) {
  const Parsed parsed = Parse(Utf16(u"a\n\U0001F600\n", false));
  EXPECT_EQ(parsed.Cells, (Records{{"a"}, {"\xF0\x9F\x98\x80"}}));
}

TEST(CsvReader, FindsTheDelimiterFromTheHeaderRow) {
  struct Row {
    const char* Name;
    std::string Bytes;
    char Delimiter;
    Records Cells;
  } rows[] = {
      {"comma", "a,b\n1,2\n", ',', {{"a", "b"}, {"1", "2"}}},
      {"semicolon, commas in the data", "a;b\n1,5;2\n", ';', {{"a", "b"}, {"1,5", "2"}}},
      {"tab", "a\tb\n1\t2\n", '\t', {{"a", "b"}, {"1", "2"}}},
      {"quoted delimiters do not count", "\"x;y;z\",b\n1,2\n", ',', {{"x;y;z", "b"}, {"1", "2"}}},
      {"a tie goes to the comma", "a,b;c\n", ',', {{"a", "b;c"}}},
      {"semicolons outnumber commas", "a,b;c;d\n", ';', {{"a,b", "c", "d"}}},
      {"a single column", "name\nx\n", ',', {{"name"}, {"x"}}},
      {"empty lines before the header", "\n\r\na;b\n", ';', {{"a", "b"}}},
      {"only the header row counts", "a;b\n1,2,3,4\n", ';', {{"a", "b"}, {"1,2,3,4"}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const Parsed parsed = Parse(row.Bytes);
    EXPECT_EQ(parsed.Delimiter, row.Delimiter);
    EXPECT_EQ(parsed.Cells, row.Cells);
  }
}

TEST(CsvReader, QuotingAsRfc4180) {
  struct Row {
    const char* Name;
    std::string Bytes;
    Records Cells;
  } rows[] = {
      {"delimiter inside quotes", "\"a,b\",c\n", {{"a,b", "c"}}},
      {"doubled quote", "\"say \"\"hi\"\"\",x\n", {{"say \"hi\"", "x"}}},
      {"line break inside quotes", "\"one\r\ntwo\",x\n", {{"one\r\ntwo", "x"}}},
      {"empty quoted cell", "\"\",x\n", {{"", "x"}}},
      {"blanks are kept", " a , b \n", {{" a ", " b "}}},
      {"empty cells", "a,,\n", {{"a", "", ""}}},
      {"last line without a break", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(Parse(row.Bytes).Cells, row.Cells);
  }
}

TEST(CsvReader, EachRecordKnowsTheLineItStartsOn) {
  struct Row {
    const char* Name;
    std::string Bytes;
    std::vector<std::size_t> Lines;
  } rows[] = {
      {"LF", "h\n1\n2\n", {1, 2, 3}},
      {"CR LF", "h\r\n1\r\n2\r\n", {1, 2, 3}},
      {"lone CR", "h\r1\r2\r", {1, 2, 3}},
      {"empty lines are skipped but counted", "h\n\n1\r\n\r\n2\n", {1, 3, 5}},
      {"a quoted first cell over two lines", "h\n\"a\nb\",1\n2\n", {1, 2, 4}},
      {"a quoted later cell over three lines", "h\n1,\"a\r\nb\rc\"\n2\n", {1, 2, 5}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(Parse(row.Bytes).Lines, row.Lines);
  }
}

// The records before the fault, the fault's line and message.
struct Failure {
  std::size_t Records = 0;
  std::size_t Line = 0;
  std::string Message;
};

Failure FailWith(ByteSource& Source) {
  Failure failure;
  try {
    CsvReader reader(Source);
    CsvRecord record;
    while (reader.Next(record)) ++failure.Records;
    ADD_FAILURE() << "no error";
  } catch (const BatchFileError& error) {
    failure.Line = error.Line();
    failure.Message = error.what();
  }
  return failure;
}

TEST(CsvReader, RefusesAMalformedFileWithTheLineAndAPersianMessage) {
  const std::string tooLong = BatchTexts::Fill(BatchTexts::FieldTooLong, {"1048576"});
  struct Row {
    const char* Name;
    std::string Bytes;
    std::size_t Records;  // read before the fault
    std::size_t Line;
    std::string Message;
  } rows[] = {
      {"quote never closed", "a\n1\n\"open\nmore\n", 2, 3, BatchTexts::UnclosedQuote},
      {"quote inside an unquoted cell", "a\nx\"y\n", 1, 2, BatchTexts::MisplacedQuote},
      {"text after a closing quote", "a\n\"ab\"c\n", 1, 2, BatchTexts::MisplacedQuote},
      {"NUL byte", "a\n1\n2\0003\n"s, 2, 3, BatchTexts::NulByte},
      {"invalid UTF-8 byte", "a\n\xFF\n", 1, 2, BatchTexts::InvalidUtf8},
      {"UTF-8 cut at the end", "a\n\xD9", 1, 2, BatchTexts::InvalidUtf8},
      {"overlong UTF-8", "a\nb\n\xC0\xAF\n", 2, 3, BatchTexts::InvalidUtf8},
      {"UTF-8 surrogate", "a\n\xED\xA0\x80\n", 1, 2, BatchTexts::InvalidUtf8},
      {"UTF-16 lone high surrogate", Utf16(u"a\n\xD800x\n", false), 1, 2, BatchTexts::InvalidUtf16},
      {"UTF-16 lone low surrogate", Utf16(u"a\n\xDC00\n", true), 1, 2, BatchTexts::InvalidUtf16},
      {"UTF-16 odd byte count", Utf16(u"a\nb", false) + "x", 1, 2, BatchTexts::InvalidUtf16},
      {"UTF-16 NUL", Utf16(u"a\n"s + u'\0' + u"\n", false), 1, 2, BatchTexts::NulByte},
      {"a cell one byte too long", "a\n" + std::string(MaxFieldBytes + 1, 'x') + "\n", 1, 2, tooLong},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    MemorySource whole(row.Bytes);
    const Failure failure = FailWith(whole);
    EXPECT_EQ(failure.Records, row.Records);
    EXPECT_EQ(failure.Line, row.Line);
    EXPECT_EQ(failure.Message, row.Message);
    DripSource drip(row.Bytes);
    const Failure dripped = FailWith(drip);
    EXPECT_EQ(dripped.Line, row.Line) << "read in small pieces";
    EXPECT_EQ(dripped.Message, row.Message) << "read in small pieces";
  }
}

TEST(CsvReader, TakesACellOfExactlyTheLimit) {
  const std::string cell(MaxFieldBytes, '7');
  const Parsed parsed = Parse("a,b\n1,\"" + cell + "\"\n");
  ASSERT_EQ(parsed.Cells.size(), 2u);
  EXPECT_EQ(parsed.Cells[1][1], cell);
}

TEST(CsvReader, ATenMegabyteCellIsRefusedQuickly) {
  const std::string bytes = "a\n\"" + std::string(10 << 20, 'x') + "\"\n";
  const auto start = std::chrono::steady_clock::now();
  MemorySource source(bytes);
  const Failure failure = FailWith(source);
  EXPECT_EQ(failure.Line, 2u);
  EXPECT_EQ(failure.Message, BatchTexts::Fill(BatchTexts::FieldTooLong, {"1048576"}));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(CsvReader, ThousandsOfColumns) {
  std::string header, row;
  for (int k = 0; k < 5000; ++k) {
    header += (k ? "," : "") + ("c" + std::to_string(k));
    row += (k ? "," : "") + std::to_string(k);
  }
  const std::string bytes = header + "\n" + row + "\n";
  MemorySource source(bytes);
  const Parsed parsed = ParseWith(source);
  ASSERT_EQ(parsed.Cells.size(), 2u);
  ASSERT_EQ(parsed.Cells[1].size(), 5000u);
  EXPECT_EQ(parsed.Cells[0][4999], "c4999");
  EXPECT_EQ(parsed.Cells[1][4999], "4999");
}

TEST(CsvReader, AnEmptyFileHasNoRecords) {
  EXPECT_TRUE(Parse("").Cells.empty());
  EXPECT_TRUE(Parse("\xEF\xBB\xBF").Cells.empty());
  EXPECT_TRUE(Parse("\n\r\n").Cells.empty());
}

}  // namespace
