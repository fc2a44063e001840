#include "core/ipv6.h"

#include <algorithm>
#include <array>
#include <bit>
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

// x * factor + addend into x; false, x unchanged, when it does not fit in 128 bits.
bool MultiplyAdd(Uint128& x, std::uint64_t factor, std::uint64_t addend) {
  const Uint128 low = Uint128::Product(x.low(), factor), high = Uint128::Product(x.high(), factor);
  const Uint128 product = low + Uint128(high.low(), 0);
  const Uint128 sum = product + Uint128(0, addend);
  if (high.high() != 0 || product < low || sum < product) return false;
  x = sum;
  return true;
}

// Eight decimal digits at text, all checked and combined at once in 64
// bits: bytes read as little-endian whatever the machine, each a digit when
// its high nibble, and that of the byte plus 6, is 3 (a carry out of a
// byte only comes from one that fails); then pairs, fours and the eight.
bool EightDigits(const char* text, std::uint64_t& value) {
  std::uint64_t chunk = 0;
  for (unsigned i = 0; i < 8; ++i) chunk |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
  constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0, kSix = 0x0606060606060606, kZeros = 0x3030303030303030;
  if (((chunk & kHigh) | ((chunk + kSix) & kHigh) >> 4) != 0x3333333333333333) return false;
  chunk -= kZeros;
  chunk = chunk * 10 + (chunk >> 8);
  constexpr std::uint64_t kEvenPairs = 0x000000FF000000FF;
  chunk = ((chunk & kEvenPairs) * (100 + (1000000ull << 32)) + ((chunk >> 16) & kEvenPairs) * (1 + (10000ull << 32))) >> 32;
  value = static_cast<std::uint32_t>(chunk);
  return true;
}

// Up to 19 decimal digits, eight at a time while they last.
bool DecimalDigits(std::string_view text, std::uint64_t& value) {
  value = 0;
  std::size_t i = 0;
  for (std::uint64_t eight; i + 8 <= text.size(); i += 8) {
    if (!EightDigits(text.data() + i, eight)) return false;
    value = value * 100000000 + eight;
  }
  for (; i < text.size(); ++i) {
    const auto digit = static_cast<unsigned>(text[i] - '0');
    if (digit > 9) return false;
    value = value * 10 + digit;
  }
  return true;
}

constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
  std::array<std::uint64_t, 20> powers{1};
  for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 10;
  return powers;
}();

// Decimal digits in chunks of up to 19, each read as one 64-bit number.
std::optional<Uint128> Decimal128(std::string_view text) {
  if (text.empty()) return std::nullopt;
  Uint128 value;
  for (std::size_t length = (text.size() - 1) % 19 + 1; !text.empty(); length = 19) {
    std::uint64_t chunk;
    if (!DecimalDigits(text.substr(0, length), chunk) || !MultiplyAdd(value, kPowersOfTen[length], chunk)) return std::nullopt;
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

constexpr std::uint64_t kTen19 = 10000000000000000000u;
constexpr ConstantDivisor kByTen19(kTen19);

// The number in base 10^19: top (at most 3: 2^128 is below 4 * 10^38),
// then two digits of 19 decimal digits each.
struct DecimalChunks {
  std::uint64_t top, middle, low;
};

// Two divisions: the quotient of the first is below 2^65, its high bit the
// high half's division by 10^19.
DecimalChunks SplitDecimal(Uint128 value) {
  const bool aboveTen19 = value.high() >= kTen19;
  std::uint64_t low = value.low(), middle = kByTen19.Divide(value.high() - (aboveTen19 ? kTen19 : 0), low);
  const std::uint64_t top = kByTen19.Divide(aboveTen19, middle);
  return {top, middle, low};
}

constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) pairs[2 * i] = static_cast<char>('0' + i / 10), pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  return pairs;
}();

char* WritePair(std::uint32_t pair, char* out) { return std::copy_n(&kDigitPairs[2 * pair], 2, out); }

