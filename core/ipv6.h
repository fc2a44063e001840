#pragma once

// IPv6 text and 128-bit numbers in both directions, for the console
// program, beside the strict IPv4 parse. Portable: no Windows header.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/uint128.h"

namespace quadsum {

// Eight groups of 1 to 4 hex digits (either case) separated by ':', with
// at most one "::" standing for one or more zero groups, and optionally a
// strict dotted IPv4 address in place of the last two groups. Nothing else:
// no zone, no blanks.
std::optional<Uint128> ParseIpv6(std::string_view text);

// Longest text of a 128-bit number: IPv6 text in full and the decimal of
// 2^128 - 1 both take 39 bytes.
inline constexpr std::size_t kMaxNumberLength = 39;
// Room WriteIpv6 and the number writers below need at out.
inline constexpr std::size_t kIpv6Room = kMaxNumberLength + 1;

// The address in the recommended text form: lower case, no leading zeros in
// a group, the longest run of two or more zero groups (the first when tied)
// as "::", IPv4-mapped addresses as ::ffff:a.b.c.d, all others in hex
// groups. Returns the end.
char* WriteIpv6(Uint128 address, char* out);

// An integer as written: its value, and whether it was written as 0x and
// more than 8 hex digits, which makes it IPv6 whatever its value.
struct IntegerText {
  Uint128 value;
  bool longHex;
};

// The one integer grammar of the console program: decimal digits with a
// value below 2^128, or "0x" and 1 to 32 hex digits (either case). No sign,
// no blanks. Leading zeros are allowed: an integer has no octal reading here.
std::optional<IntegerText> ParseInteger(std::string_view text);

// The one rule for an integer's family: IPv6 when every integer is read as
// IPv6 (-6), when written with more than 8 hex digits, or when above
// 4294967295; else IPv4.
constexpr bool IsIpv6Integer(const IntegerText& integer, bool ipv6Integers) {
  return ipv6Integers || integer.longHex || integer.value.high() != 0 || integer.value.low() >> 32 != 0;
}

// Room the writers below need at out.
inline constexpr std::size_t kInteger128Room = kIpv6Room;

// Writes the number in decimal, or as 0x and `hexDigits` lower-case hex
// digits, at out and returns the end.
char* WriteDecimal(Uint128 value, char* out);
char* WriteHex(Uint128 value, unsigned hexDigits, char* out);

}  // namespace quadsum
