// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecreeReport.h"

#include <cmath>

#include "DecreeTexts.h"

namespace {

using L = Extended;

struct ReportItem {
  const char* Caption;
  double DecreeResult::*Amount;
  bool Always;  // otherwise listed only when strictly positive
};

const ReportItem ReportItems[] = {
    {DecreeTexts::JobAllowanceCaption, &DecreeResult::JobAllowance, true},
    {DecreeTexts::AttractionAllowanceCaption, &DecreeResult::AttractionAllowance, true},
    {DecreeTexts::MinimumPayDifferenceCaption, &DecreeResult::MinimumPayDifference, false},
    {DecreeTexts::SpecialAllowanceCaption, &DecreeResult::SpecialAllowance, false},
    {DecreeTexts::ParticularAllowanceCaption, &DecreeResult::ParticularAllowance, false},
    {DecreeTexts::IncentiveGroupsDifferenceCaption, &DecreeResult::IncentiveGroupsDifference, false},
    {DecreeTexts::SalaryRepairCaption, &DecreeResult::SalaryRepair, false},
    {DecreeTexts::LivingFacilitiesDeprivationCaption, &DecreeResult::LivingFacilitiesDeprivation, false},
    {DecreeTexts::FamilyAllowanceCaption, &DecreeResult::FamilyAllowance, false},
    {DecreeTexts::ChildAllowanceCaption, &DecreeResult::ChildAllowance, false},
    {DecreeTexts::Note12AdjustmentCaption, &DecreeResult::Note12Adjustment, false},
    {DecreeTexts::ClauseBItem3AllowanceCaption, &DecreeResult::ClauseBItem3Allowance, false},
    {DecreeTexts::VeteranAllowanceCaption, &DecreeResult::VeteranAllowance, false},
    {DecreeTexts::BadClimateAllowanceCaption, &DecreeResult::BadClimateAllowance, false},
    {DecreeTexts::ShiftWorkAllowanceCaption, &DecreeResult::ShiftWorkAllowance, false},
    {DecreeTexts::HardshipAllowanceCaption, &DecreeResult::HardshipAllowance, false},
    {DecreeTexts::OperationalZoneAllowanceCaption, &DecreeResult::OperationalZoneAllowance, false},
    {DecreeTexts::DeprivedRegionAllowanceCaption, &DecreeResult::DeprivedRegionAllowance, false},
    {DecreeTexts::RadiationWorkAllowanceCaption, &DecreeResult::RadiationWorkAllowance, false},
    {DecreeTexts::AdjustmentAllowanceCaption, &DecreeResult::AdjustmentAllowance, false},
    {DecreeTexts::Article26AllowanceCaption, &DecreeResult::Article26Allowance, false},
    {DecreeTexts::BorderDeprivationAllowanceCaption, &DecreeResult::BorderDeprivationAllowance, false},
};

// Whole units of |Value| < 1e18, halves up, as decimal digits without leading zeros.
std::string RoundedMagnitude(const Extended& Value) {
  if (Value == 0) return "0";
  const DecimalDigits d = DecimalDigits18(Value);
  if (d.Exponent < -1) return "0";
  // 0..19: a value just below 1e18 can round up to 1e18 at 18 digits,
  // one whole digit more than the expansion holds.
  const std::size_t wholeDigits = static_cast<std::size_t>(d.Exponent + 1);
  std::string digits = "0" + d.Digits.substr(0, wholeDigits);  // room for a carry
  digits.resize(wholeDigits + 1, '0');
  if (wholeDigits < d.Digits.size() && d.Digits[wholeDigits] >= '5') {
    std::size_t k = digits.size() - 1;
    while (digits[k] == '9') digits[k--] = '0';
    ++digits[k];
  }
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

}  // namespace

std::string FormatAmount(const Extended& Amount, const NumberFormat& Format) {
  if (Fabs(Amount) >= 1e18) return FormatGeneral(Amount, 15, Format);
  const std::string digits = RoundedMagnitude(Amount);
  if (digits == "0") return "0";
  std::string text = Amount < 0 ? "-" : "";
  for (std::size_t k = 0; k < digits.size(); ++k) {
    if (k > 0 && (digits.size() - k) % 3 == 0) text += Format.ThousandSeparator;
    text += digits[k];
  }
  return text;
}

std::vector<std::string> BuildDecreeReport(const DecreeResult& R, const NumberFormat& Format) {
  const auto A = [&](const L& Amount) { return FormatAmount(Amount, Format); };
  std::vector<std::string> lines;
  lines.emplace_back(DecreeTexts::BlankLine);
  lines.push_back(DecreeTexts::BaseSalaryCaption + A(R.BaseSalary) + DecreeTexts::SeniorityIncreaseCaption +
                  A(R.SeniorityIncrease) + DecreeTexts::BasicSalaryCaption + A(R.BasicSalary));
  lines.emplace_back(DecreeTexts::RuleLine);
  for (const ReportItem& item : ReportItems) {
    const double amount = R.*item.Amount;
    if (item.Always || amount > 0) lines.push_back(item.Caption + A(amount));
  }
  lines.emplace_back(DecreeTexts::RuleLine);

  // The top-up is added at extended precision, not rounded before formatting.
  const bool topUp = R.SeniorityMinimumDifference > 0;
  if (topUp) {
    lines.push_back(DecreeTexts::ItemsSumCaption + A(R.ItemsTotal));
    lines.push_back(DecreeTexts::SeniorityMinimumDifferenceCaption + A(R.SeniorityMinimumDifference));
    lines.push_back(DecreeTexts::TotalWithoutHousingCaption + A(L(R.ItemsTotal) + R.SeniorityMinimumDifference));
  } else {
    lines.push_back(DecreeTexts::ItemsTotalCaption + A(R.ItemsTotal));
  }
  lines.emplace_back(DecreeTexts::BlankLine);
  if (R.HousingAllowance > 0) lines.push_back(DecreeTexts::HousingAllowanceCaption + A(R.HousingAllowance));
  const L grandTotal = topUp ? L(R.GrandTotal) + R.SeniorityMinimumDifference : L(R.GrandTotal);
  lines.push_back(DecreeTexts::GrandTotalCaption + A(grandTotal));
  return lines;
}
