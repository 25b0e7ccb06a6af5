// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/DecreeReport.h"

#include <cmath>

#include "decree/DecreeCatalogue.h"
#include "decree/DecreeTexts.h"

namespace {

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
  const auto A = [&](const Extended& Amount) { return FormatAmount(Amount, Format); };
  const auto Line = [&](double DecreeResult::*Value) { return ValueOf(Value).ReportCaption + A(R.*Value); };
  std::vector<std::string> lines;
  lines.emplace_back(DecreeTexts::BlankLine);
  lines.push_back(Line(&DecreeResult::BaseSalary) + Line(&DecreeResult::SeniorityIncrease) +
                  Line(&DecreeResult::BasicSalary));
  lines.emplace_back(DecreeTexts::RuleLine);
  for (const ValueSpec* item : ItemLines) {
    const double amount = R.*item->Member;
    if (item->Listed == Listing::Always || amount > 0) lines.push_back(item->ReportCaption + A(amount));
  }
  lines.emplace_back(DecreeTexts::RuleLine);

  const ReportedTotals totals = TotalsWithTopUp(R);
  if (totals.TopUp) {
    lines.push_back(DecreeTexts::ItemsSumCaption + A(R.ItemsTotal));
    lines.push_back(Line(&DecreeResult::SeniorityMinimumDifference));
    lines.push_back(DecreeTexts::TotalWithoutHousingCaption + A(totals.WithoutHousing));
  } else {
    lines.push_back(Line(&DecreeResult::ItemsTotal));
  }
  lines.emplace_back(DecreeTexts::BlankLine);
  if (R.HousingAllowance > 0) lines.push_back(Line(&DecreeResult::HousingAllowance));
  lines.push_back(ValueOf(&DecreeResult::GrandTotal).ReportCaption + A(totals.WithHousing));
  return lines;
}
