#include "cli/common_lines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "core/ip_value.h"
#include "core/ipv6.h"
#include "core/number_lines.h"
#include "core/strict_address.h"

#if QUADSUM_SSSE3
#define QUADSUM_INLINE __attribute__((always_inline)) inline
#define QUADSUM_NOINLINE __attribute__((noinline))
#else
#define QUADSUM_TARGET_SSSE3
#define QUADSUM_INLINE inline
#define QUADSUM_NOINLINE
#endif

namespace quadsum_cli {
namespace {

using quadsum::kLongLine;
using quadsum::kShortLine;

// The routines of one pass, portable or SSSE3 twins (core/number_lines.h).
using ShortParser = std::size_t (*)(const char* p, std::uint32_t& value);
using ShortWriter = char* (*)(std::uint32_t value, char* out);
using LongParser = std::size_t (*)(const char* p, quadsum::Uint128& value);
using LongWriter = char* (*)(quadsum::Uint128 value, char* out);

// A line converted at out: its length with the LF (0 when not taken) and
// the end of the text written. Returned, not written through a reference,
// so that out stays in a register in the loop.
struct Taken {
  std::size_t length;
  char* out;
};

// A '.' in bytes 1 to 3 of a line (kShortLine readable) that the IPv4
// parses refused marks an IPv4 network or range (or rarely IPv6 text like
// ::1.2.3.4): left to Convert at once, not looked for an LF and read.
bool DotEarly(const char* p) { return (p[1] == '.') | (p[2] == '.') | (p[3] == '.'); }

// An integer written as Convert writes it, in the family core's rule gives.
char* WriteIntegerAddress(const quadsum::IntegerText& integer, const Options& options, char* out) {
  return quadsum::WriteAddress(integer.value, quadsum::IsIpv6Integer(integer, options.ipv6) ? 128 : 32, out);
}

// An IPv6 address in any form or an integer of any size alone on the line
// at p (before end, kShortLine readable, the line within kLongLine), written
// at out as Convert writes a plain value that has no blanks to trim.
QUADSUM_NOINLINE Taken OtherLongLine(const char* p, const char* end, const Options& options, char* out) {
  const auto* lf = static_cast<const char*>(std::memchr(p, '\n', std::min<std::size_t>(end - p, kLongLine)));
  if (!lf) return {0, out};
  std::string_view value(p, static_cast<std::size_t>(lf - p));
  if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
  if (value.find(':') != std::string_view::npos) {
    const auto address = options.direction != Direction::ToAddress ? quadsum::ParseIpv6(value) : std::nullopt;
    if (!address) return {0, out};
    out = quadsum::WriteNumber(*address, 128, options.hex, out);
  } else {
    const auto integer = options.direction != Direction::ToInteger && value.find('.') == std::string_view::npos
                             ? quadsum::ParseInteger(value) : std::nullopt;
    if (!integer) return {0, out};
    out = WriteIntegerAddress(*integer, options, out);
  }
  return {static_cast<std::size_t>(lf - p) + 1, out};
}

// A line longer than the IPv4 parses take: IPv6 text in full and decimal
// integers by the twins when kLongLine bytes are readable, every other
// plain IPv6 or integer line by OtherLongLine.
template <LongParser ParseIpv6Line, LongParser ParseDecimalLine, LongWriter WriteDecimal128>
QUADSUM_INLINE Taken LongLine(const char* p, const char* end, const Options& options, char* out) {
  if (DotEarly(p) || options.lenient || options.toCidr) return {0, out};
  quadsum::Uint128 value;
  if (end - p >= static_cast<std::ptrdiff_t>(kLongLine)) {
    if (std::size_t length; options.direction != Direction::ToAddress && (length = ParseIpv6Line(p, value))) {
      return {length, options.hex ? quadsum::WriteHex(value, 32, out) : WriteDecimal128(value, out)};
    }
    if (std::size_t length; options.direction != Direction::ToInteger && (length = ParseDecimalLine(p, value))) {
      return {length, WriteIntegerAddress({value, false}, options, out)};
    }
  }
  return OtherLongLine(p, end, options, out);
}

// LongLine on either twins, out of the IPv4 loop's way, so that it stays as
// tight as it was alone.
QUADSUM_NOINLINE Taken LongLinePortable(const char* p, const char* end, const Options& options, char* out) {
  namespace portable = quadsum::portable;
  return LongLine<portable::Ipv6Line, portable::DecimalLine, portable::WriteDecimal128>(p, end, options, out);
}
#if QUADSUM_SSSE3
namespace fast = quadsum::ssse3;
QUADSUM_TARGET_SSSE3 QUADSUM_NOINLINE Taken LongLineSsse3(const char* p, const char* end, const Options& options, char* out) {
  return LongLine<fast::Ipv6Line, fast::DecimalLine, fast::WriteDecimal128>(p, end, options, out);
}
#endif

using LongConverter = Taken (*)(const char* p, const char* end, const Options& options, char* out);

// Writes lines while they parse; addresses print as integers, integers as
// addresses. Inlined into each caller so that the parsers inline too.
template <ShortParser ParseAddressLine, ShortParser ParseIntegerLine, ShortWriter WriteDecimal32, LongConverter ConvertLong>
QUADSUM_INLINE CommonLines ConvertLinesWith(std::string_view in, const Options& options, char* out, char* outEnd) {
  // Under --to-cidr no plain value converts; under -6 no integer is IPv4.
  const bool addresses = !options.lenient && !options.toCidr && options.direction != Direction::ToAddress;
  const bool integers = !options.ipv6 && !options.toCidr && options.direction != Direction::ToInteger;
  const char* p = in.data();
  const char* const end = p + in.size();
  std::size_t lines = 0;
  bool full = false;
  while (end - p >= static_cast<std::ptrdiff_t>(kShortLine)) {
    if (outEnd - out < static_cast<std::ptrdiff_t>(kCommonLineRoom)) {
      full = true;
      break;
    }
    std::uint32_t value = 0;
    std::size_t length = 0;
    if (addresses && (length = ParseAddressLine(p, value))) {
      out = options.hex ? WriteInteger(value, true, out) : WriteDecimal32(value, out);
    } else if (integers && (length = ParseIntegerLine(p, value))) {
      out = quadsum::WriteDotted(value, out);
    } else if (const Taken taken = ConvertLong(p, end, options, out); taken.length) {
      length = taken.length, out = taken.out;
    } else {
      break;
    }
    *out++ = '\n';
    p += length;
    ++lines;
  }
  return {static_cast<std::size_t>(p - in.data()), lines, out, full};
}

#if QUADSUM_SSSE3
QUADSUM_TARGET_SSSE3 CommonLines ConvertSsse3(std::string_view in, const Options& options, char* out, char* outEnd) {
  return ConvertLinesWith<fast::AddressLine, fast::IntegerLine, fast::WriteDecimal32, LongLineSsse3>(in, options, out, outEnd);
}
#endif

}  // namespace

CommonLines ConvertCommonLines(std::string_view in, const Options& options, char* out, char* outEnd, LineParse parse) {
#if QUADSUM_SSSE3
  if (parse == LineParse::Fastest && quadsum::HasSsse3()) return ConvertSsse3(in, options, out, outEnd);
#endif
  namespace portable = quadsum::portable;
  return ConvertLinesWith<portable::AddressLine, portable::IntegerLine, portable::WriteDecimal32, LongLinePortable>(
      in, options, out, outEnd);
}

}  // namespace quadsum_cli
