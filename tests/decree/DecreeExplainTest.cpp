// SPDX-License-Identifier: GPL-3.0-or-later
// The derivation of a decree: lines of the worked decrees written out by
// hand, and every line of decrees that take every branch read back as a
// supervisor would: each step's operands recomputed give the amount shown,
// and each item ends on the amount the report shows for it.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "decree/DecreeExplain.h"
#include "decree/DecreeReport.h"
#include "tests/decree/WorkedInputs.h"

namespace {

const NumberFormat Comma;  // "." and ","

std::vector<std::string> Explain(const DecreeInput& In, const NumberFormat& Format = Comma) {
  return ExplainDecree(In, ComputeDecree(In, GroupPointsTable), GroupPointsTable, Format);
}

// The line of the derivation that starts with Head, or "" when there is none.
std::string LineOf(const std::vector<std::string>& Lines, const std::string& Head) {
  for (const std::string& Line : Lines)
    if (Line.rfind(Head, 0) == 0) return Line;
  return "";
}

TEST(ExplainDecree, WorkedDecreeAByHand) {
  const std::vector<std::string> Lines = Explain(WorkedA());
  const char* const Expected[] = {
      "     حقوق مبنا: امتیاز گروه 9 یعنی 880 × ضریب 1,000 = 880,000",
      "     افزایش سنواتی: (حقوق مبنای سال قبل 800,000 + افزایش سنواتی سال قبل 100,000) × 4 ÷ 100 + افزایش سنواتی سال "
      "قبل 100,000 = 136,000",
      "     فوق العاده جذب: (حقوق مبنا 880,000 + افزایش سنواتی 136,000 + فوق العاده شغل 176,000 + تفاوت حداقل دریافتی "
      "984,000 + ترمیم حقوق 3,000,000) × 50 ÷ 100 = 2,588,000",
      "     فوق العاده ویژه: (حقوق مبنا 880,000 + افزایش سنواتی 136,000 + فوق العاده جذب 2,588,000 + فوق العاده شغل "
      "176,000 + تفاوت حداقل دریافتی 984,000 + ترمیم حقوق 3,000,000) × 10 ÷ 100 = 776,400",
      "     بسته گروه 7، بدون 2 گروه تشویقی: مبنا امتیاز 740 × ضریب 1,000 = 740,000؛ فوق العاده شغل 740,000 × 20 ÷ 100 "
      "= 148,000؛ فوق العاده جذب (740,000 + 148,000) × 50 ÷ 100 = 444,000؛ فوق العاده ویژه (740,000 + 444,000 + "
      "148,000) × 10 ÷ 100 = 133,200؛ جمع 133,200 + 740,000 + 444,000 + 148,000 = 1,465,200",
      "     تفاوت ناشی از گروه های تشویقی: جمع بسته گروه 9 یعنی 1,742,400 − جمع بسته گروه 7 یعنی 1,465,200 = 277,200",
      "     فوق العاده نوبت کاری: حقوق مبنا 880,000 × 20 ÷ 100 = 176,000؛ بیشتر از سقف است، یعنی ضریب 1,000 × 400 × 35 "
      "÷ 100 = 140,000",
      "     حق عائله مندی: مبلغ اعلامی برای سرپرست خانوار 300,000",
      "     مبنای حق مسکن برای بیمه سازمان بازنشستگی: حقوق مبنا 880,000 + افزایش سنواتی 136,000 + فوق العاده شغل "
      "176,000 + تفاوت حداقل دریافتی 984,000 + فوق العاده جذب 2,588,000 + فوق العاده ویژه 776,400 + تفاوت ناشی از گروه "
      "های تشویقی 277,200 + ترمیم حقوق 3,000,000 + فوق العاده نوبت کاری 140,000 + فوق العاده تعدیل 408,600 = 9,366,200",
      "     حق مسکن: مبنای حق مسکن 9,366,200 × 20 ÷ 100 = 1,873,240",
      "     جمع کل حکم (با حق مسکن): جمع حکم (بدون حق مسکن) 9,866,200 + حق مسکن 1,873,240 = 11,739,440",
  };
  for (const char* Line : Expected) {
    const std::string Head = std::string(Line).substr(0, std::string(Line).find(": ") + 2);
    SCOPED_TRACE(Head);
    EXPECT_EQ(LineOf(Lines, Head), Line);
  }
  // Three for the opening line, ten items, two packages, the items total, the housing base and allowance, the grand
  // total.
  EXPECT_EQ(Lines.size(), 19u);
}

TEST(ExplainDecree, WorkedDecreeBByHand) {
  const std::vector<std::string> Lines = Explain(WorkedB());
  const char* const Expected[] = {
      "     فوق العاده جذب: (حقوق مبنا 880,000 + افزایش سنواتی 136,000 + فوق العاده شغل 176,000 + تفاوت حداقل دریافتی "
      "984,000 + ترمیم حقوق 3,000,000) × 50 ÷ 100 + تفاوت تطبیق موضوع جز 1+بند ی تبصره 12 50,000 × 50 ÷ 100 = "
      "2,613,000",
      "     فوق العاده ویژه: (حقوق مبنا 880,000 + افزایش سنواتی 136,000 + فوق العاده جذب 2,613,000 + فوق العاده شغل "
      "176,000 + تفاوت حداقل دریافتی 984,000 + ترمیم حقوق 3,000,000 + تفاوت تطبیق موضوع جز 1+بند ی تبصره 12 50,000) × "
      "10 ÷ 100 = 783,900",
      "     فوق العاده مناطق عملیاتی: (حقوق پایه 1,016,000 + فوق العاده شغل 176,000 + فوق العاده جذب 2,613,000 + تفاوت "
      "حداقل دریافتی 984,000) × 20 ÷ 100 = 957,800",
      "     فوق العاده خاص جز 3 بند ب: مبلغ وارد شده 200,000",
      "     فوق العاده ایثارگری: حداقل حقوق موثر 1,600,000 × 25 ÷ 100 = 400,000",
      "     مابه التفاوت سنواتی حداقل حکم: حداقل حقوق و مزایا 16,000,000 − مجموع آیتم های حکم (بدون حق مسکن) "
      "11,814,500 = 4,185,500",
      "     جمع کل حکم (بدون حق مسکن): مجموع آیتم های حکم (بدون حق مسکن) 11,814,500 + مابه التفاوت سنواتی حداقل حکم "
      "4,185,500 = 16,000,000",
      "     مبنای حق مسکن برای بیمه تامین اجتماعی: حقوق مبنا 880,000 + افزایش سنواتی 136,000 + فوق العاده شغل 176,000 "
      "+ تفاوت حداقل دریافتی 984,000 + فوق العاده جذب 2,613,000 + فوق العاده ویژه 783,900 + تفاوت تطبیق موضوع جز 1+بند "
      "ی تبصره 12 50,000 + محرومیت از تسهیلات زندگی 88,000 + تفاوت ناشی از گروه های تشویقی 277,200 + ترمیم حقوق "
      "3,000,000 + فوق العاده ایثارگری 400,000 + فوق العاده بدی آب و هوا 44,000 + فوق العاده نوبت کاری 140,000 + فوق "
      "العاده مناطق عملیاتی 957,800 + فوق العاده تعدیل 408,600 + ماده 26 176,000 + فوق العاده خاص جز 3 بند ب 200,000 + "
      "مابه التفاوت سنواتی حداقل حکم 4,185,500 = 15,500,000",
      "     جمع کل حکم (با حق مسکن): مجموع آیتم های حکم (بدون حق مسکن) 11,814,500 + حق مسکن 3,100,000 + مابه التفاوت "
      "سنواتی حداقل حکم 4,185,500 = 19,100,000",
  };
  for (const char* Line : Expected) {
    const std::string Head = std::string(Line).substr(0, std::string(Line).find(": ") + 2);
    SCOPED_TRACE(Head);
    EXPECT_EQ(LineOf(Lines, Head), Line);
  }
  EXPECT_EQ(Lines.size(), 28u);
}

TEST(ExplainDecree, ClampsWriteTheNegativeDifferenceInWords) {
  DecreeInput in = WorkedA();
  in.DeclaredMinimumSalary = 1000000;
  EXPECT_EQ(LineOf(Explain(in), "     تفاوت حداقل دریافتی: "),
            "     تفاوت حداقل دریافتی: حداقل حقوق اعلامی 1,000,000 − (حقوق مبنا 880,000 + افزایش سنواتی 136,000) = "
            "منفی 16,000؛ کمتر از صفر است، پس 0 منظور می شود");
  in = WorkedA();
  in.IncentiveGroupCount = -2;
  EXPECT_EQ(LineOf(Explain(in), "     تفاوت ناشی از گروه های تشویقی: "),
            "     تفاوت ناشی از گروه های تشویقی: جمع بسته گروه 9 یعنی 1,742,400 − جمع بسته گروه 11 یعنی 2,019,600 = "
            "منفی 277,200؛ کمتر از صفر است، پس 0 منظور می شود");
}

TEST(ExplainDecree, NumbersFollowTheRegionalSeparators) {
  DecreeInput in = WorkedA();
  in.SeniorityIncreasePercent = 2.5;  // 900000 x 2.5 % + 100000 = 122500
  const struct {
    const char* Name;
    NumberFormat Format;
    const char* Seniority;
  } Rows[] = {
      {"point and comma",
       {".", ","},
       "     افزایش سنواتی: (حقوق مبنای سال قبل 800,000 + افزایش سنواتی سال قبل 100,000) × 2.5 ÷ 100 + افزایش سنواتی "
       "سال قبل 100,000 = 122,500"},
      {"comma and point",
       {",", "."},
       "     افزایش سنواتی: (حقوق مبنای سال قبل 800.000 + افزایش سنواتی سال قبل 100.000) × 2,5 ÷ 100 + افزایش سنواتی "
       "سال قبل 100.000 = 122.500"},
      {"no grouping",
       {".", ""},
       "     افزایش سنواتی: (حقوق مبنای سال قبل 800000 + افزایش سنواتی سال قبل 100000) × 2.5 ÷ 100 + افزایش سنواتی سال "
       "قبل 100000 = 122500"},
  };
  for (const auto& R : Rows) {
    SCOPED_TRACE(R.Name);
    EXPECT_EQ(LineOf(Explain(in, R.Format), "     افزایش سنواتی: "), R.Seniority);
  }
}

// --- Reading a derivation back --------------------------------------------

const std::string Separator = "؛ ";
const std::string Negative = "منفی ";

struct Number {
  std::string Text;
  long double Value = 0;
};

// The last number in Text ("-5", "1,234,567", "2.5"), as a comma-and-point reader takes it.
std::optional<Number> LastNumber(const std::string& Text) {
  static const std::regex Pattern("-?[0-9][0-9,]*(\\.[0-9]+)?");
  std::optional<Number> Last;
  for (auto It = std::sregex_iterator(Text.begin(), Text.end(), Pattern); It != std::sregex_iterator(); ++It) {
    std::string Digits = It->str();
    Digits.erase(std::remove(Digits.begin(), Digits.end(), ','), Digits.end());
    Last = Number{It->str(), std::strtold(Digits.c_str(), nullptr)};
  }
  return Last;
}

// An arithmetic expression of the derivation: operands are words ending in a
// number, operators are spaced, parentheses group when they close on a digit
// and are part of a name otherwise.
class TExpression {
 public:
  explicit TExpression(std::string Text) {
    for (std::size_t Close; (Close = Text.find(')')) != std::string::npos;) {
      const std::size_t Open = Text.rfind('(', Close);
      if (Open == std::string::npos) {
        Broken = true;
        return;
      }
      if (Close > 0 && std::isdigit(static_cast<unsigned char>(Text[Close - 1]))) {
        Text[Open] = '[';
        Text[Close] = ']';
      } else {
        Text.erase(Open, Close - Open + 1);
      }
    }
    // An opening parenthesis left over closes nowhere.
    if (Text.find('(') != std::string::npos) {
      Broken = true;
      return;
    }
    std::string Operand;
    const auto Flush = [&] {
      if (const std::optional<Number> N = LastNumber(Operand)) Tokens.push_back({'n', N->Value});
      Operand.clear();
    };
    for (std::size_t I = 0; I < Text.size();) {
      bool Matched = false;
      for (const auto& [Spelling, Kind] : Operators) {
        if (Text.compare(I, Spelling.size(), Spelling) == 0) {
          Flush();
          Tokens.push_back({Kind, 0});
          I += Spelling.size();
          Matched = true;
          break;
        }
      }
      if (!Matched) Operand += Text[I++];
    }
    Flush();
  }

