// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/Workbook.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "batch/BatchTexts.h"

namespace WorkbookDetail {

namespace {

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and
// back (H. Hinnant's algorithms).
long long DaysFromCivil(long long Year, unsigned Month, unsigned Day) {
  Year -= Month <= 2;
  const long long era = (Year >= 0 ? Year : Year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(Year - era * 400);
  const unsigned dayOfYear = (153 * (Month > 2 ? Month - 3 : Month + 9) + 2) / 5 + Day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

void CivilFromDays(long long Days, long long& Year, unsigned& Month, unsigned& Day) {
  Days += 719468;
  const long long era = (Days >= 0 ? Days : Days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(Days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
  Day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  Month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  Year = static_cast<long long>(yearOfEra) + era * 400 + (Month <= 2);
}

}  // namespace

void RowBuilder::Start(std::size_t Row) {
  FRecord.Line = Row;
  FRecord.Cells.clear();
  FRecord.Kinded.clear();
  FRowBytes = 0;
}

void RowBuilder::Place(std::size_t Column, std::string Text, std::optional<CellKind> Kind, std::uint64_t Repeat) {
  if (Text.empty() && !Kind) return;
  if (Column >= FLimits.Columns || Repeat > FLimits.Columns - Column)
    throw BatchFileError(FRecord.Line, BatchTexts::Fill(BatchTexts::TooManyColumns, {std::to_string(FLimits.Columns)}));
  const std::size_t end = Column + static_cast<std::size_t>(Repeat);
  FRowBytes += Text.size() * static_cast<std::size_t>(Repeat);
  if (FRowBytes > FLimits.RowBytes)
    throw BatchFileError(FRecord.Line, BatchTexts::Fill(BatchTexts::RowTooLong, {std::to_string(FLimits.RowBytes)}));
  if (FRecord.Cells.size() < end) FRecord.Cells.resize(end);  // the columns skipped are empty
  for (std::size_t k = Column; k < end; ++k) {
    if (k + 1 < end)
      FRecord.Cells[k] = Text;
    else
      FRecord.Cells[k] = std::move(Text);
    if (Kind) FRecord.Kinded.push_back({k, *Kind});
  }
}

void RowBuilder::Take(CsvRecord& Out) {
  Out.Line = FRecord.Line;
  std::swap(Out.Cells, FRecord.Cells);
  std::swap(Out.Kinded, FRecord.Kinded);
}

void RowBuilder::Count(std::uint64_t Repeat) {
  const std::uint64_t row = FRowBytes + FRecord.Cells.size() * std::uint64_t{FLimits.CellOverhead};
  if (row != 0 && Repeat > (FLimits.SheetBytes - FSheetBytes) / row)
    throw BatchFileError(0, BatchTexts::Fill(BatchTexts::SheetExpandsTooFar, {std::to_string(FLimits.SheetBytes)}));
  FSheetBytes += row * Repeat;
}

bool AppendCellText(std::string& Text, const char* Data, std::size_t Size) {
  if (Text.size() > MaxFieldBytes) return false;
  Text.append(Data, std::min(Size, MaxFieldBytes + 1 - Text.size()));
  return Text.size() <= MaxFieldBytes;
}

std::optional<std::string> DateOfSerial(const std::string& Serial, bool Date1904) {
  double value = 0;
  const char* end = Serial.data() + Serial.size();
  const auto [stop, error] = std::from_chars(Serial.data(), end, value);
  // 2958465 is 31 December 9999 in the 1900 system.
  if (error != std::errc() || stop != end || !(value >= 0) || value >= 2958466) return std::nullopt;
  auto days = static_cast<long long>(std::floor(value));
  long long seconds = std::llround((value - static_cast<double>(days)) * 86400);
  if (seconds == 86400) ++days, seconds = 0;
  char text[32];
  if (!Date1904 && days == 60) {
    std::snprintf(text, sizeof text, "1900-02-29");  // Lotus 1-2-3's leap day, kept by every spreadsheet
  } else {
    // Serial 1 is 1 January 1900 (1904: serial 0 is 1 January 1904); after
    // the fictitious leap day every serial is one day ahead.
    const long long civil =
        Date1904 ? DaysFromCivil(1904, 1, 1) + days : DaysFromCivil(1899, 12, 31) + days - (days > 60 ? 1 : 0);
    long long year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(civil, year, month, day);
    if (year > 9999) return std::nullopt;
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", year, month, day);
  }
  std::string out = text;
  if (seconds != 0) {
    std::snprintf(text, sizeof text, "T%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    out += text;
  }
  return out;
}

NumberFormatKind KindOfNumberFormat(const std::string& Code) {
  bool percentage = false;
  for (std::size_t i = 0; i < Code.size(); ++i) {
    const char c = Code[i];
    if (c == '"') {  // literal text
      i = Code.find('"', i + 1);
      if (i == std::string::npos) break;
    } else if (c == '\\' || c == '_' || c == '*') {  // an escaped, spacing or fill character
      ++i;
    } else if (c == '[') {  // a colour, condition or locale, or elapsed time
      const std::size_t close = Code.find(']', i + 1);
      if (close == std::string::npos) break;
      std::string inside = Code.substr(i + 1, close - i - 1);
      for (char& letter : inside) letter = static_cast<char>(letter | 0x20);
      if (!inside.empty() && inside.find_first_not_of(inside[0]) == std::string::npos &&
          (inside[0] == 'h' || inside[0] == 'm' || inside[0] == 's'))
        return NumberFormatKind::Date;
      i = close;
    } else if (c != 0 && std::strchr("dDmMyYhHsS", c)) {
      return NumberFormatKind::Date;
    } else if (c == '%') {
      percentage = true;
    }
  }
  return percentage ? NumberFormatKind::Percentage : NumberFormatKind::Plain;
}

NumberFormatKind KindOfBuiltInFormat(unsigned long Id) {
  if (Id == 9 || Id == 10) return NumberFormatKind::Percentage;
  // 27 to 36 and 50 to 58 are dates of the East Asian locales.
  if ((Id >= 14 && Id <= 22) || (Id >= 27 && Id <= 36) || (Id >= 45 && Id <= 47) || (Id >= 50 && Id <= 58))
    return NumberFormatKind::Date;
  return NumberFormatKind::Plain;
}

std::string WithDecimalSeparator(std::string Number, const std::string& Separator) {
  if (Separator == ".") return Number;
  const std::size_t point = Number.find('.');
  if (point != std::string::npos) Number.replace(point, 1, Separator);
  return Number;
}

}  // namespace WorkbookDetail

bool StartsLikeZip(const unsigned char* Data, std::size_t Size) {
  // A local file header, or the end record of an archive with no entry.
  return Size >= 4 && Data[0] == 'P' && Data[1] == 'K' &&
         ((Data[2] == 3 && Data[3] == 4) || (Data[2] == 5 && Data[3] == 6));
}

bool StartsLikeCompoundFile(const unsigned char* Data, std::size_t Size) {
  static const unsigned char Magic[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  return Size >= sizeof Magic && std::memcmp(Data, Magic, sizeof Magic) == 0;
}

std::unique_ptr<Workbook> Workbook::Open(std::unique_ptr<ZipArchive> Archive, const WorkbookOptions& Options,
                                         const std::string& FileName) {
  if (Archive->Has("mimetype")) {
    // OpenDocument names its kind in its first part.
    const auto part = Archive->Open("mimetype", 1024, BatchTexts::PartTooLarge);
    char buffer[1024];
    std::string type;
    for (std::size_t n; (n = part->Read(buffer, sizeof buffer)) > 0;) type.append(buffer, n);
    if (type.rfind("application/vnd.oasis.opendocument.spreadsheet", 0) == 0)
      return WorkbookDetail::OpenOds(std::move(Archive), Options);
    throw BatchFileError(0, BatchTexts::Fill(BatchTexts::NotAWorkbook, {FileName}));
  }
  if (Archive->Has("[Content_Types].xml") || Archive->Has("_rels/.rels"))
    return WorkbookDetail::OpenXlsx(std::move(Archive), Options, FileName);
  throw BatchFileError(0, BatchTexts::Fill(BatchTexts::NotAWorkbook, {FileName}));
}
