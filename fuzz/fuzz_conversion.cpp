// Any text gives a number text or "": never a crash, an exception or a
// malformed number. Aborts on the first output the checks below reject.

#include "core/conversion.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Plain: "0", or digits without a leading zero, or "0.ddd"; a fraction never
// ends in 0. Exponent form: "d.dddE+XX" (two or three exponent digits) with a
// nonzero lead digit. Either may start with '-'.
bool IsNumberText(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  const auto digitsEnd = [&](std::size_t from) {
    while (from < text.size() && text[from] >= '0' && text[from] <= '9') ++from;
    return from;
  };
  const std::size_t whole = digitsEnd(0);
  if (whole == 0 || (text[0] == '0' && whole > 1)) return false;
  std::size_t at = whole;
  if (at < text.size() && text[at] == '.') {
    const std::size_t fraction = digitsEnd(at + 1);
    if (fraction == at + 1 || text[fraction - 1] == '0') return false;
    at = fraction;
  }
  if (at == text.size()) return true;
  if (whole != 1 || text[0] == '0' || text.substr(at, 1) != "E" || at + 1 == text.size() ||
      (text[at + 1] != '+' && text[at + 1] != '-')) {
    return false;
  }
  const std::size_t exponent = digitsEnd(at + 2) - (at + 2);
  return at + 2 + exponent == text.size() && exponent >= 2 && exponent <= 3;
}

void Fail(const char* what, std::string_view in, const std::string& out) {
  std::fprintf(stderr, "%s: in \"%.*s\" out \"%s\"\n", what, static_cast<int>(in.size()), in.data(),
               out.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string out = quadsum::DottedToIntegerText(in);
  if (out.empty()) return 0;
  if (std::count(in.begin(), in.end(), '.') < 3) Fail("fewer than 3 periods", in, out);
  if (!IsNumberText(out) || out == "-0") Fail("not a number text", in, out);
  // Read back, the text gives itself again: 15 digits at most, and each
  // value has one form (plain below 1E+15 and while 15 decimals do).
  if (quadsum::NumberText(std::strtod(out.c_str(), nullptr)) != out) Fail("not its own form", in, out);
  return 0;
}
