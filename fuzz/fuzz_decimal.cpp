// The exact decimal conversions against glibc's printf and strtod, which
// round correctly too: the first 8 bytes are a double to print (and its
// printed text to parse back), one more byte its digit count, the rest
// (mapped onto number characters) a text to parse. Aborts on the first
// difference.

#include "core/decimal.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Only texts of the grammar ParseDecimal takes: all of it read by strtod, no sign.
void CheckParse(const std::string& text) {
  char* end = nullptr;
  const double expected = std::strtod(text.c_str(), &end);
  if (text.empty() || text[0] == '+' || text[0] == '-' || *end != '\0') return;
  const double ours = quadsum::ParseDecimal(text);
  if (std::bit_cast<std::uint64_t>(ours) != std::bit_cast<std::uint64_t>(expected)) {
    std::fprintf(stderr, "%s parsed as %.17g, strtod %.17g\n", text.c_str(), ours, expected);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  std::uint64_t pattern = 0;
  std::memcpy(&pattern, data, 8);
  const double value = std::abs(std::bit_cast<double>(pattern));
  const int significant = 1 + data[8] % 17;
  if (std::isfinite(value) && value != 0) {
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.*e", significant - 1, value);
    std::string digits(printed, std::strchr(printed, 'e'));
    digits.erase(1, 1).erase(digits.find_last_not_of("0.") + 1);  // "d.ddd00" to "dddd"
    const auto ours = quadsum::RoundToDecimal(value, significant);
    if (ours.digits != digits || ours.exponent != std::atoi(std::strchr(printed, 'e') + 1)) {
      std::fprintf(stderr, "%s printed as %s e%d\n", printed, ours.digits.c_str(), ours.exponent);
      std::abort();
    }
    CheckParse(printed);
  }
  std::string text;
  for (std::size_t i = 9; i < size; ++i) text.push_back("0123456789.eE+-9"[data[i] % 16]);
  CheckParse(text);
  return 0;
}
