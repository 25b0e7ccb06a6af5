// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/PortableExtended.h"

#include <boost/multiprecision/cpp_int.hpp>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using boost::multiprecision::cpp_int;

constexpr int TopExponent = 16383;      // the largest value is just below 2^16384
constexpr int BottomExponent = -16382;  // the smallest normal value is 2^-16382

int BitLength(std::uint64_t Value) {
  int length = 0;
  for (; Value != 0; Value >>= 1) ++length;
  return length;
}

// Magnitude × 2^Exponent rounded to the 64-bit significand, ties to even;
// Sticky tells that something non-zero lies below Magnitude's last bit.
ExtendedParts RoundToSignificand(const cpp_int& Magnitude, long Exponent, bool Sticky) {
  ExtendedParts parts;
  const long bits = static_cast<long>(boost::multiprecision::msb(Magnitude)) + 1;
  if (bits <= 64) {
    // Whole: the callers hand over at least 66 bits whenever Sticky is set.
    parts.Significand = Magnitude.convert_to<std::uint64_t>() << (64 - bits);
    parts.Exponent = static_cast<int>(Exponent - (64 - bits));
    return parts;
  }
  const long dropped = bits - 64;
  parts.Significand = static_cast<cpp_int>(Magnitude >> dropped).convert_to<std::uint64_t>();
  const bool half = boost::multiprecision::bit_test(Magnitude, static_cast<unsigned>(dropped - 1));
  const bool belowHalf = Sticky || static_cast<long>(boost::multiprecision::lsb(Magnitude)) < dropped - 1;
  long exponent = Exponent + dropped;
  if (half && (belowHalf || (parts.Significand & 1) != 0)) {
    if (++parts.Significand == 0) {  // carried into a 65th bit
      parts.Significand = std::uint64_t(1) << 63;
      ++exponent;
    }
  }
  // Far outside the range either way; PortableFromParts decides the edges.
  if (exponent > 2 * TopExponent) exponent = 2 * TopExponent;
  if (exponent < 4 * BottomExponent) exponent = 4 * BottomExponent;
  parts.Exponent = static_cast<int>(exponent);
  return parts;
}

std::string Decimal(std::uint64_t Value) { return std::to_string(Value); }

// The decimal digits of a whole number > 0, in chunks of 19 digits. Not
// cpp_int's str(), which reaches the C++ streams and their locales (80 KB of
// the WebAssembly build) for a one-limb number.
std::string Decimal(cpp_int Whole) {
  const cpp_int chunk(10000000000000000000ULL);  // 10^19
  std::vector<std::uint64_t> lower;              // the chunks below the first, the lowest first
  cpp_int quotient, remainder;
  while (Whole >= chunk) {
    boost::multiprecision::divide_qr(Whole, chunk, quotient, remainder);
    lower.push_back(remainder.convert_to<std::uint64_t>());
    Whole.swap(quotient);
  }
  std::string digits = Decimal(Whole.convert_to<std::uint64_t>());
  for (auto part = lower.rbegin(); part != lower.rend(); ++part) {
    const std::string low = Decimal(*part);
    digits.append(19 - low.size(), '0').append(low);
  }
  return digits;
}

}  // namespace

ExtendedParts PortableParts(const PortableExtended& Value) {
  ExtendedParts parts;
  parts.Negative = boost::multiprecision::signbit(Value) != 0;
  if (Value == 0) return parts;
  int exponent = 0;
  const PortableExtended fraction = boost::multiprecision::frexp(boost::multiprecision::abs(Value), &exponent);
  // fraction is in [0.5, 1): times 2^64 it is the 64-bit significand, exactly.
  parts.Significand = boost::multiprecision::ldexp(fraction, 64).convert_to<std::uint64_t>();
  parts.Exponent = exponent - 64;
  return parts;
}

