// SPDX-License-Identifier: GPL-3.0-or-later
// The batch program's own Persian texts, UTF-8, in one place. "%1", "%2" and
// "%3" stand for the values Fill() puts in; the decree's messages come from
// the decree core unchanged.
#pragma once

#include <string>
#include <vector>

namespace BatchTexts {

// A cell the row cannot use.
inline constexpr const char* FlagInvalid =
    "مقدار \"%1\" در ستون \"%2\" پذیرفته نیست: خالی، 0، 1، true، false، بله یا خیر وارد کنید";
inline constexpr const char* InsuranceInvalid =
    "مقدار \"%1\" در ستون \"%2\" نوع بیمه نیست: 0، 1، \"%3\" یا \"%4\" وارد کنید";
inline constexpr const char* ExtraCells = "این ردیف %1 خانه دارد، بیش از %2 ستون سطر عنوان";
// A workbook cell in an input column: %1 the column, %2 the cell's text.
inline constexpr const char* CellDate =
    "خانه ستون \"%1\" تاریخ یا زمان است (%2): این ستون عدد یا متن می خواهد، نه تاریخ";
inline constexpr const char* CellError = "خانه ستون \"%1\" به جای مقدار خطای فرمول %2 دارد";
inline constexpr const char* CellPercentage =
    "خانه ستون \"%1\" قالب درصد دارد و مقدار ذخیره شده آن %2 است: درصد را بی قالب درصد، به صورت عدد وارد کنید";
inline constexpr const char* CellNoValue =
    "خانه ستون \"%1\" فرمولی است که مقدارش در فایل ذخیره نشده است: فایل را در اکسل یا LibreOffice باز و دوباره "
    "ذخیره کنید";

// The input file as a whole.
inline constexpr const char* CannotOpen = "فایل \"%1\" باز نمی شود: %2";
inline constexpr const char* IsFolder = "\"%1\" پوشه است، نه فایل";
inline constexpr const char* NotRegularFile = "\"%1\" فایل عادی نیست";
inline constexpr const char* ReadFailed = "خواندن فایل \"%1\" ناموفق بود: %2";
inline constexpr const char* NoHeader = "فایل خالی است: سطر عنوان ستون ها را ندارد";
inline constexpr const char* InvalidUtf8 =
    "متن این سطر UTF-8 معتبر نیست: فایل را با کدگذاری UTF-8 یا UTF-16 ذخیره کنید";
inline constexpr const char* InvalidUtf16 = "متن این سطر UTF-16 معتبر نیست";
inline constexpr const char* NulByte = "این سطر نویسه تهی (NUL) دارد: فایل متنی CSV نیست";
inline constexpr const char* UnclosedQuote = "علامت نقل قول (\") که در این سطر باز شده تا پایان فایل بسته نشده است";
inline constexpr const char* MisplacedQuote =
    "علامت نقل قول (\") نابجا در این سطر: خانه ای که \" دارد باید میان دو \" بیاید و هر \" درون آن دو بار نوشته شود";
inline constexpr const char* FieldTooLong = "خانه ای در این سطر از %1 بایت بلندتر است";
inline constexpr const char* OutOfMemory = "حافظه برای خواندن این سطر کافی نیست";
inline constexpr const char* EmptyHeader = "ستون %1 در سطر عنوان نام ندارد";
inline constexpr const char* DuplicateInput = "ستون های \"%1\" و \"%2\" هر دو یک ورودی را می دهند (%3)";
inline constexpr const char* DuplicateColumn = "دو ستون به نام \"%1\" هست";
inline constexpr const char* InputChanged = "فایل \"%1\" هنگام کار تغییر کرد";
inline constexpr const char* NoRows = "فایل جز سطر عنوان ردیفی ندارد";
inline constexpr const char* MarkContradictsEncoding =
    "فایل با نشانه ترتیب بایت (BOM) کدگذاری %1 آغاز می شود، اما --encoding %2 داده شده است";
inline constexpr const char* ReadAsWindows1256 =
    "متن فایل UTF-8 معتبر نیست و با کدگذاری Windows-1256 (CSV اکسل در ویندوز فارسی) خوانده شد؛ اگر درست نیست، "
    "کدگذاری را با --encoding بدهید";
inline constexpr const char* SheetOfCsv = "\"%1\" فایل CSV است و کاربرگی ندارد که --sheet آن را برگزیند";

// Header names.
inline constexpr const char* IdentificationColumns = "ستون های شناسه، که بی محاسبه به خروجی ها می روند: %1";
inline constexpr const char* ListSeparator = "، ";
inline constexpr const char* HeaderResemblesInput =
    "ستون \"%1\" نام هیچ ورودی نیست ولی به \"%2\" (ورودی %3) نزدیک است: اگر همان ورودی است نامش را درست کنید، "
    "وگرنه با --ignore-column \"%1\" آن را ستون شناسه بگیرید";
inline constexpr const char* IgnoredColumnMissing = "در سطر عنوان ستونی به نام \"%1\" نیست (--ignore-column)";
inline constexpr const char* IgnoredColumnIsInput =
    "ستون \"%1\" ورودی %2 است و --ignore-column تنها ستونی را می پذیرد که ورودی نیست";

// Workbooks: %1 is the part of the archive (xl/worksheets/sheet1.xml) or the sheet.
inline constexpr const char* NotAWorkbook = "\"%1\" بایگانی zip است ولی کارپوشه xlsx یا ods نیست";
inline constexpr const char* CompoundFile =
    "\"%1\" کارپوشه رمزدار یا کارپوشه قدیمی اکسل (xls) است: آن را بی گذرواژه و با قالب xlsx یا ods ذخیره کنید";
inline constexpr const char* EncryptedWorkbook = "کارپوشه رمزدار است: آن را بی گذرواژه ذخیره کنید";
inline constexpr const char* DamagedArchive = "بایگانی zip کارپوشه آسیب دیده یا ناقص است (%1)";
inline constexpr const char* MissingPart = "بخش \"%1\" کارپوشه در بایگانی نیست";
inline constexpr const char* DamagedPart = "بخش \"%1\" کارپوشه خراب است";
inline constexpr const char* DamagedXml = "متن XML بخش \"%1\" کارپوشه خراب است (%2)";
inline constexpr const char* XmlDeclarations =
    "بخش \"%1\" کارپوشه تعریف DOCTYPE یا موجودیت XML دارد که هیچ کارپوشه ای ندارد؛ چنین فایلی خوانده نمی شود";
inline constexpr const char* PartTooLarge = "بخش \"%1\" کارپوشه باز شده بیش از %2 بایت است؛ چنین فایلی خوانده نمی شود";
inline constexpr const char* PartTooCompressed =
    "بخش \"%1\" کارپوشه بیش از %2 برابر فشرده شده است (بمب zip)؛ چنین فایلی خوانده نمی شود";
inline constexpr const char* SharedStringsTooLarge =
    "جدول متن های مشترک کارپوشه (\"%1\") از %2 بایت بزرگتر است؛ چنین فایلی خوانده نمی شود";
inline constexpr const char* SheetExpandsTooFar =
    "خانه های کاربرگ روی هم بیش از %1 بایت می شوند؛ چنین فایلی خوانده نمی شود";
inline constexpr const char* NoSheets = "کارپوشه هیچ کاربرگی ندارد";
inline constexpr const char* NoSuchSheet = "کاربرگی به نام \"%1\" در کارپوشه نیست؛ کاربرگ های آن: %2";
inline constexpr const char* NotAWorksheet = "\"%1\" کاربرگ داده نیست (نمودار یا کاربرگ دیگری است)";
inline constexpr const char* EmptySheet = "کاربرگ \"%1\" خالی است: سطر عنوان ستون ها را ندارد";
inline constexpr const char* TooManyColumns = "این ردیف بیش از %1 ستون دارد";
inline constexpr const char* TooManyRows = "کاربرگ بیش از %1 ردیف دارد";
inline constexpr const char* RowTooLong = "خانه های این ردیف روی هم از %1 بایت بیشترند";

// The base values file (--base).
inline constexpr const char* BaseNotFound = "فایل مقادیر پایه \"%1\" پیدا نشد";
inline constexpr const char* BaseNotEightLines = "فایل مقادیر پایه \"%1\" هشت سطر ندارد";
inline constexpr const char* BaseTooLarge = "فایل مقادیر پایه \"%1\" بزرگتر از آن است که فایل مقادیر پایه باشد";

// Outputs.
inline constexpr const char* OutputFolderNotWritable = "در پوشه \"%1\" نمی توان نوشت: %2";
inline constexpr const char* OutputIsFolder = "\"%1\" پوشه است و نتیجه به جای آن نوشته نمی شود";
inline constexpr const char* OutputNotFolder = "\"%1\" پوشه نیست";
inline constexpr const char* OutputNotWritable = "فایل \"%1\" فقط خواندنی است";
inline constexpr const char* OutputIsInput = "خروجی \"%1\" همان فایل ورودی است";
inline constexpr const char* OutputTwice = "\"%1\" برای دو خروجی داده شده است";
inline constexpr const char* StandardOutput = "خروجی استاندارد";
inline constexpr const char* WriteFailed = "نوشتن \"%1\" ناموفق بود: %2";
inline constexpr const char* WorkbookTooLarge = "کاربرگ اکسل بیش از %1 ردیف و %2 ستون نمی پذیرد";
inline constexpr const char* Interrupted = "کار نیمه تمام ماند و هیچ فایل خروجی نوشته نشد";

// Options.
inline constexpr const char* NoPdf = "این نسخه برنامه PDF نمی نویسد";
inline constexpr const char* BadDecimal = "جداکننده اعشار باید یک نویسه باشد، نه رقم یا علامت: \"%1\"";

// Progress on a terminal: rows done of rows in the file.
inline constexpr const char* Progress = "%1 از %2 ردیف";

// The workbook: its sheet and the headers of its own columns.
inline constexpr const char* SheetName = "احکام";
inline constexpr const char* ErrorHeader = "خطا";
inline constexpr const char* ErrorColumnHeader = "ستون خطا";
inline constexpr const char* HousingBaseHeader = "مبنای حق مسکن";
inline constexpr const char* GrandTotalHeader = "جمع اقلام و حق مسکن (بدون مابه التفاوت سنواتی)";

// Replaces %1, %2, ... by Values in order.
inline std::string Fill(const char* Text, const std::vector<std::string>& Values) {
  std::string out;
  for (const char* p = Text; *p; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9' && static_cast<std::size_t>(p[1] - '1') < Values.size()) {
      out += Values[static_cast<std::size_t>(p[1] - '1')];
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace BatchTexts
