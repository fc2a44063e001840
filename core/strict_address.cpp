#include "core/strict_address.h"

#include <array>
#include <cstring>

namespace quadsum {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

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

std::optional<std::uint32_t> HexInteger(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const int digit = HexValue(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return value;
}

// Any number of digits (leading zeros too) as long as the value fits.
std::optional<std::uint32_t> DecimalInteger(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  while (digits.size() > 1 && digits[0] == '0') digits.remove_prefix(1);
  if (digits.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

// One part of 1 to 3 digits at p, at most 255; p moves past it.
std::optional<std::uint32_t> AddressPart(const char*& p, const char* end) {
  const char* const start = p;
  std::uint32_t value = 0;
  while (p != end && IsDigit(*p) && p - start < 3) value = value * 10 + static_cast<std::uint32_t>(*p++ - '0');
  if (p == start || value > 255) return std::nullopt;
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

std::optional<std::uint32_t> ParseAddressInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && text[1] == 'x') return HexInteger(text.substr(2));
  return DecimalInteger(text);
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
