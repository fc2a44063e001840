#include "core/ip_value.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <system_error>

#include "core/ipv6.h"
#include "core/strict_address.h"

namespace quadsum {
namespace {

bool Holds(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

bool LooksLikeInteger(std::string_view text) {
  const bool hex = text.size() > 1 && text[0] == '0' && text[1] == 'x';
  return hex || std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

IpValue Invalid(Verdict verdict) {
  IpValue value;
  value.verdict = verdict;
  return value;
}

IpValue Number(Uint128 number, bool integer, unsigned bits) {
  return {Verdict::Converted, Shape::Plain, integer, bits, number, number};
}

IpValue Address(std::string_view text) {
  if (Holds(text, ':')) {
    const auto address = ParseIpv6(text);
    return address ? Number(*address, false, 128) : Invalid(Verdict::BadIpv6);
  }
  const auto address = ParseStrictAddress(text);
  return address ? Number(Uint128(0, *address), false, 32) : Invalid(Verdict::BadAddress);
}

IpValue Plain(std::string_view text, const Reading& reading) {
  if (reading.addresses && (!reading.integers || Holds(text, '.') || Holds(text, ':'))) return Address(text);
  if (reading.addresses && !LooksLikeInteger(text)) return Invalid(Verdict::Unrecognized);
  const auto integer = ParseInteger(text);
  if (!integer) return Invalid(Verdict::BadInteger);
  return Number(integer->value, true, IsIpv6Integer(*integer, reading.ipv6Integers) ? 128 : 32);
}

// The numbers below the family's top that are not fixed by a network of
// the given length.
Uint128 HostMask(unsigned bits, unsigned length) {
  if (length == 128) return {};
  return (bits == 32 ? Uint128(0, 0xFFFFFFFF) : Uint128::Max()) >> length;
}

IpValue Network(std::string_view address, std::string_view length) {
  if (!Holds(address, '.') && !Holds(address, ':') && !address.empty() && LooksLikeInteger(address)) {
    return Invalid(Verdict::IntegerNetwork);
  }
  IpValue value = Address(address);
  if (value.verdict != Verdict::Converted) return value;
  unsigned n = 0;
  const char* const end = length.data() + length.size();
  const auto [stop, error] = std::from_chars(length.data(), end, n);
  if (length.empty() || length.size() > 3 || error != std::errc() || stop != end || n > value.bits) {
    return Invalid(Verdict::BadLength);
  }
  const Uint128 host = HostMask(value.bits, n);
  value.shape = Shape::Network;
  value.first = value.first & ~host;
  value.last = value.first | host;
  return value;
}

IpValue Range(std::string_view first, std::string_view last, bool ipv6Integers) {
  const Reading ends{true, true, ipv6Integers};
  IpValue value = Plain(first, ends);
  const IpValue end = Plain(last, ends);
  if (value.verdict != Verdict::Converted) return value;
  if (end.verdict != Verdict::Converted) return end;
  if (value.integer != end.integer) return Invalid(Verdict::TwoKinds);
  if (value.bits != end.bits) return Invalid(Verdict::TwoFamilies);
  if (value.first > end.first) return Invalid(Verdict::Reversed);
  value.shape = Shape::Range;
  value.last = end.first;
  return value;
}

}  // namespace

IpValue ReadIpValue(std::string_view text, const Reading& reading) {
  if (text.empty()) return Invalid(Verdict::Blank);
  const std::size_t slash = text.find('/'), dash = text.find('-', 1);
  const bool span = slash != std::string_view::npos || dash != std::string_view::npos;
  if (span && text.find_first_of(" \t") != std::string_view::npos) return Invalid(Verdict::BlankInside);
  if (slash != std::string_view::npos) return Network(text.substr(0, slash), text.substr(slash + 1));
  if (dash != std::string_view::npos) return Range(text.substr(0, dash), text.substr(dash + 1), reading.ipv6Integers);
  return Plain(text, reading);
}

char* WriteAddress(Uint128 value, unsigned bits, char* out) {
  return bits == 32 ? WriteDotted(static_cast<std::uint32_t>(value.low()), out) : WriteIpv6(value, out);
}

char* WriteNumber(Uint128 value, unsigned bits, bool hex, char* out) {
  if (hex) return WriteHex(value, bits / 4, out);
  return bits == 32 ? std::to_chars(out, out + 10, value.low()).ptr : WriteDecimal(value, out);
}

// Each network is the largest block that starts at the next number (so is
// aligned to it) and ends no later than the last.
char* Networks::WriteNext(char* out) {
  const Uint128 rest = last_ - next_;  // numbers left, less one
  const unsigned fits = rest == Uint128::Max() ? 128 : BitWidth(rest + Uint128(0, 1)) - 1;
  const unsigned size = std::min({CountTrailingZeros(next_), bits_, fits});  // log2 of the block
  out = WriteAddress(next_, bits_, out);
  *out++ = '/';
  out = std::to_chars(out, out + 3, bits_ - size).ptr;
  const Uint128 blockLast = next_ + (size == 128 ? Uint128::Max() : (Uint128(0, 1) << size) - Uint128(0, 1));
  done_ = blockLast == last_;
  next_ = blockLast + Uint128(0, 1);
  return out;
}

}  // namespace quadsum
