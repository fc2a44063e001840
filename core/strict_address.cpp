#include "core/strict_address.h"

#include <array>
#include <charconv>
#include <cstring>
#include <system_error>

namespace quadsum {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Each byte's decimal text followed by '.', in 4 bytes, and its digit count.
struct ByteText {
  char text[4];
  unsigned char digits;
};

constexpr std::array<ByteText, 256> kByteTexts = [] {
  std::array<ByteText, 256> texts{};
  for (unsigned value = 0; value < 256; ++value) {
    ByteText& t = texts[value];
    if (value >= 100) t.text[t.digits++] = static_cast<char>('0' + value / 100);
    if (value >= 10) t.text[t.digits++] = static_cast<char>('0' + value / 10 % 10);
    t.text[t.digits++] = static_cast<char>('0' + value % 10);
    t.text[t.digits] = '.';
  }
  return texts;
}();

// One part of 1 to 3 digits at p, at most 255, no leading zero; p moves
// past it.
std::optional<std::uint32_t> AddressPart(const char*& p, const char* end) {
  const char* const start = p;
  std::uint32_t value = 0;
  while (p != end && IsDigit(*p) && p - start < 3) value = value * 10 + static_cast<std::uint32_t>(*p++ - '0');
  if (p == start || value > 255 || (*start == '0' && p - start > 1)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::uint32_t> ParseStrictAddress(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  std::uint32_t address = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0 && (p == end || *p++ != '.')) return std::nullopt;
    const std::optional<std::uint32_t> value = AddressPart(p, end);
    if (!value) return std::nullopt;
    address = address << 8 | *value;
  }
  if (p != end) return std::nullopt;
  return address;
}

char* WriteDotted(std::uint32_t address, char* out) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    const ByteText& part = kByteTexts[(address >> shift) & 0xFF];
    std::memcpy(out, part.text, sizeof part.text);
    out += part.digits + (shift > 0);
  }
  return out;
}

std::string DottedText(std::uint32_t address) {
  char text[kDottedRoom];
  return std::string(text, WriteDotted(address, text));
}

}  // namespace quadsum
