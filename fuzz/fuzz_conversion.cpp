// Any text gives a number text or "": never a crash, an exception or a
// malformed number. Aborts on the first output the strict validator rejects.

#include "core/conversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <string_view>

namespace {

// Plain: "0", or digits without a leading zero, or "0.ddd"; a fraction never
// ends in 0. Exponent form: "d.dddE+XX" with a nonzero lead digit.
const std::regex kPlain(R"(-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?)");
const std::regex kExponent(R"(-?[1-9](\.[0-9]*[1-9])?E[+-][0-9]{2,3})");

std::size_t SignificantDigits(std::string_view mantissa) {
  std::string digits;
  std::copy_if(mantissa.begin(), mantissa.end(), std::back_inserter(digits),
               [](char c) { return c >= '0' && c <= '9'; });
  const std::size_t lead = digits.find_first_not_of('0');
  return lead == std::string::npos ? 0 : digits.size() - lead;
}

// Plain text has at most 15 digits after the point and stays below 1E+15.
bool IsPlainNumber(std::string_view s) {
  const std::size_t point = s.find('.');
  const std::size_t decimals = point == std::string_view::npos ? 0 : s.size() - point - 1;
  return SignificantDigits(s) <= 15 && decimals <= 15 && s != "-0";
}

// Exponent form only where plain text would not do: from 1E+15, or too small.
bool IsExponentNumber(std::string_view s) {
  const std::size_t e = s.find('E');
  const std::string_view exponentText = s.substr(e + (s[e + 1] == '+' ? 2 : 1));
  int exponent = 0;
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  const std::size_t digits = SignificantDigits(s.substr(0, e));
  const bool plainTooLong = exponent < 0 && static_cast<int>(digits) - exponent - 1 > 15;
  return digits <= 15 && (exponent >= 15 || plainTooLong);
}

bool IsNumberText(const std::string& s) {
  if (std::regex_match(s, kPlain)) return IsPlainNumber(s);
  return std::regex_match(s, kExponent) && IsExponentNumber(s);
}

void Fail(const char* what, std::string_view in, const std::string& out) {
  std::fprintf(stderr, "%s: in \"%.*s\" out \"%s\"\n", what, static_cast<int>(in.size()),
               in.data(), out.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string out = quadsum::DottedToIntegerText(in);
  if (!out.empty() && !IsNumberText(out)) Fail("not a number text", in, out);
  if (!out.empty() && std::count(in.begin(), in.end(), '.') < 3) Fail("fewer than 3 periods", in, out);
  const auto number = quadsum::LeadingNumber(in);
  if (number && !std::isfinite(*number)) Fail("non-finite segment", in, std::to_string(*number));
  return 0;
}
