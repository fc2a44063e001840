#include "core/decimal.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <system_error>
#include <vector>

namespace quadsum {
namespace {

// Unsigned big integer, least significant 32-bit limb first, no zero limb on
// top (zero is empty). Only as much arithmetic as the two conversions need.
using BigInt = std::vector<std::uint32_t>;

void MultiplyAdd(BigInt& n, std::uint32_t factor, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (std::uint32_t& limb : n) {
    carry += std::uint64_t{limb} * factor;
    limb = static_cast<std::uint32_t>(carry);
    carry >>= 32;
  }
  if (carry != 0) n.push_back(static_cast<std::uint32_t>(carry));
}

// n *= base^count, in steps of the largest power of base that fits a limb.
void MultiplyPower(BigInt& n, std::uint32_t base, int count) {
  const int perStep = base == 5 ? 13 : 9;  // 5^13 and 10^9 fit in 32 bits
  std::uint32_t step = 1;
  for (int i = 0; i < perStep; ++i) step *= base;
  for (; count >= perStep; count -= perStep) MultiplyAdd(n, step, 0);
  for (; count > 0; --count) MultiplyAdd(n, base, 0);
}

void ShiftLeft(BigInt& n, int bits) {
  if (n.empty()) return;
  n.insert(n.begin(), static_cast<std::size_t>(bits / 32), 0);
  MultiplyAdd(n, std::uint32_t{1} << (bits % 32), 0);
}

int BitLength(const BigInt& n) {
  return n.empty() ? 0 : 32 * static_cast<int>(n.size() - 1) + std::bit_width(n.back());
}

bool Less(const BigInt& a, const BigInt& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  return std::lexicographical_compare(a.rbegin(), a.rend(), b.rbegin(), b.rend());
}

void Subtract(BigInt& a, const BigInt& b) {  // a >= b
  std::int64_t borrow = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    borrow += std::int64_t{a[i]} - (i < b.size() ? b[i] : 0);
    a[i] = static_cast<std::uint32_t>(borrow);
    borrow = borrow < 0 ? -1 : 0;
  }
  while (!a.empty() && a.back() == 0) a.pop_back();
}

std::uint32_t DivideSmall(BigInt& n, std::uint32_t divisor) {
  std::uint64_t rest = 0;
  for (auto limb = n.rbegin(); limb != n.rend(); ++limb) {
    rest = rest << 32 | *limb;
    *limb = static_cast<std::uint32_t>(rest / divisor);
    rest %= divisor;
  }
  while (!n.empty() && n.back() == 0) n.pop_back();
  return static_cast<std::uint32_t>(rest);
}

std::string DecimalDigits(BigInt n) {
  std::string digits;
  while (!n.empty()) {
    std::uint32_t chunk = DivideSmall(n, 1000000000);
    for (int i = 0; i < 9; ++i, chunk /= 10) digits.push_back(static_cast<char>('0' + chunk % 10));
  }
  digits.erase(digits.find_last_not_of('0') + 1);
  std::reverse(digits.begin(), digits.end());
  return digits;
}

// Rounds the digit string to `count` digits, ties to even; true when the
// carry ran through all of them ("999" to "1000").
bool RoundDigits(std::string& digits, std::size_t count) {
  if (digits.size() <= count) return false;
  const char next = digits[count];
  const bool beyondHalf = digits.find_first_not_of('0', count + 1) != std::string::npos;
  const bool odd = (digits[count - 1] - '0') % 2 == 1;
  digits.resize(count);
  if (next < '5' || (next == '5' && !beyondHalf && !odd)) return false;
  std::size_t i = count;
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i > 0) {
    ++digits[i - 1];
    return false;
  }
  digits.insert(digits.begin(), '1');
  digits.pop_back();
  return true;
}

// floor(numerator / denominator) scaled into [2^62, 2^64) by a power of two:
// the quotient, that power and whether a remainder was left.
struct Quotient {
  std::uint64_t bits;
  int exponent;  // value = (bits + fraction) x 2^exponent
  bool inexact;
};

Quotient Divide(BigInt numerator, BigInt denominator) {
  const int shift = 63 + BitLength(denominator) - BitLength(numerator);
  ShiftLeft(shift >= 0 ? numerator : denominator, std::abs(shift));
  std::uint64_t bits = 0;
  for (int i = 63; i >= 0; --i) {
    BigInt part = denominator;
    ShiftLeft(part, i);
    if (!Less(numerator, part)) {
      Subtract(numerator, part);
      bits |= std::uint64_t{1} << i;
    }
  }
  return {bits, -shift, !numerator.empty()};
}