  // The value at extended precision, or nullopt when the text is not an expression.
  std::optional<long double> Value() {
    if (Broken) return std::nullopt;
    Next = 0;
    const std::optional<long double> Result = Sum();
    if (Next != Tokens.size()) return std::nullopt;
    return Result;
  }

 private:
  struct Token {
    char Kind;  // n number, + - * / [ ]
    long double Value;
  };
  const std::vector<std::pair<std::string, char>> Operators = {{" + ", '+'}, {" − ", '-'}, {" × ", '*'},
                                                               {" ÷ ", '/'}, {"[", '['},   {"]", ']'}};

  bool At(char Kind) const { return Next < Tokens.size() && Tokens[Next].Kind == Kind; }

  std::optional<long double> Sum() {
    std::optional<long double> Left = Product();
    while (Left && (At('+') || At('-'))) {
      const char Operator = Tokens[Next++].Kind;
      const std::optional<long double> Right = Product();
      if (!Right) return std::nullopt;
      Left = Operator == '+' ? *Left + *Right : *Left - *Right;
    }
    return Left;
  }

  std::optional<long double> Product() {
    std::optional<long double> Left = Operand();
    while (Left && (At('*') || At('/'))) {
      const char Operator = Tokens[Next++].Kind;
      const std::optional<long double> Right = Operand();
      if (!Right) return std::nullopt;
      Left = Operator == '*' ? *Left * *Right : *Left / *Right;
    }
    return Left;
  }

