#pragma once

// One value of the console program to its output text: an address to its
// integer or an integer to its address, IPv4 or IPv6; a network or range to
// its two ends.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/ip_value.h"

namespace quadsum_cli {

enum class Direction { Auto, ToInteger, ToAddress };

struct Options {
  Direction direction = Direction::Auto;
  bool lenient = false;  // addresses as the window reads them
  bool hex = false;      // integers as 0x and 8 (IPv4) or 32 (IPv6) lower-case digits
  bool ipv6 = false;     // every integer is an IPv6 number
  bool toCidr = false;   // networks and ranges as the fewest networks covering them
  char separator = '\t'; // between the two ends of a network or range
};

using quadsum::Verdict;

struct Result {
  Verdict verdict;
  char* end;  // end of the text written; meaningful only when Converted
  // What was read; under --to-cidr nothing is written, and the caller
  // writes the networks of this value.
  quadsum::IpValue value;
};

// Room Convert needs at out: two IPv6 ends, each with its writer's room, the
// first's spare byte taking the separator.
inline constexpr std::size_t kMaxConvertedLength = 2 * quadsum::kNumberRoom;

// Converts one value (a line without its LF) and writes the text at out.
// Blanks (space, tab) around the value and one CR at its end are ignored;
// nothing but those is Blank. In Auto direction a value with ':' or '.' is an
// address; decimal digits or "0x" and hex digits are an integer. --to-int and
// --to-ip fix how a plain value is read, and how the ends of a network or
// range are written.
Result Convert(std::string_view value, const Options& options, char* out);

// Writes the integer in decimal or as 0x and 8 lower-case hex digits at out
// (room for 10 bytes) and returns the end.
char* WriteInteger(std::uint32_t value, bool hex, char* out);

// The value as Convert reads it: without the CR and the blanks around it.
std::string_view Trimmed(std::string_view value);

// How many fields the value, valid or not, fills in a line under --field:
// two for the ends of a network or range, one for a plain value, and one
// under --lenient (plain values only) and --to-cidr (a line per network).
std::size_t FieldsWritten(std::string_view value, const Options& options);

}  // namespace quadsum_cli
