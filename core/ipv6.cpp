#include "core/ipv6.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "core/strict_address.h"

namespace quadsum {
namespace {

// Each byte's hex digit value, -1 for others: a lookup, not branches that
// random digits and letters would mispredict.
constexpr std::array<signed char, 256> kHexDigits = [] {
  std::array<signed char, 256> digits{};
  for (int c = 0; c < 256; ++c) {
    digits[c] = c >= '0' && c <= '9'   ? static_cast<signed char>(c - '0')
                : c >= 'a' && c <= 'f' ? static_cast<signed char>(c - 'a' + 10)
                : c >= 'A' && c <= 'F' ? static_cast<signed char>(c - 'A' + 10)
                                       : -1;
  }
  return digits;
}();

int HexDigit(char c) { return kHexDigits[static_cast<unsigned char>(c)]; }

Uint128 FromGroups(const std::uint16_t (&groups)[8]) {
  std::uint64_t half[2] = {};
  for (int i = 0; i < 8; ++i) half[i / 4] = half[i / 4] << 16 | groups[i];
  return {half[0], half[1]};
}

// The groups as written, with the place of "::" (-1 when none).
struct WrittenGroups {
  std::uint16_t values[8] = {};
  int count = 0, gap = -1;
};

// One group of 1 to 4 hex digits at text[i], or a dotted tail (the rest of
// the text) for the last two groups; i moves past it.
bool ReadGroup(std::string_view text, std::size_t& i, WrittenGroups& g) {
  std::size_t digits = 0;
  unsigned value = 0;
  for (int d; digits < 5 && i + digits < text.size() && (d = HexDigit(text[i + digits])) >= 0; ++digits) {
    value = value * 16 + static_cast<unsigned>(d);
  }
  if (i + digits < text.size() && text[i + digits] == '.') {
    const auto dotted = ParseStrictAddress(text.substr(i));
    if (!dotted || g.count > 6) return false;
    g.values[g.count++] = static_cast<std::uint16_t>(*dotted >> 16);
    g.values[g.count++] = static_cast<std::uint16_t>(*dotted);
    i = text.size();
    return true;
  }
  if (digits == 0 || digits > 4 || g.count == 8) return false;
  g.values[g.count++] = static_cast<std::uint16_t>(value);
  i += digits;
  return true;
}

bool ReadGroups(std::string_view text, WrittenGroups& g) {
  std::size_t i = 0;
  if (text.substr(0, 2) == "::") g.gap = 0, i = 2;
  while (i < text.size()) {
    if (!ReadGroup(text, i, g)) return false;
    if (i == text.size()) break;
    if (text[i] != ':' || ++i == text.size()) return false;  // no single ':' at the end
    if (text[i] != ':') continue;
    if (g.gap >= 0) return false;
    g.gap = g.count;
    ++i;
  }
  return g.gap < 0 ? g.count == 8 : g.count < 8;
}

std::optional<std::uint64_t> Digits64(std::string_view text, int base) {
  std::uint64_t value = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// x * factor + addend, or nothing when it does not fit in 128 bits.
std::optional<Uint128> MultiplyAdd(Uint128 x, std::uint64_t factor, std::uint64_t addend) {
  const Uint128 low = Uint128::Product(x.low(), factor), high = Uint128::Product(x.high(), factor);
  const Uint128 product = low + Uint128(high.low(), 0);
  const Uint128 sum = product + Uint128(0, addend);
  if (high.high() != 0 || product < low || sum < product) return std::nullopt;
  return sum;
}

// Decimal digits in chunks of up to 19, each read as one 64-bit number.
std::optional<Uint128> Decimal128(std::string_view text) {
  if (text.empty()) return std::nullopt;
  Uint128 value;
  for (std::size_t length = (text.size() - 1) % 19 + 1; !text.empty(); length = 19) {
    std::uint64_t power = 1;
    for (std::size_t i = 0; i < length; ++i) power *= 10;
    const auto chunk = Digits64(text.substr(0, length), 10);
    const auto next = chunk ? MultiplyAdd(value, power, *chunk) : std::nullopt;
    if (!next) return std::nullopt;
    value = *next;
    text.remove_prefix(length);
  }
  return value;
}

std::optional<Uint128> Hex128(std::string_view digits) {
  if (digits.empty() || digits.size() > 32) return std::nullopt;
  const std::size_t split = digits.size() > 16 ? digits.size() - 16 : 0;
  const auto high = split ? Digits64(digits.substr(0, split), 16) : std::optional<std::uint64_t>(0);
  const auto low = Digits64(digits.substr(split), 16);
  if (!high || !low) return std::nullopt;
  return Uint128(*high, *low);
}

// Divides by 10^9 in 32-bit steps, each a 64-bit division by a constant
// (no 128-bit division, which the halves lack); returns the remainder.
std::uint32_t DivideByBillion(Uint128& value) {
  constexpr std::uint64_t kBillion = 1000000000;
  const std::uint64_t parts[4] = {value.high() >> 32, value.high() & 0xFFFFFFFF, value.low() >> 32,
                                  value.low() & 0xFFFFFFFF};
  std::uint64_t quotient[4], remainder = 0;
  for (int i = 0; i < 4; ++i) {
    const std::uint64_t current = remainder << 32 | parts[i];
    quotient[i] = current / kBillion;
    remainder = current % kBillion;
  }
  value = {quotient[0] << 32 | quotient[1], quotient[2] << 32 | quotient[3]};
  return static_cast<std::uint32_t>(remainder);
}

}  // namespace

std::optional<Uint128> ParseIpv6(std::string_view text) {
  WrittenGroups written;
  if (!ReadGroups(text, written)) return std::nullopt;
  if (written.gap < 0) return FromGroups(written.values);
  std::uint16_t groups[8] = {};
  const int after = written.count - written.gap;
  std::memcpy(groups, written.values, sizeof(std::uint16_t) * written.gap);
  std::memcpy(groups + 8 - after, written.values + written.gap, sizeof(std::uint16_t) * after);
  return FromGroups(groups);
}

char* WriteIpv6(Uint128 address, char* out) {
  if (address.high() == 0 && address.low() >> 32 == 0xFFFF) {
    std::memcpy(out, "::ffff:", 7);
    return WriteDotted(static_cast<std::uint32_t>(address.low()), out + 7);
  }
  unsigned groups[8];
  for (int i = 0; i < 8; ++i) groups[i] = ((i < 4 ? address.high() : address.low()) >> (48 - 16 * (i % 4))) & 0xFFFF;
  int best = -1, bestLength = 1;  // only runs of two or more zero groups are shortened
  for (int i = 0, j; i < 8; i = j + 1) {
    for (j = i; j < 8 && groups[j] == 0;) ++j;
    if (j - i > bestLength) best = i, bestLength = j - i;
  }
  for (int i = 0; i < 8;) {
    if (i == best) {
      out = std::copy_n("::", 2, out);
      i += bestLength;
      continue;
    }
    if (i > 0 && i != best + bestLength) *out++ = ':';
    out = std::to_chars(out, out + 4, groups[i++], 16).ptr;
  }
  return out;
}

std::optional<WideInteger> ParseWideInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && text[1] == 'x') {
    const auto value = Hex128(text.substr(2));
    if (!value) return std::nullopt;
    return WideInteger{*value, text.size() > 10};
  }
  const auto value = Decimal128(text);
  if (!value) return std::nullopt;
  return WideInteger{*value, false};
}

char* WriteDecimal(Uint128 value, char* out) {
  std::uint32_t billions[4];
  int count = 0;
  while (value.high() != 0) billions[count++] = DivideByBillion(value);
  out = std::to_chars(out, out + 20, value.low()).ptr;
  while (count > 0) {
    std::uint32_t chunk = billions[--count];
    for (int i = 8; i >= 0; --i, chunk /= 10) out[i] = static_cast<char>('0' + chunk % 10);
    out += 9;
  }
  return out;
}

char* WriteHex(Uint128 value, unsigned hexDigits, char* out) {
  static constexpr char kDigits[] = "0123456789abcdef";
  *out++ = '0';
  *out++ = 'x';
  for (unsigned i = hexDigits; i-- > 0;) {
    *out++ = kDigits[(i >= 16 ? value.high() >> (4 * (i - 16)) : value.low() >> (4 * i)) & 0xF];
  }
  return out;
}

}  // namespace quadsum