PortableExtended PortableFromParts(const ExtendedParts& Parts) {
  PortableExtended value = 0;
  if (Parts.Significand != 0) {
    const long top = static_cast<long>(Parts.Exponent) + BitLength(Parts.Significand) - 1;
    if (top > TopExponent)
      value = std::numeric_limits<PortableExtended>::infinity();
    else if (top >= BottomExponent)
      value = boost::multiprecision::ldexp(PortableExtended(Parts.Significand), Parts.Exponent);
  }
  return Parts.Negative ? PortableExtended(-value) : value;
}

double PortableToDouble(const PortableExtended& Value) {
  if (boost::multiprecision::isnan(Value)) return std::numeric_limits<double>::quiet_NaN();
  if (boost::multiprecision::isinf(Value))
    return Value < 0 ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  const ExtendedParts parts = PortableParts(Value);
  double magnitude = 0;
  if (parts.Significand != 0) {
    const long top = static_cast<long>(parts.Exponent) + 63;
    if (top > 1023) {
      magnitude = std::numeric_limits<double>::infinity();
    } else {
      // 53 bits for a normal double, fewer as the last one would fall below 2^-1074.
      const long kept = top >= -1022 ? 53 : top + 1075;
      if (kept == 0) {
        // [2^-1075, 2^-1074): above the half of the smallest subnormal it rounds
        // up to it; exactly the half is a tie, which goes to the even zero.
        if (parts.Significand != std::uint64_t(1) << 63) magnitude = std::ldexp(1.0, -1074);
      } else if (kept > 0) {
        const int dropped = static_cast<int>(64 - kept);
        std::uint64_t rounded = parts.Significand >> dropped;
        const std::uint64_t rest = parts.Significand & ((std::uint64_t(1) << dropped) - 1);
        const std::uint64_t half = std::uint64_t(1) << (dropped - 1);
        if (rest > half || (rest == half && (rounded & 1) != 0)) ++rounded;
        // At most 2^53, exact in a double; a carry to 2^1024 becomes infinity.
        magnitude = std::ldexp(static_cast<double>(rounded), parts.Exponent + dropped);
      }
    }
  }
  return parts.Negative ? -magnitude : magnitude;
}

PortableExtended PortableFromDecimal(const std::string& Plain) {
  std::size_t i = 0;
  const std::size_t n = Plain.size();
  bool negative = false;
  if (i < n && (Plain[i] == '+' || Plain[i] == '-')) negative = Plain[i++] == '-';
  std::string digits;
  long long exponent = 0;  // of the last digit kept
  bool point = false;
  for (; i < n && Plain[i] != 'e' && Plain[i] != 'E'; ++i) {
    if (Plain[i] == '.') {
      point = true;
    } else {
      if (!(digits.empty() && Plain[i] == '0')) digits += Plain[i];
      if (point) --exponent;
    }
  }
  if (i < n) {
    ++i;
    bool exponentNegative = false;
    if (i < n && (Plain[i] == '+' || Plain[i] == '-')) exponentNegative = Plain[i++] == '-';
    long long written = 0;
    // Saturates far beyond any value that is not infinity or zero.
    for (; i < n; ++i) written = std::min<long long>(written * 10 + (Plain[i] - '0'), 1000000000000LL);
    exponent += exponentNegative ? -written : written;
  }
  ExtendedParts parts;
  parts.Negative = negative;
  const std::size_t last = digits.find_last_not_of('0');
  if (last != std::string::npos) {
    exponent += static_cast<long long>(digits.size() - 1 - last);
    digits.erase(last + 1);
    // The first digit is worth 10^leading; 10^4933 is beyond the largest value
    // (1.19 × 10^4932) and 10^-4934 below half the smallest (3.36 × 10^-4932).
    const long long leading = exponent + static_cast<long long>(digits.size()) - 1;
    if (leading >= 4933) {
      parts.Significand = 1;
      parts.Exponent = 2 * TopExponent;
    } else if (leading >= -4934) {
      const cpp_int whole(digits);
      if (exponent >= 0) {
        parts = RoundToSignificand(whole * boost::multiprecision::pow(cpp_int(10), static_cast<unsigned>(exponent)), 0,
                                   false);
      } else {
        // Enough quotient bits for the 64 kept, the rounding bit and one more;
        // the remainder decides the rest.
        const cpp_int divisor = boost::multiprecision::pow(cpp_int(10), static_cast<unsigned>(-exponent));
        const long shift = std::max<long>(0, static_cast<long>(boost::multiprecision::msb(divisor)) -
                                                 static_cast<long>(boost::multiprecision::msb(whole)) + 66);
        cpp_int quotient, remainder;
        boost::multiprecision::divide_qr(cpp_int(whole << shift), divisor, quotient, remainder);
        parts = RoundToSignificand(quotient, -shift, remainder != 0);
      }
      parts.Negative = negative;
    }
  }
  return PortableFromParts(parts);
}

