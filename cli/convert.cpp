#include "cli/convert.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/conversion.h"
#include "core/strict_address.h"

namespace quadsum_cli {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool LooksLikeInteger(std::string_view value) {
  const bool hex = value.size() > 1 && value[0] == '0' && value[1] == 'x';
  return hex || std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The window's integer box text for the value, "" when it shows nothing.
Result LenientToInteger(std::string_view value, char* out) {
  const std::string text = quadsum::DottedToIntegerText(value);
  if (text.empty() || text.size() > kMaxConvertedLength) return {Verdict::BadAddress, out};
  return {Verdict::Converted, std::copy(text.begin(), text.end(), out)};
}

Result ToInteger(std::string_view value, const Options& options, char* out) {
  if (options.lenient) return LenientToInteger(value, out);
  const auto address = quadsum::ParseStrictAddress(value);
  if (!address) return {Verdict::BadAddress, out};
  return {Verdict::Converted, WriteInteger(*address, options.hex, out)};
}

Result ToAddress(std::string_view value, char* out) {
  const auto address = quadsum::ParseAddressInteger(value);
  if (!address) return {Verdict::BadInteger, out};
  return {Verdict::Converted, quadsum::WriteDotted(*address, out)};
}

}  // namespace

char* WriteInteger(std::uint32_t value, bool hex, char* out) {
  if (!hex) return std::to_chars(out, out + 10, value).ptr;
  static constexpr char kDigits[] = "0123456789abcdef";
  *out++ = '0';
  *out++ = 'x';
  for (int shift = 28; shift >= 0; shift -= 4) *out++ = kDigits[(value >> shift) & 0xF];
  return out;
}

std::string_view Trimmed(std::string_view value) {
  if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
  while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
  while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
  return value;
}

Result Convert(std::string_view value, const Options& options, char* out) {
  value = Trimmed(value);
  if (value.empty()) return {Verdict::Blank, out};
  switch (options.direction) {
    case Direction::ToInteger: return ToInteger(value, options, out);
    case Direction::ToAddress: return ToAddress(value, out);
    case Direction::Auto: break;
  }
  if (std::memchr(value.data(), '.', value.size())) return ToInteger(value, options, out);
  if (LooksLikeInteger(value)) return ToAddress(value, out);
  return {Verdict::Unrecognized, out};
}

}  // namespace quadsum_cli
