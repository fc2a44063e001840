#pragma once

// One value of the console program to its output text: an address to its
// integer or an integer to its address.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quadsum_cli {

enum class Direction { Auto, ToInteger, ToAddress };

struct Options {
  Direction direction = Direction::Auto;
  bool lenient = false;  // addresses as the window reads them
  bool hex = false;      // integers as 0x and 8 lower-case digits
};

enum class Verdict { Converted, Blank, BadAddress, BadInteger, Unrecognized };

struct Result {
  Verdict verdict;
  char* end;  // end of the text written; meaningful only when Converted
};

// Room Convert needs at out: the longest display form of a double fits.
inline constexpr std::size_t kMaxConvertedLength = 32;

// Converts one value (a line without its LF) and writes the text at out.
// Blanks (space, tab) around the value and one CR at its end are ignored;
// nothing but those is Blank. In Auto direction a value with a period is an
// address; decimal digits or "0x" and hex digits are an integer.
Result Convert(std::string_view value, const Options& options, char* out);

// Writes the integer in decimal or as 0x and 8 lower-case hex digits at out
// (room for 10 bytes) and returns the end.
char* WriteInteger(std::uint32_t value, bool hex, char* out);

// The value as Convert reads it: without the CR and the blanks around it.
std::string_view Trimmed(std::string_view value);

}  // namespace quadsum_cli
