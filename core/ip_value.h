#pragma once

// One value of an IP-number file: an IPv4 or IPv6 address, an integer, a
// network ADDRESS/LEN or a range FIRST-LAST, read into the span of numbers
// it stands for; and the fewest networks covering a span. Portable: no
// Windows header.

#include <cstddef>
#include <string_view>

#include "core/ipv6.h"
#include "core/uint128.h"

namespace quadsum {

enum class Verdict {
  Converted, Blank,
  LeadingZero,     // a decimal part of an address or length written with a leading zero
  BadAddress,      // not a strict IPv4 address
  BadIpv6,         // not IPv6 text
  BadInteger,      // not an integer below 2^128
  LongHex,         // 0x and more than 32 hex digits
  Unrecognized,    // neither address nor integer
  BadLength,       // network length beyond the family's bits, or not a number
  LongLength,      // network length of more than 3 digits
  BadMask,         // a dotted netmask that is not ones then zeros
  IntegerNetwork,  // an integer before '/'
  Reversed,        // range first above last
  TwoFamilies,     // range ends IPv4 and IPv6
  TwoKinds,        // range ends an address and an integer
  BlankInside,     // blanks inside a network or range
  NotSpan,         // a plain value where a network or range is needed
  NotPlainIpv4,    // a network, range or IPv6 value where only plain IPv4 is read
};

enum class Shape { Plain, Network, Range };

// The shape a value (without blanks around it) is meant as, valid or not.
// Strictly, a network when it holds '/' and else a range when it holds '-'
// after its first byte. Leniently, as the window reads text: '-' there is
// also a sign (after '.', a blank or an exponent's 'e'), so only a '-' after
// a digit marks a range.
Shape ShapeOf(std::string_view value, bool lenient);

struct IpValue {
  Verdict verdict = Verdict::Converted;
  Shape shape = Shape::Plain;  // as ShapeOf reads it strictly, also when invalid
  bool integer = false;  // written as integers, not addresses
  unsigned bits = 32;    // the family: 32 or 128
  Uint128 first, last;   // equal for a plain value
};

// How a plain value may be read; networks and ranges are always read by
// their own shape, each end as an unrestricted plain value.
struct Reading {
  bool addresses = true;     // a value with '.' or ':'
  bool integers = true;      // decimal digits, or 0x and hex digits
  bool ipv6Integers = false; // every integer is an IPv6 number
};

// The value, without blanks around it, by its strict shape. Addresses and
// network lengths are read as inet_pton reads them: a decimal part with a
// leading zero is refused, with a verdict of its own that wins over any
// other. A network's length may be a dotted IPv4 netmask, ones then zeros.
// Integers are decimal (leading zeros allowed) or hex, in the family core's
// integer rule gives.
IpValue ReadIpValue(std::string_view text, const Reading& reading);

// The length after a network's '/' for a family of the given bits: up to 3
// decimal digits, no leading zero, at most the bits; or for IPv4 a dotted
// netmask whose ones come before its zeros. Converted, or what is wrong.
Verdict ReadNetworkLength(std::string_view text, unsigned bits, unsigned& length);

// Room the writers below need at out: the longest IPv6 text or number.
inline constexpr std::size_t kNumberRoom = kMaxNumberLength + 1;

// A number of the family (bits 32 or 128) as its address text, or as an
// integer: decimal, or 0x and 8 or 32 lower-case hex digits.
char* WriteAddress(Uint128 value, unsigned bits, char* out);
char* WriteNumber(Uint128 value, unsigned bits, bool hex, char* out);

// Room a network "ADDRESS/LEN" needs.
inline constexpr std::size_t kNetworkRoom = kNumberRoom + 4;

// The fewest networks that cover first to last exactly, in order.
class Networks {
 public:
  Networks(Uint128 first, Uint128 last, unsigned bits) : next_(first), last_(last), bits_(bits) {}
  bool done() const { return done_; }
  // Writes the next network as ADDRESS/LEN at out (kNetworkRoom bytes) and
  // returns the end; only while not done().
  char* WriteNext(char* out);

 private:
  Uint128 next_, last_;
  unsigned bits_;
  bool done_ = false;
};

// Calls line(text) with the "ADDRESS/LEN" text of each of the fewest
// networks covering first to last, in order.
template <class Line>
void ForEachNetwork(Uint128 first, Uint128 last, unsigned bits, Line&& line) {
  char text[kNetworkRoom];
  for (Networks networks(first, last, bits); !networks.done();) line(std::string_view(text, networks.WriteNext(text)));
}

}  // namespace quadsum
