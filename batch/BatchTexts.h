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
