#include "cli/convert.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/conversion.h"

namespace quadsum_cli {
namespace {

using quadsum::IpValue;
using quadsum::Shape;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

Result Invalid(Verdict verdict, char* out) { return {verdict, out, {}}; }

// The window's integer box text for the value, "" when it shows nothing.
Result LenientToInteger(std::string_view value, char* out) {
  const std::string text = quadsum::DottedToIntegerText(value);
  if (text.empty() || text.size() > kMaxConvertedLength) return Invalid(Verdict::BadAddress, out);
  return {Verdict::Converted, std::copy(text.begin(), text.end(), out), {}};
}

// The window reads plain IPv4 only: addresses its own way, integers strictly.
Result Lenient(std::string_view value, const Options& options, char* out) {
  if (value.find(':') != std::string_view::npos || quadsum::ShapeOf(value, true) != Shape::Plain) {
    return Invalid(Verdict::NotPlainIpv4, out);
  }
  if (options.direction == Direction::ToInteger ||
      (options.direction == Direction::Auto && value.find('.') != std::string_view::npos)) {
    return LenientToInteger(value, out);
  }
  const IpValue read = quadsum::ReadIpValue(value, {options.direction == Direction::Auto, true, false});
  if (read.verdict != Verdict::Converted) return Invalid(read.verdict, out);
  if (read.bits != 32 || read.shape != Shape::Plain) return Invalid(Verdict::NotPlainIpv4, out);
  return {Verdict::Converted, quadsum::WriteAddress(read.first, 32, out), read};
}

// A plain value is written the other way from how it was read; the ends of
// a network or range as the direction asks, by default networks as integers
// and ranges the other way.
bool WrittenAsIntegers(const IpValue& value, Direction direction) {
  if (value.shape == Shape::Plain || direction == Direction::Auto) return value.shape == Shape::Network || !value.integer;
  return direction == Direction::ToInteger;
}

char* Write(const IpValue& value, const Options& options, char* out) {
  const bool integers = WrittenAsIntegers(value, options.direction);
  for (const quadsum::Uint128 end : {value.first, value.last}) {
    out = integers ? quadsum::WriteNumber(end, value.bits, options.hex, out) : quadsum::WriteAddress(end, value.bits, out);
    if (value.shape == Shape::Plain) break;
    *out++ = options.separator;
  }
  return value.shape == Shape::Plain ? out : out - 1;
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

std::size_t FieldsWritten(std::string_view value, const Options& options) {
  if (options.lenient || options.toCidr) return 1;
  return quadsum::ShapeOf(Trimmed(value), false) == Shape::Plain ? 1 : 2;
}

Result Convert(std::string_view value, const Options& options, char* out) {
  value = Trimmed(value);
  if (value.empty()) return Invalid(Verdict::Blank, out);
  if (options.lenient) return Lenient(value, options, out);
  const IpValue read = quadsum::ReadIpValue(
      value, {options.direction != Direction::ToAddress, options.direction != Direction::ToInteger, options.ipv6});
  if (read.verdict != Verdict::Converted) return Invalid(read.verdict, out);
  if (options.toCidr) {
    return read.shape == Shape::Plain ? Invalid(Verdict::NotSpan, out) : Result{Verdict::Converted, out, read};
  }
  return {Verdict::Converted, Write(read, options, out), read};
}

}  // namespace quadsum_cli