  std::optional<long double> Operand() {
    if (At('n')) return Tokens[Next++].Value;
    if (!At('[')) return std::nullopt;
    ++Next;
    const std::optional<long double> Inner = Sum();
    if (!Inner || !At(']')) return std::nullopt;
    ++Next;
    return Inner;
  }

  std::vector<Token> Tokens;
  std::size_t Next = 0;
  bool Broken = false;
};

struct Step {
  std::string Text;
  Number Shown;  // the amount after the last " = ", or the step's only amount
  bool HasFormula = false;
};

std::vector<Step> Steps(const std::string& Derivation) {
  std::vector<Step> Result;
  std::size_t Start = 0;
  while (true) {
    const std::size_t End = Derivation.find(Separator, Start);
    Step S;
    S.Text = Derivation.substr(Start, End == std::string::npos ? std::string::npos : End - Start);
    const std::size_t Equals = S.Text.rfind(" = ");
    S.HasFormula = Equals != std::string::npos;
    const std::string Shown = S.HasFormula ? S.Text.substr(Equals + 3) : S.Text;
    if (const std::optional<Number> N = LastNumber(Shown)) S.Shown = *N;
    if (S.HasFormula && Shown.rfind(Negative, 0) == 0) S.Shown.Value = -S.Shown.Value;
    Result.push_back(S);
    if (End == std::string::npos) break;
    Start = End + Separator.size();
  }
  return Result;
}

// Item name → amount text of every item and total of the report, in order.
std::vector<std::pair<std::string, std::string>> ReportAmounts(const std::vector<std::string>& Report) {
  std::vector<std::pair<std::string, std::string>> Amounts;
  for (const std::string& Line : Report) {
    std::size_t Start = 0;
    while (Start < Line.size()) {
      std::size_t End = Line.find("     ", Start);
      if (End == std::string::npos) End = Line.size();
      const std::string Piece = Line.substr(Start, End - Start);
      const std::size_t Colon = Piece.find(": ");
      if (Colon != std::string::npos) Amounts.emplace_back(Piece.substr(0, Colon), Piece.substr(Colon + 2));
      Start = End + 5;
    }
  }
  return Amounts;
}

struct Branch {
  const char* Name;
  std::function<void(DecreeInput&)> Change;
  DecreeInput (*Base)();
};

// Whole amounts throughout, so that the amounts shown recompute exactly.
const Branch Branches[] = {
    {"worked decree A", [](DecreeInput&) {}, WorkedA},
    {"worked decree B", [](DecreeInput&) {}, WorkedB},
    {"shift allowance under the cap", [](DecreeInput& In) { In.ShiftWorkPercent = 10; }, WorkedA},
    {"shift allowance equal to the cap stays",
     [](DecreeInput& In) {
       In.EmployeeGroup = 1;
       In.IncentiveGroupCount = 0;
       In.ShiftWorkPercent = 35;
     },
     WorkedA},
    {"minimum pay difference clamped at zero", [](DecreeInput& In) { In.DeclaredMinimumSalary = 1000000; }, WorkedA},
    {"incentive groups difference clamped at zero", [](DecreeInput& In) { In.IncentiveGroupCount = -2; }, WorkedA},
    {"no incentive groups", [](DecreeInput& In) { In.IncentiveGroupCount = 0; }, WorkedA},
    {"clause B present but not in housing", [](DecreeInput& In) { In.ClauseBItem3InHousing = false; }, WorkedB},
    {"retirement insurance leaves deprivation and bad climate out", [](DecreeInput& In) { In.InsuranceType = 1; },
     WorkedB},
    {"top-up with retirement insurance", [](DecreeInput& In) { In.MinimumSalaryAndBenefits = 12000000; }, WorkedA},
    {"narrow operational base and the remaining allowances",
     [](DecreeInput& In) {
       In.OperationalZonePercent = 10;
       In.RadiationPercent = 10;
       In.HardshipPercent = 10;
       In.DeprivedRegionPercent = 10;
       In.ParticularPercent = 10;
       In.BorderDeprivationEligible = true;
     },
     WorkedA},
    {"fractional seniority percentage", [](DecreeInput& In) { In.SeniorityIncreasePercent = 2.5; }, WorkedA},
    {"everything zero, no housing",
     [](DecreeInput& In) {
       In = DecreeInput{};
       In.EmployeeGroup = 1;
     },
     WorkedA},
};

TEST(ExplainDecree, EveryStepRecomputesAndEveryItemEndsOnTheReportsAmount) {
  for (const Branch& B : Branches) {
    SCOPED_TRACE(B.Name);
    DecreeInput In = B.Base();
    B.Change(In);
    const DecreeResult Result = ComputeDecree(In, GroupPointsTable);
    const std::vector<std::string> Lines = ExplainDecree(In, Result, GroupPointsTable, Comma);
    std::vector<std::pair<std::string, std::string>> Derived;  // name → final amount text, of report items
    const auto Report = ReportAmounts(BuildDecreeReport(Result, Comma));
    std::map<std::string, std::string> InReport(Report.begin(), Report.end());
    for (const std::string& Line : Lines) {
      SCOPED_TRACE(Line);
      ASSERT_EQ(Line.rfind("     ", 0), 0u);
      const std::size_t Colon = Line.find(": ");
      ASSERT_NE(Colon, std::string::npos);
      const std::string Name = Line.substr(5, Colon - 5);
      const std::vector<Step> Parts = Steps(Line.substr(Colon + 2));
      for (std::size_t I = 0; I < Parts.size(); ++I) {
        const Step& S = Parts[I];
        SCOPED_TRACE(S.Text);
        ASSERT_FALSE(S.Shown.Text.empty());
        if (S.HasFormula) {
          const std::optional<long double> Value = TExpression(S.Text.substr(0, S.Text.rfind(" = "))).Value();
          ASSERT_TRUE(Value.has_value());
          EXPECT_EQ(*Value, S.Shown.Value);
        }
        // A clamp follows a negative step and gives 0; a cap is below the step it cuts.
        if (S.Text.find("کمتر از صفر") != std::string::npos) {
          ASSERT_GT(I, 0u);
          EXPECT_LT(Parts[I - 1].Shown.Value, 0);
          EXPECT_EQ(S.Shown.Value, 0);
        }
        if (S.Text.find("بیشتر از سقف") != std::string::npos) {
          ASSERT_GT(I, 0u);
          EXPECT_LT(S.Shown.Value, Parts[I - 1].Shown.Value);
        }
      }
      if (InReport.count(Name)) {
        Derived.emplace_back(Name, Parts.back().Shown.Text);
      } else {
        // Not a report item: a package, the housing base, or a difference its clamp left out.
        const bool Clamped = Parts.back().Text.find("کمتر از صفر") != std::string::npos;
        EXPECT_TRUE(Clamped || Name.rfind("بسته گروه ", 0) == 0 || Name.rfind("مبنای حق مسکن", 0) == 0) << Name;
      }
    }
    // Every item and total of the report, in its order, ends on its amount there.
    EXPECT_EQ(Derived, Report);
  }
}

TEST(ExplainDecree, TheReadBackCatchesAWrongAmount) {
  // The reader itself: a derivation with one operand off by a rial fails it.
  EXPECT_EQ(TExpression("حقوق مبنا 880,000 × 20 ÷ 100").Value(), 176000);
  EXPECT_NE(TExpression("حقوق مبنا 880,001 × 20 ÷ 100").Value(), 176000);
  EXPECT_EQ(TExpression("(حقوق مبنا 880,000 + ماده 26 120,000) × 10 ÷ 100").Value(), 100000);
  EXPECT_EQ(TExpression("زندگی2 (مناطق مرزی) 5 + جز 1+بند ی 7").Value(), 12);
  EXPECT_EQ(TExpression("فوق العاده جذب (740,000 + 148,000) × 50 ÷ 100").Value(), 444000);
  EXPECT_EQ(TExpression("(1 + 2").Value(), std::nullopt);
}

}  // namespace
