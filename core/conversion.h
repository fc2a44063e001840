#pragma once

// Dotted address text to one decimal integer, as the main window shows it.
// Portable: no Windows header. Text is UTF-8; a multi-byte UTF-8 sequence
// never holds '.' or an ASCII digit, so all scanning works on bytes.

#include <optional>
#include <string>
#include <string_view>

namespace quadsum {

// Text for the integer box from the address-box text: the weighted sum in its
// display form, or "" when the text holds fewer than three periods or the
// value leaves the double range. Parts are not range-checked ("256.0.0.0"
// gives 4294967296) and text after the third period is all segment four.
std::string DottedToIntegerText(std::string_view text);

// Leading-number parse of one segment; nullopt when the number it reads lies
// beyond the double range. Only pasting can bring anything but digits and
// '.', so for pasted text: leading blanks (space, tab) are skipped; one
// optional '+' or '-'; digits with at most one '.' as decimal point (whatever
// the locale); an exponent 'e'/'E' with optional sign only when digits follow.
// No radix prefixes ("0x1F" and "&H10" read 0), no inf/nan words. A value too
// small for a double reads 0: it is a number, just below what we can show.
// Anything that does not start a number reads 0.
std::optional<double> LeadingNumber(std::string_view segment);

// Display form of a double, rounded to 15 significant digits: plain digits
// below 1E+15, exponent form "d.dddE+XX" from 1E+15 (after rounding) on;
// fractions plain with "0." below 1, and small magnitudes plain while at most
// 15 digits after the point suffice ("0.000056789", but "5.6789E-12").
// Negative values get "-", negative zero prints "0", the decimal mark is
// always '.'. Infinity and NaN have no display form: "".
std::string NumberText(double value);

// Key filter: true for the characters typed into the address box that may
// pass (digits, '.', backspace 8). charCode is one UTF-16 unit.
bool IsAddressKey(int charCode);

}  // namespace quadsum
