#pragma once

// One number alone on a line, read straight from a block of input and
// written straight to output: the routines of quadsum-cli's one-pass loop.
// Each comes as twins with one contract: a portable one, and on x86 (GCC or
// clang) an SSSE3 one, faster on bulk input (number_lines_ssse3.h), run only
// where HasSsse3(). A line ends with LF, or CR LF; a parse returns the
// line's length with them, or 0 when the line is not of its shape.
// Portable: no Windows header.

#include <cstddef>
#include <cstdint>

#include "core/ipv6.h"
#include "core/uint128.h"

namespace quadsum {

// Bytes of one vector register: a short line, an IPv4 address or integer,
// its CR and LF fit in one.
inline constexpr std::size_t kShortLine = 16;
// The longest line the parses of long lines read: three vectors, room for
// the longest number text, a CR and the LF.
inline constexpr std::size_t kLongLine = 3 * kShortLine;
static_assert(kMaxNumberLength + 2 <= kLongLine);

namespace portable {

// A strict IPv4 address (ParseStrictAddress), with kShortLine bytes
// readable at p.
std::size_t AddressLine(const char* p, std::uint32_t& address);
// 1 to 10 decimal digits of a value below 2^32 (leading zeros allowed),
// with kShortLine bytes readable at p.
std::size_t IntegerLine(const char* p, std::uint32_t& integer);
// The value's decimal digits; writes up to kShortLine bytes at out and
// returns the end of the digits.
char* WriteDecimal32(std::uint32_t value, char* out);

// IPv6 text in full: eight groups of 1 to 4 hex digits (either case) and
// seven ':', no "::" and no dotted tail, with kLongLine bytes readable at p.
std::size_t Ipv6Line(const char* p, Uint128& value);
// 1 to kMaxNumberLength decimal digits of a value below 2^128 (leading
// zeros allowed), with kLongLine bytes readable at p.
std::size_t DecimalLine(const char* p, Uint128& value);
// As WriteDecimal (kNumberRoom bytes at out).
char* WriteDecimal128(Uint128 value, char* out);

}  // namespace portable

}  // namespace quadsum

#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
#define QUADSUM_SSSE3 1
#include "core/number_lines_ssse3.h"
#else
#define QUADSUM_SSSE3 0
#endif
