// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/WindowTexts.h"

namespace WindowTexts {

const char ApplicationTitle[] = "محاسبه احکام کارگزینی";
const char CaptionStart[] = "نرم افزار محاسبه احکام کارگزینی (برنامه نویس: ";
const char CaptionSeparator[] = " - ";
const char CaptionEnd[] = ") - نسخه 5.5.26";
const char GroupBox1[] = " اطلاعات پایه سال جدید ";
const char GroupBox2[] = " اطلاعات پایه مستخدم ";
const char GroupBox3[] = " فوق العاده ها ";
const char Button1[] = "محاسبه\u200cی حکم";
const char Label1[] = "ضریب :";
const char Label2[] = "حداقل حقوق اعلامی :";
const char Label3[] = "حداقل حقوق موثر :";
const char Label26[] = "حداقل حقوق و مزایا :";
const char Label5[] = "حق عائله مندی :";
const char Label4[] = "حق اولاد :";
const char Label20[] = "امتیاز فوق العاده خاص جز 3 بند ب :";
const char Label25[] = "فوق العاده خاص جز 3 بند ب :";
const char Label6[] = "گروه مستخدم :";
const char Label7[] = "تعداد گروه های تشویقی :";
const char Label8[] = "حقوق مبنای سال قبل :";
const char Label10[] = "افزایش سنواتی سال قبل :";
const char Label9[] = "درصد افزایش سنواتی :";
const char Label19[] = "تفاوت تطبیق موضوع جز 1+بند ی تبصره 12 :";
const char Label21[] = "نوع بیمه :";
const char Label12[] = "تعداد اولاد :";
const char Label11[] = "وضعیت عائله مندی :";
const char Label18[] = "فوق العاده ایثارگری :";
const char Label24[] = "فوق العاده تعدیل (408600 ریال) :";
const char Label23[] = "ماده 26 :";
const char Label22[] = "محرومیت از تسهیلات زندگی 2 : (مخصوص مناطق مرزی)";
const char CheckBox1[] = "سرپرست خانوار است";
const char CheckBox2[] = "مشمول می باشد";
const char CheckBox3[] = "مشمول می باشد";
const char CheckBox4[] = "مشمول می باشد";
const char CheckBox8[] = "مشمول می باشد";
const char ComboItem0[] = "تامین اجتماعی";
const char ComboItem1[] = "سازمان بازنشستگی";
const char Label14[] = "درصد فوق العاده شغل :";
const char Label13[] = "درصد فوق العاده جذب :";
const char Label15[] = "درصد فوق العاده ویژه :";
const char Label16[] = "درصد فوق العاده خاص :";
const char Label17[] = "درصد محرومیت از تسهیلات زتدگی :";
const char Label77[] = "درصد فوق العاده بدی آب و هوا :";
const char Label78[] = "درصد فوق العاده نوبت کاری :";
const char Label79[] = "درصد فوق العاده سختی کار :";
const char Label86[] = "درصد فوق العاده مناطق عملیاتی :";
const char Label87[] = "درصد فوق العاده منطقه محروم :";
const char Label88[] = "درصد فوق العاده كار با اشعه :";
const char CheckBox6[] = "مبلغ فوق العاده خاص جز 3 بند ب در محاسبه حق مسکن لحاظ شود";
const char HintEdit6[] = "گروه مستخدم (کل گروه شامل استحقاقی و تشویقی و...)";
const char HintLabel86[] = "20% یا 25%";
const char HintCheckBox5[] =
    "مجموع حقوق، فوق العاده شغل، فوق العاده جذب، تفاوت دریافتی و ماده 26 در محاسبه ی فوق العاده مناطق عملیاتی لحاظ شود";
const char HintComboBox1[] =
    "!برای بیمه تامین اجتماعی آیتم های محرومیت از تسهیلات زندگی و بدی آب و هوا جزو کسورات محاسبه می شود ولی برای بیمه "
    "سازمان بازنشستگی نه";
const char GroupBox4[] = " نمایش نتیجه محاسبات ";
const char Button2[] = "چاپ نتیجه\u200cی محاسبات";
const char Button3[] = "خروج و محاسبه حکم جدید";
const char PrintJobName[] = "چاپ نتیجه محاسبات";
const char NothingToPrint[] = "موردی برای چاپ وجود ندارد";

const char CheckBox5Purpose[] = "بر مبنای مجموع حقوق و فوق العاده ها";
const char WaterImage1Name[] = "تصویر متحرک موج آب";
const char WaterImage1Description[] = "کلیک روی تصویر، صفحه وب برنامه نویس را در مرورگر باز می کند";

const char UnknownError[] = "خطای ناشناخته";

}  // namespace WindowTexts
