#include "core/ip_value.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <optional>

#include "core/ipv6.h"
#include "core/strict_address.h"

namespace quadsum {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool Holds(std::string_view text, char c) { return text.find(c) != kNone; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }

bool LooksLikeInteger(std::string_view text) {
  const bool hex = text.size() > 1 && text[0] == '0' && text[1] == 'x';
  return hex || std::all_of(text.begin(), text.end(), IsDigit);
}

// A decimal part written with a leading zero: a '0' and a digit at the start
// of the text or after a '.'.
bool LeadingZeroPart(std::string_view parts) {
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    if (parts[i] == '0' && (i == 0 || parts[i - 1] == '.') && IsDigit(parts[i + 1])) return true;
  }
  return false;
}

// The decimal parts of a plain value: those of a dotted address, or of the
// dotted tail of IPv6 text. Integers have none.
bool LeadingZeroInAddress(std::string_view text) {
  if (!Holds(text, '.')) return false;
  const std::size_t colon = text.rfind(':');
  return LeadingZeroPart(colon == kNone ? text : text.substr(colon + 1));
}

bool LeadingZeroIn(std::string_view text, Shape shape) {
  const std::size_t split = text.find(shape == Shape::Network ? '/' : '-', 1);
  if (shape == Shape::Plain || split == kNone) return LeadingZeroInAddress(text);
  const std::string_view first = text.substr(0, split), second = text.substr(split + 1);
  return LeadingZeroInAddress(first) || (shape == Shape::Network ? LeadingZeroPart(second) : LeadingZeroInAddress(second));
}

IpValue Invalid(Verdict verdict) {
  IpValue value;
  value.verdict = verdict;
  return value;
}

IpValue Number(Uint128 number, bool integer, unsigned bits) {
  return {Verdict::Converted, Shape::Plain, integer, bits, number, number};
}

// IPv4 is tried first: the common case then needs no search for a ':',
// which no IPv4 address holds.
IpValue Address(std::string_view text) {
  if (const auto address = ParseStrictAddress(text)) return Number(Uint128(0, *address), false, 32);
  if (!Holds(text, ':')) return Invalid(Verdict::BadAddress);
  const auto address = ParseIpv6(text);
  return address ? Number(*address, false, 128) : Invalid(Verdict::BadIpv6);
}

// "0x" and more hex digits than 128 bits hold: an integer too long, not a
// malformed one.
bool LongHex(std::string_view text) {
  return text.size() > 34 && text[1] == 'x' && std::all_of(text.begin() + 2, text.end(), IsHexDigit);
}

IpValue Plain(std::string_view text, const Reading& reading) {
  if (reading.addresses && (!reading.integers || Holds(text, '.') || Holds(text, ':'))) return Address(text);
  if (reading.addresses && !LooksLikeInteger(text)) return Invalid(Verdict::Unrecognized);
  const auto integer = ParseInteger(text);
  if (!integer) return Invalid(LongHex(text) ? Verdict::LongHex : Verdict::BadInteger);
  return Number(integer->value, true, IsIpv6Integer(*integer, reading.ipv6Integers) ? 128 : 32);
}

// The numbers below the family's top that are not fixed by a network of
// the given length.
Uint128 HostMask(unsigned bits, unsigned length) {
  if (length == 128) return {};
  return (bits == 32 ? Uint128(0, 0xFFFFFFFF) : Uint128::Max()) >> length;
}

IpValue Network(std::string_view address, std::string_view lengthText) {
  if (!address.empty() && LooksLikeInteger(address) && !Holds(address, '.') && !Holds(address, ':')) {
    return Invalid(Verdict::IntegerNetwork);
  }
  IpValue value = Address(address);
  if (value.verdict != Verdict::Converted) return value;
  unsigned length = 0;
  if (const Verdict verdict = ReadNetworkLength(lengthText, value.bits, length); verdict != Verdict::Converted) {
    return Invalid(verdict);
  }
  const Uint128 host = HostMask(value.bits, length);
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

IpValue Read(std::string_view text, Shape shape, const Reading& reading) {
  if (shape != Shape::Plain && text.find_first_of(" \t") != kNone) return Invalid(Verdict::BlankInside);
  if (shape == Shape::Network) {
    const std::size_t slash = text.find('/');
    return Network(text.substr(0, slash), text.substr(slash + 1));
  }
  if (shape == Shape::Range) {
    const std::size_t dash = text.find('-', 1);
    return Range(text.substr(0, dash), text.substr(dash + 1), reading.ipv6Integers);
  }
  return Plain(text, reading);
}

}  // namespace

Shape ShapeOf(std::string_view value, bool lenient) {
  if (Holds(value, '/')) return Shape::Network;
  for (std::size_t i = value.find('-', 1); i != kNone; i = value.find('-', i + 1)) {
    if (!lenient || IsDigit(value[i - 1])) return Shape::Range;
  }
  return Shape::Plain;
}

// Digits, the common case, are read first: a netmask holds a '.', which
// no length does.
Verdict ReadNetworkLength(std::string_view text, unsigned bits, unsigned& length) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) {
    if (bits != 32 || !Holds(text, '.')) return Verdict::BadLength;
    const auto mask = ParseStrictAddress(text);
    const std::uint32_t hosts = mask ? ~*mask : 1;
    if (!mask || (hosts & (hosts + 1)) != 0) return Verdict::BadMask;
    length = static_cast<unsigned>(std::popcount(*mask));
    return Verdict::Converted;
  }
  if (text.size() > 1 && text[0] == '0') return Verdict::LeadingZero;
  if (text.size() > 3) return Verdict::LongLength;
  length = 0;
  for (const char digit : text) length = length * 10 + static_cast<unsigned>(digit - '0');
  return length > bits ? Verdict::BadLength : Verdict::Converted;
}

// One named result, returned on every path, so that it is built in the
// caller's place: a copy of it, made just after its stores, stalled.
IpValue ReadIpValue(std::string_view text, const Reading& reading) {
  const Shape shape = ShapeOf(text, false);
  IpValue value = text.empty() ? Invalid(Verdict::Blank) : Read(text, shape, reading);
  value.shape = shape;
  if (value.verdict != Verdict::Converted && LeadingZeroIn(text, shape)) value.verdict = Verdict::LeadingZero;
  return value;
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