// The double nearest q.bits x 2^q.exponent (plus the fraction q.inexact
// marks), rounded once to the 53 bits of a normal double or the fewer
// a denormal keeps.
double NearestDouble(Quotient q) {
  if (q.bits >> 63 == 0) q.bits <<= 1, --q.exponent;  // at most one bit short
  // Kept bits are counted from 2^-1074, the lowest a double holds.
  const int dropped = std::max(11, -1074 - q.exponent);
  if (dropped > 64) return 0;
  const std::uint64_t kept = dropped == 64 ? 0 : q.bits >> dropped;
  const std::uint64_t rest = dropped == 64 ? q.bits : q.bits & ((std::uint64_t{1} << dropped) - 1);
  const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
  const bool up = rest > half || (rest == half && (q.inexact || (kept & 1) != 0));
  // Exponent field above the hidden bit: a carry into 2^53 raises it by one.
  const auto field = static_cast<std::uint64_t>(q.exponent + dropped + 1074);
  const std::uint64_t pattern = (field << 52) + kept + (up ? 1 : 0);
  constexpr std::uint64_t kInfinity = 0x7FF0000000000000;
  return std::bit_cast<double>(std::min(pattern, kInfinity));
}

// Exponent after the 'e' ("+12", "-3", "7"), clamped far beyond any double
// (2^60) so that adding the digits' own scale cannot overflow.
long long ExponentValue(std::string_view s) {
  const bool negative = !s.empty() && s[0] == '-';
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
  constexpr long long kFar = 1LL << 60;
  long long value = 0;
  if (std::from_chars(s.data(), s.data() + s.size(), value).ec == std::errc::result_out_of_range) {
    value = kFar;
  }
  value = std::min(value, kFar);
  return negative ? -value : value;
}

// More digits than any double's exact value or midpoint has (767); the rest
// only tells whether the number lies above the kept ones.
constexpr std::size_t kKeptDigits = 800;

}  // namespace

RoundedDecimal RoundToDecimal(double value, int significant) {
  const auto pattern = std::bit_cast<std::uint64_t>(value);
  const auto field = static_cast<int>(pattern >> 52 & 0x7FF);
  const std::uint64_t fraction = pattern & ((std::uint64_t{1} << 52) - 1);
  const std::uint64_t mantissa = field == 0 ? fraction : fraction | std::uint64_t{1} << 52;
  const int binaryExponent = (field == 0 ? 1 : field) - 1075;
  BigInt n{static_cast<std::uint32_t>(mantissa), static_cast<std::uint32_t>(mantissa >> 32)};
  while (!n.empty() && n.back() == 0) n.pop_back();
  // m x 2^-k is m x 5^k / 10^k: an integer and a decimal shift.
  if (binaryExponent >= 0) ShiftLeft(n, binaryExponent);
  else MultiplyPower(n, 5, -binaryExponent);
  RoundedDecimal result{DecimalDigits(n), 0};
  result.exponent = static_cast<int>(result.digits.size()) - 1 + std::min(binaryExponent, 0);
  if (RoundDigits(result.digits, static_cast<std::size_t>(significant))) ++result.exponent;
  result.digits.erase(result.digits.find_last_not_of('0') + 1);
  return result;
}

double ParseDecimal(std::string_view number) {
  const std::size_t e = std::min(number.find_first_of("eE"), number.size());
  long long scale = 0;  // value = digits x 10^scale
  std::string digits;
  bool droppedNonzero = false, afterPoint = false;
  for (const char c : number.substr(0, e)) {
    if (c == '.') {
      afterPoint = true;
    } else if (digits.size() < kKeptDigits) {
      if (!digits.empty() || c != '0') digits.push_back(c);
      if (afterPoint) --scale;
    } else {
      droppedNonzero |= c != '0';
      if (!afterPoint) ++scale;
    }
  }
  if (droppedNonzero) digits.push_back('1'), --scale;
  if (digits.empty()) return 0;
  if (e < number.size()) scale += ExponentValue(number.substr(e + 1));
  const auto magnitude = static_cast<long long>(digits.size()) + scale;  // value < 10^magnitude
  if (magnitude > 310) return std::numeric_limits<double>::infinity();
  if (magnitude < -324) return 0;
  BigInt numerator, denominator{1};
  for (const char c : digits) MultiplyAdd(numerator, 10, static_cast<std::uint32_t>(c - '0'));
  MultiplyPower(scale >= 0 ? numerator : denominator, 10, static_cast<int>(std::abs(scale)));
  return NearestDouble(Divide(numerator, denominator));
}

}  // namespace quadsum
