#pragma once

// Exact conversions between doubles and decimal text, both correctly
// rounded with ties to even. The C library's printf and strtod do the same,
// but mingw-w64's versions add about 50 KB to a static exe; these work on a
// small big integer instead and cost a few KB. Portable: no Windows header.

#include <string>
#include <string_view>

namespace quadsum {

struct RoundedDecimal {
  std::string digits;  // significant digits, no trailing zeros, at least one
  int exponent = 0;    // of the first digit: value = d.ddd x 10^exponent
};

// A positive finite value rounded to `significant` digits (1 to 17): the
// digits and exponent printf("%.*e", significant - 1, value) prints.
RoundedDecimal RoundToDecimal(double value, int significant);

// The double nearest the decimal number in text: digits with at most one
// '.', at least one digit in all, then optionally 'e' or 'E', a sign and
// digits. No sign in front, no blanks. Infinity beyond the double range, 0
// below half the smallest denormal, as strtod gives.
double ParseDecimal(std::string_view number);

}  // namespace quadsum
