#pragma once

// Strict IPv4 text in both directions, for the console program: dotted
// addresses and the integers they stand for. Unlike the window's conversion,
// nothing out of range or malformed is read as a number. Portable: no Windows
// header.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quadsum {

// Exactly four parts separated by '.', each 1 to 3 decimal digits with a
// value of at most 255 and no leading zero ("0" is a part, "00" and "010"
// are not): as inet_pton reads them, since other tools read "010" as octal
// 8 and the same text would name two hosts. Nothing else, not even blanks,
// is allowed.
std::optional<std::uint32_t> ParseStrictAddress(std::string_view text);

// Longest dotted text, "255.255.255.255", and the room WriteDotted needs at
// out: it writes whole 4-byte groups, so up to one byte past the text's end.
inline constexpr std::size_t kMaxDottedLength = 15;
inline constexpr std::size_t kDottedRoom = 16;

// Writes the dotted text of the address at out and returns its end.
char* WriteDotted(std::uint32_t address, char* out);
std::string DottedText(std::uint32_t address);

}  // namespace quadsum
