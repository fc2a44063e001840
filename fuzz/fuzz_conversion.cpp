// Any text gives a number text or "": never a crash, an exception or a
// malformed number. Aborts on the first output the checks below reject.

#include "core/conversion.h"

#include <algorithm>
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
const std::regex kShape(R"(-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?|-?[1-9](\.[0-9]*[1-9])?E[+-][0-9]{2,3})");

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
  if (!std::regex_match(out, kShape) || out == "-0") Fail("not a number text", in, out);
  // Read back, the text gives itself again: 15 digits at most, and each
  // value has one form (plain below 1E+15 and while 15 decimals do).
  if (quadsum::NumberText(std::strtod(out.c_str(), nullptr)) != out) Fail("not its own form", in, out);
  return 0;
}
