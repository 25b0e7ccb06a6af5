// SPDX-License-Identifier: GPL-3.0-or-later
// Every Persian text of the decree, in one UTF-8 file.
#pragma once

namespace DecreeTexts {

// Required-field checks, in check order.
inline constexpr const char* MissingCoefficient = "ضریب اعلامی برای سال جدید را وارد کنید";
inline constexpr const char* MissingDeclaredMinimumSalary =
    "مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید";
inline constexpr const char* MissingEffectiveMinimumSalary =
    "مبلغ حداقل حقوق موثر برای سال جدید را به صورت ریال وارد کنید";
inline constexpr const char* MissingMinimumSalaryAndBenefits =
    "مبلغ حداقل حقوق و مزایا برای سال جدید را به صورت ریال وارد کنید";
inline constexpr const char* MissingFamilyAllowanceRate = "مبلغ حق عائله مندی برای سال جدید را به صورت ریال وارد کنید";
inline constexpr const char* MissingChildAllowanceRate = "مبلغ حق اولاد برای سال جدید را به صورت ریال وارد کنید";
inline constexpr const char* MissingEmployeeGroup =
    "گروه مستخدم شامل کل گروه های دریافتی اعم از استحقاقی، تشویقی و ... برای سال جدید را به صورت عددی وارد کنید";
inline constexpr const char* MissingPreviousBaseSalary = "مبلغ حقوق پایه سال قبل را به صورت ریال وارد کنید";
inline constexpr const char* MissingPreviousSeniorityIncrease = "مبلغ افزایش سنواتی سال قبل را به صورت ریال وارد کنید";
inline constexpr const char* MissingSeniorityIncreasePercent =
    "درصد افزایش سنواتی برای سال جدید را به صورت عددی وارد کنید";
inline constexpr const char* MissingInsuranceType = "نوع بیمه مستخدم را انتخاب کنید";
inline constexpr const char* MissingJobPercent = "درصد فوق العاده شغل برای سال جدید را به صورت عددی وارد کنید";
inline constexpr const char* MissingAttractionPercent = "درصد فوق العاده جذب برای سال جدید را به صورت عددی وارد کنید";

// Group range.
inline constexpr const char* GroupOutOfRange = "گروه مستخدم باید عددی از 1 تا 20 باشد";
inline constexpr const char* IncentiveGroupsTooMany = "تعداد گروه های تشویقی باید کمتر از گروه مستخدم باشد";

// Report.
inline constexpr const char* BlankLine = "     ";
inline constexpr const char* RuleLine = "     ------------------------------------";
inline constexpr const char* BaseSalaryCaption = "     حقوق مبنا: ";
inline constexpr const char* SeniorityIncreaseCaption = "     افزایش سنواتی: ";
inline constexpr const char* BasicSalaryCaption = "     حقوق پایه: ";
inline constexpr const char* JobAllowanceCaption = "     فوق العاده شغل: ";
inline constexpr const char* AttractionAllowanceCaption = "     فوق العاده جذب: ";
inline constexpr const char* MinimumPayDifferenceCaption = "     تفاوت حداقل دریافتی: ";
inline constexpr const char* SpecialAllowanceCaption = "     فوق العاده ویژه: ";
inline constexpr const char* ParticularAllowanceCaption = "     فوق العاده خاص: ";
inline constexpr const char* IncentiveGroupsDifferenceCaption = "     تفاوت ناشی از گروه های تشویقی: ";
inline constexpr const char* SalaryRepairCaption = "     ترمیم حقوق: ";
inline constexpr const char* LivingFacilitiesDeprivationCaption = "     محرومیت از تسهیلات زندگی: ";
inline constexpr const char* FamilyAllowanceCaption = "     حق عائله مندی: ";
inline constexpr const char* ChildAllowanceCaption = "     حق اولاد: ";
inline constexpr const char* Note12AdjustmentCaption = "     تفاوت تطبیق موضوع جز 1+بند ی تبصره 12: ";
inline constexpr const char* ClauseBItem3AllowanceCaption = "     فوق العاده خاص جز 3 بند ب: ";
inline constexpr const char* VeteranAllowanceCaption = "     فوق العاده ایثارگری: ";
inline constexpr const char* BadClimateAllowanceCaption = "     فوق العاده بدی آب و هوا: ";
inline constexpr const char* ShiftWorkAllowanceCaption = "     فوق العاده نوبت کاری: ";
inline constexpr const char* HardshipAllowanceCaption = "     فوق العاده سختی کار: ";
inline constexpr const char* OperationalZoneAllowanceCaption = "     فوق العاده مناطق عملیاتی: ";
inline constexpr const char* DeprivedRegionAllowanceCaption = "     فوق العاده منطقه محروم: ";
inline constexpr const char* RadiationWorkAllowanceCaption = "     فوق العاده کار بااشعه: ";
inline constexpr const char* AdjustmentAllowanceCaption = "     فوق العاده تعدیل: ";
inline constexpr const char* Article26AllowanceCaption = "     ماده 26: ";
inline constexpr const char* BorderDeprivationAllowanceCaption =
    "     فوق العاده محرومیت از تسهیلات زندگی2 (مناطق مرزی): ";
inline constexpr const char* ItemsTotalCaption = "     جمع حکم (بدون حق مسکن): ";
inline constexpr const char* HousingAllowanceCaption = "     حق مسکن: ";
inline constexpr const char* GrandTotalCaption = "     جمع کل حکم (با حق مسکن): ";
inline constexpr const char* ItemsSumCaption = "     مجموع آیتم های حکم (بدون حق مسکن): ";
inline constexpr const char* SeniorityMinimumDifferenceCaption = "     مابه التفاوت سنواتی حداقل حکم: ";
inline constexpr const char* TotalWithoutHousingCaption = "     جمع کل حکم (بدون حق مسکن): ";

// Derivation of the report's items. Item names inside formulas are the report
// captions without their indent and colon; these are the other words.
inline constexpr const char* Plus = " + ";
inline constexpr const char* Minus = " − ";
inline constexpr const char* Times = " × ";
inline constexpr const char* PercentDivisor = " ÷ 100";
inline constexpr const char* Equals = " = ";
inline constexpr const char* StepSeparator = "؛ ";  // Arabic semicolon
inline constexpr const char* CoefficientName = "ضریب";
inline constexpr const char* GroupPointsName = "امتیاز گروه ";
inline constexpr const char* ThatIs = " یعنی ";
inline constexpr const char* PreviousBaseSalaryName = "حقوق مبنای سال قبل";
inline constexpr const char* PreviousSeniorityIncreaseName = "افزایش سنواتی سال قبل";
inline constexpr const char* DeclaredMinimumSalaryName = "حداقل حقوق اعلامی";
inline constexpr const char* EffectiveMinimumSalaryName = "حداقل حقوق موثر";
inline constexpr const char* MinimumSalaryAndBenefitsName = "حداقل حقوق و مزایا";
inline constexpr const char* ChildAllowanceRateName = "حق اولاد هر فرزند";
inline constexpr const char* ChildCountName = "تعداد اولاد";
inline constexpr const char* HeadOfHouseholdAmount = "مبلغ اعلامی برای سرپرست خانوار ";
inline constexpr const char* EnteredAmount = "مبلغ وارد شده ";
inline constexpr const char* FixedAmount = "مبلغ ثابت ";
inline constexpr const char* Negative = "منفی ";
inline constexpr const char* BelowZeroStart = "کمتر از صفر است، پس ";
inline constexpr const char* TakenEnd = " منظور می شود";
inline constexpr const char* AboveTheCap = "بیشتر از سقف است، یعنی ";
inline constexpr const char* PackageCaption = "     بسته گروه ";
inline constexpr const char* PackageWithout = "، بدون ";  // Arabic comma
inline constexpr const char* PackageIncentiveGroups = " گروه تشویقی";
inline constexpr const char* CaptionEnd = ": ";
inline constexpr const char* PackageBase = "مبنا امتیاز ";
inline constexpr const char* PackageTotal = "جمع ";
inline constexpr const char* PackageTotalOfGroup = "جمع بسته گروه ";
inline constexpr const char* HousingBaseSocialSecurityCaption = "     مبنای حق مسکن برای بیمه تامین اجتماعی: ";
inline constexpr const char* HousingBaseRetirementCaption = "     مبنای حق مسکن برای بیمه سازمان بازنشستگی: ";
inline constexpr const char* HousingBaseName = "مبنای حق مسکن";

}  // namespace DecreeTexts
