// SPDX-License-Identifier: GPL-3.0-or-later
// The decree's Persian texts, UTF-8, apart from the captions and messages of
// its inputs and values, which are the catalogue's (decree/DecreeCatalogue.h).
#pragma once

namespace DecreeTexts {

// Group range.
inline constexpr const char* GroupOutOfRange = "گروه مستخدم باید عددی از 1 تا 20 باشد";
inline constexpr const char* IncentiveGroupsTooMany = "تعداد گروه های تشویقی باید کمتر از گروه مستخدم باشد";

// Report: the lines that are not a value's caption.
inline constexpr const char* BlankLine = "     ";
inline constexpr const char* RuleLine = "     ------------------------------------";
// With a top-up, the items total and the total with it.
inline constexpr const char* ItemsSumCaption = "     مجموع آیتم های حکم (بدون حق مسکن): ";
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