char* WriteEightDigits(std::uint32_t value, char* out) {
  const std::uint32_t high = value / 10000, low = value % 10000;
  out = WritePair(high / 100, out);
  out = WritePair(high % 100, out);
  out = WritePair(low / 100, out);
  return WritePair(low % 100, out);
}

// All 19 digits of a value below 10^19, leading zeros too.
char* WriteNineteenDigits(std::uint64_t value, char* out) {
  const auto head = static_cast<std::uint32_t>(value / 10000000000000000u);
  const std::uint64_t rest = value % 10000000000000000u;
  *out++ = static_cast<char>('0' + head / 100);
  out = WritePair(head % 100, out);
  out = WriteEightDigits(static_cast<std::uint32_t>(rest / 100000000), out);
  return WriteEightDigits(static_cast<std::uint32_t>(rest % 100000000), out);
}

// For each set of zero groups (bit i for group i), the longest run of two or
// more (the first when tied) as its length << 4 | its first group; 8 (past
// the groups) when there is none. A lookup, where finding the run branches.
constexpr std::array<std::uint8_t, 256> kZeroRuns = [] {
  std::array<std::uint8_t, 256> runs{};
  for (unsigned zeros = 0; zeros < 256; ++zeros) {
    unsigned best = 8, bestLength = 1;
    for (unsigned i = 0, j; i < 8; i = j + 1) {
      for (j = i; j < 8 && (zeros >> j & 1);) ++j;
      if (j - i > bestLength) best = i, bestLength = j - i;
    }
    runs[zeros] = static_cast<std::uint8_t>(best == 8 ? 8 : (bestLength << 4 | best));
  }
  return runs;
}();

// Each byte's two lower-case hex digits, the first in the high byte.
constexpr std::array<std::uint16_t, 256> kHexPairs = [] {
  constexpr char digits[] = "0123456789abcdef";
  std::array<std::uint16_t, 256> pairs{};
  for (unsigned byte = 0; byte < 256; ++byte) pairs[byte] = static_cast<std::uint16_t>(digits[byte >> 4] << 8 | digits[byte & 0xF]);
  return pairs;
}();

// The group's hex digits without leading zeros: all four looked up, then
// shifted so that the first written is first. Writes 4 bytes, returns the
// end of the digits.
char* WriteGroup(unsigned group, char* out) {
  const unsigned length = (static_cast<unsigned>(std::bit_width(group | 1)) + 3) / 4;
  const std::uint32_t text = (std::uint32_t{kHexPairs[group >> 8]} << 16 | kHexPairs[group & 0xFF]) << (32 - 8 * length);
  for (unsigned i = 0; i < 4; ++i) out[i] = static_cast<char>(text >> (24 - 8 * i));
  return out + length;
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
  unsigned groups[8], zeros = 0;
  for (unsigned i = 0; i < 8; ++i) {
    groups[i] = ((i < 4 ? address.high() : address.low()) >> (48 - 16 * (i % 4))) & 0xFFFF;
    zeros |= (groups[i] == 0) << i;
  }
  const unsigned best = kZeroRuns[zeros] & 0xF, after = best + (kZeroRuns[zeros] >> 4);
  for (unsigned i = 0; i < 8;) {
    if (i == best) {
      out = std::copy_n("::", 2, out);
      i = after;
      continue;
    }
    if (i > 0 && i != after) *out++ = ':';
    out = WriteGroup(groups[i++], out);
  }
  return out;
}

std::optional<IntegerText> ParseInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && text[1] == 'x') {
    const auto value = Hex128(text.substr(2));
    if (!value) return std::nullopt;
    return IntegerText{*value, text.size() > 10};
  }
  const auto value = Decimal128(text);
  if (!value) return std::nullopt;
  return IntegerText{*value, false};
}

char* WriteDecimal(Uint128 value, char* out) {
  const auto [top, middle, low] = SplitDecimal(value);
  if (top == 0 && middle == 0) return std::to_chars(out, out + 20, low).ptr;
  out = top == 0 ? std::to_chars(out, out + 20, middle).ptr
                 : WriteNineteenDigits(middle, std::to_chars(out, out + 2, top).ptr);
  return WriteNineteenDigits(low, out);
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
