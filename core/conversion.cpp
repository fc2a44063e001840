#include "core/conversion.h"

#include "core/decimal.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>
#include <utility>

namespace quadsum {
namespace {

constexpr int kSignificantDigits = 15;
constexpr std::size_t kNone = std::string_view::npos;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Positions of the first three periods, or nullopt when there are fewer.
std::optional<std::array<std::size_t, 3>> FirstThreePeriods(std::string_view text) {
  std::array<std::size_t, 3> at{};
  std::size_t from = 0;
  for (std::size_t& pos : at) {
    pos = text.find('.', from);
    if (pos == kNone) return std::nullopt;
    from = pos + 1;
  }
  return at;
}

// Digits, or a point and a digit: nothing else starts a number ("inf" does not).
bool StartsNumber(std::string_view s) {
  return (!s.empty() && IsDigit(s[0])) ||
         (s.size() > 1 && s[0] == '.' && IsDigit(s[1]));
}

std::size_t DigitRun(std::string_view s, std::size_t from) {
  while (from < s.size() && IsDigit(s[from])) ++from;
  return from;
}

// Length of the number at the start of s (which StartsNumber accepted):
// digits, at most one '.', then an exponent only when digits follow its sign.
// The parse sees no more than this; whatever follows is ignored.
std::size_t NumberLength(std::string_view s) {
  std::size_t end = DigitRun(s, 0);
  if (end < s.size() && s[end] == '.') end = DigitRun(s, end + 1);
  if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
    std::size_t digits = end + 1;
    if (digits < s.size() && (s[digits] == '+' || s[digits] == '-')) ++digits;
    if (digits < s.size() && IsDigit(s[digits])) end = DigitRun(s, digits);
  }
  return end;
}

double WeightedSum(double a, double b, double c, double d) {
  const double t = a * 16777216.0;
  return ((b * 65536.0 + t) + c * 256.0) + d;
}

// Plain form of the significant digits "ddd" of d.dd x 10^exponent.
std::string PlainForm(std::string digits, int exponent) {
  if (exponent < 0) return std::string("0.").append(-exponent - 1, '0').append(digits);
  const auto whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) return digits.append(whole - digits.size(), '0');
  return digits.insert(whole, 1, '.');
}

bool FitsPlain(std::size_t digitCount, int exponent) {
  if (exponent >= 0) return exponent < kSignificantDigits;
  return static_cast<int>(digitCount) - exponent - 1 <= kSignificantDigits;
}

// Significant digits (trailing zeros dropped) and decimal exponent of a
// positive value rounded to 15 digits, ties to even.
std::pair<std::string, int> RoundedDigits(double magnitude) {
  // A whole number below 1E+15 has at most 15 digits, so it is its own
  // rounding; every plain address lands here, and the exact path is slow.
  if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
    std::string digits = std::to_string(static_cast<long long>(magnitude));
    const auto exponent = static_cast<int>(digits.size()) - 1;
    digits.erase(digits.find_last_not_of('0') + 1);
    return {digits, exponent};
  }
  RoundedDecimal rounded = RoundToDecimal(magnitude, kSignificantDigits);
  return {std::move(rounded.digits), rounded.exponent};
}

// What a typed part always is: up to 15 digits, exact as an integer, and
// far cheaper than the exact parse.
std::optional<double> WholeNumber(std::string_view span) {
  unsigned long long whole = 0;
  if (span.size() > kSignificantDigits) return std::nullopt;
  const auto [end, error] = std::from_chars(span.data(), span.data() + span.size(), whole);
  if (error != std::errc() || end != span.data() + span.size()) return std::nullopt;
  return static_cast<double>(whole);
}

// "d.dddE+XX": a sign always and at least two exponent digits.
std::string ExponentForm(const std::string& digits, int exponent) {
  std::string text(1, digits[0]);
  if (digits.size() > 1) text.append(".").append(digits, 1);
  text.append(exponent < 0 ? "E-" : "E+").append(std::abs(exponent) < 10 ? "0" : "");
  return text.append(std::to_string(std::abs(exponent)));
}

}  // namespace

std::string DottedToIntegerText(std::string_view text) {
  const auto periods = FirstThreePeriods(text);
  if (!periods) return {};
  const auto [first, second, third] = *periods;
  const auto a = LeadingNumber(text.substr(0, first));
  const auto b = LeadingNumber(text.substr(first + 1, second - first - 1));
  const auto c = LeadingNumber(text.substr(second + 1, third - second - 1));
  const auto d = LeadingNumber(text.substr(third + 1));
  if (!a || !b || !c || !d) return {};
  // Once a step leaves the double range the sum stays infinite or NaN, which
  // has no display form: the box empties.
  return NumberText(WeightedSum(*a, *b, *c, *d));
}

std::optional<double> LeadingNumber(std::string_view segment) {
  const std::size_t start = segment.find_first_not_of(" \t");
  segment.remove_prefix(start == kNone ? segment.size() : start);
  const bool negative = !segment.empty() && segment[0] == '-';
  if (!segment.empty() && (negative || segment[0] == '+')) segment.remove_prefix(1);
  if (!StartsNumber(segment)) return 0.0;
  const std::string_view span = segment.substr(0, NumberLength(segment));
  const std::optional<double> whole = WholeNumber(span);
  // Any other number, correctly rounded whatever the locale: overflow gives
  // infinity, underflow the nearest denormal or 0, which is the value we want.
  const double value = whole ? *whole : ParseDecimal(span);
  if (std::isinf(value)) return std::nullopt;
  return negative ? -value : value;
}

std::string NumberText(double value) {
  if (!std::isfinite(value)) return {};
  if (value == 0) return "0";
  const auto [digits, exponent] = RoundedDigits(std::fabs(value));
  std::string text = FitsPlain(digits.size(), exponent) ? PlainForm(digits, exponent)
                                                        : ExponentForm(digits, exponent);
  return value < 0 ? text.insert(0, 1, '-') : text;
}

bool IsAddressKey(int charCode) {
  return (charCode >= '0' && charCode <= '9') || charCode == '.' || charCode == 8;
}

}  // namespace quadsum