DecimalDigits PortableExactDecimal(const PortableExtended& Value) {
  const ExtendedParts parts = PortableParts(Value);
  if (parts.Significand == 0) return {};
  std::uint64_t significand = parts.Significand;
  int exponent = parts.Exponent;
  while ((significand & 1) == 0) {
    significand >>= 1;
    ++exponent;
  }
  // Value = significand × 2^exponent with an odd significand. A negative
  // exponent gives significand × 5^-exponent / 10^-exponent.
  DecimalDigits d;
  int scale = 0;
  if (exponent >= 0) {
    if (BitLength(significand) + exponent <= 64) {
      d.Digits = Decimal(significand << exponent);
    } else {
      cpp_int whole = significand;
      whole <<= static_cast<unsigned>(exponent);
      d.Digits = Decimal(whole);
    }
  } else {
    scale = exponent;
#ifdef __SIZEOF_INT128__
    if (-exponent <= 27) {
      // 5^27 < 2^63, so the product fits 128 bits.
      std::uint64_t power = 1;
      for (int k = 0; k < -exponent; ++k) power *= 5;
      __extension__ typedef unsigned __int128 Wide;
      Wide product = static_cast<Wide>(significand) * power;
      const std::uint64_t chunk = 10000000000000000000ULL;  // 10^19
      if (product >= chunk) {
        const std::string low = Decimal(static_cast<std::uint64_t>(product % chunk));
        d.Digits = Decimal(static_cast<std::uint64_t>(product / chunk)) + std::string(19 - low.size(), '0') + low;
      } else {
        d.Digits = Decimal(static_cast<std::uint64_t>(product));
      }
    } else
#endif
    {
      d.Digits =
          Decimal(cpp_int(significand) * boost::multiprecision::pow(cpp_int(5), static_cast<unsigned>(-exponent)));
    }
  }
  d.Exponent = static_cast<int>(d.Digits.size()) - 1 + scale;
  d.Digits.erase(d.Digits.find_last_not_of('0') + 1);
  return d;
}

DecimalDigits PortableDecimalDigits18(const PortableExtended& Value) {
  constexpr std::size_t Count = 18;
  DecimalDigits d = PortableExactDecimal(Value);
  if (d.Digits.size() > Count) {
    // The exact digits end in a non-zero digit: a 5 with more digits after it
    // is above the half, a 5 alone is a tie.
    const char next = d.Digits[Count];
    const bool beyondHalf = d.Digits.size() > Count + 1;
    d.Digits.resize(Count);
    if (next > '5' || (next == '5' && (beyondHalf || (d.Digits.back() - '0') % 2 == 1))) {
      std::size_t k = Count;
      while (k > 0 && d.Digits[k - 1] == '9') d.Digits[--k] = '0';
      if (k > 0) {
        ++d.Digits[k - 1];
      } else {
        d.Digits[0] = '1';  // 9.99… carried into a new leading digit
        ++d.Exponent;
      }
    }
  }
  d.Digits.resize(Count, '0');
  return d;
}
