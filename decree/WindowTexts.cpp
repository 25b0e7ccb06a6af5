// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/WindowTexts.h"

namespace WindowTexts {

const char ApplicationTitle[] = "محاسبه احکام کارگزینی";
const char CaptionStart[] = "نرم افزار محاسبه احکام کارگزینی (برنامه نویس: ";
const char CaptionSeparator[] = " - ";
const char CaptionEnd[] = ") - نسخه 5.5.26";
const char PrintJobName[] = "چاپ نتیجه محاسبات";
const char NothingToPrint[] = "موردی برای چاپ وجود ندارد";

const char UnknownError[] = "خطای ناشناخته";

}  // namespace WindowTexts
