// SPDX-License-Identifier: GPL-3.0-or-later
// PortableExtended's own conversions and the subtraction mended around Boost,
// on every build. Expected bits are worked by hand (Python's fractions and
// decimal modules) from the exact values.
#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

#include "decree/PortableExtended.h"

namespace {

using P = PortableExtended;

P Of(std::uint64_t Significand, int Exponent, bool Negative = false) {
  return PortableFromParts({Negative, Significand, Exponent});
}

void ExpectParts(const P& Value, std::uint64_t Significand, int Exponent, bool Negative = false) {
  const ExtendedParts parts = PortableParts(Value);
  EXPECT_EQ(parts.Significand, Significand);
  EXPECT_EQ(parts.Exponent, Exponent);
  EXPECT_EQ(parts.Negative, Negative);
}

constexpr std::uint64_t Top = std::uint64_t(1) << 63;

// 0x1.612e7a6cecc1bp+0 × 0x1.35bf9c9e9c616p+0 rounds to the odd significand
// 0xd5aab9c2fb09838d × 2^-63. 1.5 × 2^-65 lies 65 binary orders below it:
// between a quarter and a half of its last unit.
TEST(PortableExtended, SubtrahendSixtyFiveOrdersBelowKeepsAnOddSignificand) {
  const P product = P(0x1.612e7a6cecc1bp+0) * 0x1.35bf9c9e9c616p+0;
  ExpectParts(product, 0xd5aab9c2fb09838dULL, -63);
  const double far = 0x1.8p-65;
  struct Row {
    const char* Name;
    P Value;
    bool Negative;
  } rows[] = {
      {"a - b", product - far, false}, {"a + (-b)", product + -far, false},  {"(-b) + a", P(-far) + product, false},
      {"b - a", far - product, true},  {"a -= b", P(product) -= far, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    ExpectParts(row.Value, 0xd5aab9c2fb09838dULL, -63, row.Negative);
  }
  // Below a power of two the numbers lie twice as close: 2^70 − 48 is
  // nearer 2^70 − 64 than 2^70; 2^70 − 32 is the tie, which goes to 2^70.
  ExpectParts(Of(Top, 7) - 48, UINT64_MAX, 6);
  ExpectParts(Of(Top, 7) - 32, Top, 7);
  ExpectParts(Of(Top | 1, 7) - 33, Top | 1, 7);
}

TEST(PortableExtended, ToDoubleRoundsOnceToNearestEven) {
  struct Row {
    const char* Name;
    P Value;
    double Expected;
  } rows[] = {
      {"1 + 2^-53 is a tie: even", Of(Top | (1ULL << 10), -63), 1.0},
      {"1 + 2^-53 + 2^-63 is above the tie", Of(Top | (1ULL << 10) | 1, -63), 0x1.0000000000001p+0},
      {"1 + 3 × 2^-53 is a tie: even", Of(Top | (3ULL << 10), -63), 0x1.0000000000002p+0},
      {"half the smallest subnormal is a tie: zero", Of(Top, -1138), 0.0},
      {"just above that half", Of(Top | 1, -1138), 0x1p-1074},
      {"5 × 2^-1075 is a tie between subnormals: even", Of(5ULL << 61, -1136), 0x1p-1073},
      {"below the halfway point to 2^1024", Of(UINT64_MAX - (1ULL << 10), 960), DBL_MAX},
      {"the halfway point to 2^1024 overflows", Of(UINT64_MAX - (1ULL << 10) + 1, 960), HUGE_VAL},
      {"negative", Of(Top | (3ULL << 10), -63, true), -0x1.0000000000002p+0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(PortableToDouble(row.Value), row.Expected);
  }
}

TEST(PortableExtended, DecimalTextRoundsOnceToTheSignificand) {
  struct Row {
    const char* Text;
    std::uint64_t Significand;
    int Exponent;
    bool Negative;
  } rows[] = {
      {"0.1", 0xcccccccccccccccdULL, -67, false},
      {"-.5e1", 0xa000000000000000ULL, -61, true},
      {"18446744073709551615", UINT64_MAX, 0, false},
      {"18446744073709551617", Top, 1, false},                    // 2^64 + 1: a tie, even
      {"18446744073709551619", Top | 2, 1, false},                // 2^64 + 3: a tie, even
      {"1.18973149535723176502e4932", UINT64_MAX, 16320, false},  // the largest value
      {"3.3621031431120935063e-4932", Top, -16445, false},        // the smallest normal value
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Text);
    ExpectParts(PortableFromDecimal(row.Text), row.Significand, row.Exponent, row.Negative);
  }
  EXPECT_TRUE(boost::multiprecision::isinf(PortableFromDecimal("1.18973149535723176506e4932")));
  EXPECT_TRUE(boost::multiprecision::isinf(PortableFromDecimal("1e99999999999999")));
  EXPECT_EQ(PortableFromDecimal("1e-4940"), 0);  // below the normal range
  EXPECT_EQ(PortableFromDecimal("0e99999999999999"), 0);
  EXPECT_TRUE(boost::multiprecision::signbit(PortableFromDecimal("-0.000")));
}

TEST(PortableExtended, ExactDecimalDigits) {
  const DecimalDigits tenth = PortableExactDecimal(PortableFromDecimal("0.1"));
  EXPECT_EQ(tenth.Digits, "1000000000000000000013552527156068805425093160010874271392822265625");
  EXPECT_EQ(tenth.Exponent, -1);
  const DecimalDigits big = PortableExactDecimal(Of(Top, 37));  // 2^100, past the 64-bit shortcut
  EXPECT_EQ(big.Digits, "1267650600228229401496703205376");
  EXPECT_EQ(big.Exponent, 30);
  // 2^-16382 = 5^16382 / 10^16382: 11451 digits.
  const DecimalDigits smallest = PortableExactDecimal(Of(Top, -16445));
  EXPECT_EQ(smallest.Digits.substr(0, 20), "33621031431120935062");
  EXPECT_EQ(smallest.Digits.size(), 11451u);
  EXPECT_EQ(smallest.Exponent, -4932);
}

TEST(PortableExtended, EighteenDigitsRoundToNearestEven) {
  struct Row {
    const char* Text;  // exact in 64 bits
    const char* Digits;
    int Exponent;
  } rows[] = {
      {"0.1", "100000000000000000", -1},
      {"123456789012345678.5", "123456789012345678", 17},  // a tie: even
      {"123456789012345677.5", "123456789012345678", 17},
      {"123456789012345677.75", "123456789012345678", 17},
      {"999999999999999999.75", "100000000000000000", 18},  // carried into a 19th digit
      {"4824000", "482400000000000000", 6},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Text);
    const DecimalDigits d = PortableDecimalDigits18(PortableFromDecimal(row.Text));
    EXPECT_EQ(d.Digits, row.Digits);
    EXPECT_EQ(d.Exponent, row.Exponent);
  }
}

}  // namespace
