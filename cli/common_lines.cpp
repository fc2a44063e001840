#include "cli/common_lines.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

#include "core/ip_value.h"
#include "core/ipv6.h"
#include "core/strict_address.h"

// The SSSE3 parse and writer are built for x86 with GCC or clang only, behind a
// runtime check: the Windows build targets plain SSE2, and MSVC lacks the
// target attribute. Elsewhere the portable parse runs.
#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
#include <immintrin.h>
#define QUADSUM_SSSE3 1
#define QUADSUM_TARGET_SSSE3 __attribute__((target("ssse3")))
#define QUADSUM_INLINE __attribute__((always_inline)) inline
#define QUADSUM_NOINLINE __attribute__((noinline))
#else
#define QUADSUM_NOINLINE
#define QUADSUM_SSSE3 0
#define QUADSUM_INLINE inline
#endif

namespace quadsum_cli {
namespace {

constexpr std::size_t kShortLine = 16;  // a common line and its LF fit in one 16-byte load

// Parsers of the line at p (kShortLine readable bytes): its length with the
// LF when it has the shape, else 0.
using LineParser = std::size_t (*)(const char* p, std::uint32_t& value);
// Writers of an integer as WriteInteger does, with room for 16 bytes.
using IntegerWriter = char* (*)(std::uint32_t value, bool hex, char* out);
// A line converted at out: its length with the LF (0 when not taken) and
// the end of the text written. Returned, not written through a reference,
// so that out stays in a register in the loop.
struct Taken {
  std::size_t length;
  char* out;
};
// Converters of the other lines at p, before end: as WideLine.
using WideConverter = Taken (*)(const char* p, const char* end, const Options& options, char* out);

// The value on the line at p without a CR before its LF, and the line's
// length with its LF; 0 when no LF lies within kShortLine bytes.
std::size_t ShortLine(const char* p, std::string_view& value) {
  const auto* lf = static_cast<const char*>(std::memchr(p, '\n', kShortLine));
  if (!lf) return 0;
  value = {p, static_cast<std::size_t>(lf - p)};
  if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
  return static_cast<std::size_t>(lf - p) + 1;
}

std::size_t Accepted(std::size_t length, std::optional<std::uint32_t> parsed, std::uint32_t& value) {
  if (!length || !parsed) return 0;
  value = *parsed;
  return length;
}

std::size_t AddressLinePortable(const char* p, std::uint32_t& address) {
  std::string_view value;
  const std::size_t length = ShortLine(p, value);
  return Accepted(length, quadsum::ParseStrictAddress(value), address);
}

std::size_t IntegerLinePortable(const char* p, std::uint32_t& integer) {
  std::string_view value;
  const std::size_t length = ShortLine(p, value);
  const auto parsed = quadsum::ParseInteger(value);
  if (!parsed || quadsum::IsIpv6Integer(*parsed, false)) return 0;
  return Accepted(length, static_cast<std::uint32_t>(parsed->value.low()), integer);
}

constexpr std::size_t kWideLine = 48;  // the longest IPv6 text or number, a CR and the LF, with room to spare

// A '.' in the first four bytes of a line (kShortLine readable) that the
// IPv4 parses refused marks an IPv4 network or range (or rarely IPv6 text
// like ::1.2.3.4): left to Convert at once, not looked for an LF and read.
bool DotEarly(const char* p) { return (p[1] == '.') | (p[2] == '.') | (p[3] == '.'); }

// An integer written as Convert writes it, in the family core's rule gives.
char* WriteIntegerAddress(const quadsum::IntegerText& integer, const Options& options, char* out) {
  return quadsum::WriteAddress(integer.value, quadsum::IsIpv6Integer(integer, options.ipv6) ? 128 : 32, out);
}

// An IPv6 address or an integer of any size alone on the line at p (before
// end, kShortLine readable), written at out as Convert writes a plain value
// that has no blanks to trim.
QUADSUM_NOINLINE Taken WideLine(const char* p, const char* end, const Options& options, char* out) {
  if (DotEarly(p)) return {0, out};
  const auto* lf = static_cast<const char*>(std::memchr(p, '\n', std::min<std::size_t>(end - p, kWideLine)));
  if (!lf || options.lenient || options.toCidr) return {0, out};
  std::string_view value(p, static_cast<std::size_t>(lf - p));
  if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
  if (value.find(':') != std::string_view::npos) {
    const auto address = options.direction != Direction::ToAddress ? quadsum::ParseIpv6(value) : std::nullopt;
    if (!address) return {0, out};
    out = quadsum::WriteNumber(*address, 128, options.hex, out);
  } else {
    const auto integer = options.direction != Direction::ToInteger && value.find('.') == std::string_view::npos
                             ? quadsum::ParseInteger(value) : std::nullopt;
    if (!integer) return {0, out};
    out = WriteIntegerAddress(*integer, options, out);
  }
  return {static_cast<std::size_t>(lf - p) + 1, out};
}

// Writes lines while they parse; addresses print as integers, integers as
// addresses. Inlined into each caller so that the parsers inline too.
template <LineParser ParseAddress, LineParser ParseInteger, IntegerWriter WriteAddressInteger, WideConverter ConvertWide>
QUADSUM_INLINE CommonLines Convert(std::string_view in, const Options& options, char* out, char* outEnd) {
  // Under --to-cidr no plain value converts; under -6 no integer is IPv4.
  const bool addresses = !options.lenient && !options.toCidr && options.direction != Direction::ToAddress;
  const bool integers = !options.ipv6 && !options.toCidr && options.direction != Direction::ToInteger;
  const char* p = in.data();
  const char* const end = p + in.size();
  std::size_t lines = 0;
  bool full = false;
  while (end - p >= static_cast<std::ptrdiff_t>(kShortLine)) {
    if (outEnd - out < static_cast<std::ptrdiff_t>(kCommonLineRoom)) {
      full = true;
      break;
    }
    std::uint32_t value = 0;
    std::size_t length = 0;
    if (addresses && (length = ParseAddress(p, value))) out = WriteAddressInteger(value, options.hex, out);
    else if (integers && (length = ParseInteger(p, value))) out = quadsum::WriteDotted(value, out);
    else if (const Taken wide = ConvertWide(p, end, options, out); wide.length) length = wide.length, out = wide.out;
    else break;
    *out++ = '\n';
    p += length;
    ++lines;
  }
  return {static_cast<std::size_t>(p - in.data()), lines, out, full};
}

#if QUADSUM_SSSE3

// Part lengths of 1 to 3 digits in four parts give 81 shapes of address.
// For each, the shuffle that puts part k's digits (as 0 to 9) right-aligned
// into bytes 0 to 2 of 32-bit lane 3 - k, the rest zero (index 0x80).
constexpr std::array<std::array<std::uint8_t, 16>, 81> kAddressShuffles = [] {
  std::array<std::array<std::uint8_t, 16>, 81> shuffles{};
  for (unsigned shape = 0; shape < 81; ++shape) {
    shuffles[shape].fill(0x80);
    unsigned start = 0;
    for (unsigned part = 0, weight = 27; part < 4; ++part, weight /= 3) {
      const unsigned length = shape / weight % 3 + 1;
      for (unsigned digit = 0; digit < length; ++digit) {
        shuffles[shape][4 * (3 - part) + 3 - length + digit] = static_cast<std::uint8_t>(start + digit);
      }
      start += length + 1;
    }
  }
  return shuffles;
}();

// An address line's dots and end (bit 1 << length) as a key, hashed to one of
// 256 slots; a slot holds the one shape with that key, if any. The multiplier
// gives the 81 shapes' keys distinct slots (checked here), so a lookup and
// one compare check the whole shape.
struct ShapeSlot {
  std::uint16_t key;
  std::uint8_t shape;
};
constexpr std::uint32_t kShapeHash = 0xe104d345;
constexpr std::array<ShapeSlot, 256> kShapeSlots = [] {
  std::array<ShapeSlot, 256> slots{};
  for (unsigned shape = 0; shape < 81; ++shape) {
    unsigned key = 0, end = 0;
    for (unsigned weight = 27; weight > 0; weight /= 3) {
      end += shape / weight % 3 + 2;  // past the part's digits and the byte after them,
      key |= 1u << (end - 1);         // a dot or, after the fourth part, the line's end
    }
    ShapeSlot& slot = slots[(key * kShapeHash) >> 24];
    if (slot.key != 0) throw "two shapes in one slot";
    slot = {static_cast<std::uint16_t>(key), static_cast<std::uint8_t>(shape)};
  }
  return slots;
}();

// For 1 to 10 digits, the shuffle that right-aligns them in 16 bytes.
constexpr std::array<std::array<std::uint8_t, 16>, 11> kIntegerShuffles = [] {
  std::array<std::array<std::uint8_t, 16>, 11> shuffles{};
  for (unsigned digits = 0; digits <= 10; ++digits) {
    shuffles[digits].fill(0x80);
    for (unsigned digit = 0; digit < digits; ++digit) shuffles[digits][16 - digits + digit] = static_cast<std::uint8_t>(digit);
  }
  return shuffles;
}();

// The 16 bytes at p as digit values (other bytes meaningless), the value's
// length up to the first byte that is neither digit nor dot, and the dots
// before it. That byte must be the LF, or a CR and the LF; else false.
struct Loaded {
  __m128i digits;
  unsigned length, dots, zeros, lineLength;
};

QUADSUM_TARGET_SSSE3 bool Load(const char* p, Loaded& line) {
  const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  line.digits = _mm_sub_epi8(text, _mm_set1_epi8('0'));
  const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(line.digits, _mm_set1_epi8(9)), line.digits);
  const __m128i isDot = _mm_cmpeq_epi8(text, _mm_set1_epi8('.'));
  const auto other = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(isDigit, isDot)));
  line.length = static_cast<unsigned>(std::countr_zero(other));
  if (line.length > 15) return false;
  line.dots = static_cast<unsigned>(_mm_movemask_epi8(isDot)) & ((1u << line.length) - 1);
  line.zeros = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(text, _mm_set1_epi8('0'))));
  const bool cr = line.length < 15 && p[line.length] == '\r';
  line.lineLength = line.length + cr + 1;
  return p[line.length + cr] == '\n';
}

// The dots and the end give the shape; the digits are then combined as bytes
// -> [h*100 + t*10, u] -> part value in each lane, checked against 255 and
// packed.
QUADSUM_TARGET_SSSE3 std::size_t AddressLineSsse3(const char* p, std::uint32_t& address) {
  Loaded line;
  if (!Load(p, line)) return 0;
  const unsigned key = line.dots | 1u << line.length;
  const ShapeSlot slot = kShapeSlots[(key * kShapeHash) >> 24];
  if (slot.key != key) return 0;
  // A part that starts with '0' and goes on with a digit has a leading zero.
  const unsigned digits = ~line.dots & ((1u << line.length) - 1);
  if ((line.dots << 1 | 1) & line.zeros & digits >> 1) return 0;
  const auto* shuffle = reinterpret_cast<const __m128i*>(kAddressShuffles[slot.shape].data());
  const __m128i spread = _mm_shuffle_epi8(line.digits, _mm_loadu_si128(shuffle));
  const __m128i pairs = _mm_maddubs_epi16(spread, _mm_setr_epi8(100, 10, 1, 0, 100, 10, 1, 0, 100, 10, 1, 0, 100, 10, 1, 0));
  const __m128i parts = _mm_madd_epi16(pairs, _mm_set1_epi16(1));
  if (_mm_movemask_epi8(_mm_cmpgt_epi32(parts, _mm_set1_epi32(255)))) return 0;
  const __m128i bytes = _mm_shuffle_epi8(parts, _mm_setr_epi8(0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1));
  address = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
  return line.lineLength;
}

// 1 to 10 digits, right-aligned in 16, combined as pairs -> groups of four
// -> groups of eight, the two low groups of eight joined in 64 bits.
QUADSUM_TARGET_SSSE3 std::size_t IntegerLineSsse3(const char* p, std::uint32_t& integer) {
  Loaded line;
  if (!Load(p, line) || line.dots != 0 || line.length - 1 > 9) return 0;
  const __m128i shuffle = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kIntegerShuffles[line.length].data()));
  const __m128i spread = _mm_shuffle_epi8(line.digits, shuffle);
  const __m128i pairs = _mm_maddubs_epi16(spread, _mm_setr_epi8(10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1));
  const __m128i fours = _mm_madd_epi16(pairs, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
  const __m128i packed = _mm_packs_epi32(fours, fours);
  const __m128i eights = _mm_madd_epi16(packed, _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
  const auto high = static_cast<std::uint64_t>(_mm_cvtsi128_si32(eights));
  const auto low = static_cast<std::uint64_t>(_mm_cvtsi128_si32(_mm_srli_si128(eights, 4)));
  const std::uint64_t sum = high * 100000000 + low;
  if (sum > UINT32_MAX) return 0;
  integer = static_cast<std::uint32_t>(sum);
  return line.lineLength;
}

// Per bit length of a value, its digit count shifted up by 32, less the power
// of ten that adds a digit within that bit length: adding the value carries
// into the count exactly when it reaches that power.
constexpr std::array<std::uint64_t, 32> kDigitCountSteps = [] {
  std::array<std::uint64_t, 32> steps{};
  for (unsigned bits = 1; bits <= 32; ++bits) {
    const std::uint64_t low = std::uint64_t{1} << (bits - 1), high = (std::uint64_t{1} << bits) - 1;
    std::uint64_t digits = 1, power = 10;
    for (; power <= low; power *= 10) ++digits;
    steps[bits - 1] = power <= high ? ((digits + 1) << 32) - power : digits << 32;
  }
  return steps;
}();

unsigned DecimalLength(std::uint32_t value) {
  return static_cast<unsigned>((value + kDigitCountSteps[std::bit_width(value | 1) - 1]) >> 32);
}

// Four numbers below 10000 in 32-bit lanes as their 16 digit characters:
// each split into pairs in 16-bit lanes (x / 100 as x * 5243 >> 19, exact
// below 10000), each pair into two digit bytes (p / 10 as p * 6554 >> 16,
// exact below 100).
QUADSUM_TARGET_SSSE3 __m128i DigitsOfGroups(__m128i groups) {
  const __m128i hundreds = _mm_srli_epi16(_mm_mulhi_epu16(groups, _mm_set1_epi32(5243)), 3);
  const __m128i rest = _mm_sub_epi16(groups, _mm_mullo_epi16(hundreds, _mm_set1_epi32(100)));
  const __m128i pairs = _mm_or_si128(hundreds, _mm_slli_epi32(rest, 16));
  const __m128i tens = _mm_mulhi_epu16(pairs, _mm_set1_epi16(6554));
  const __m128i units = _mm_sub_epi16(pairs, _mm_mullo_epi16(tens, _mm_set1_epi16(10)));
  return _mm_add_epi8(_mm_or_si128(tens, _mm_slli_epi16(units, 8)), _mm_set1_epi8('0'));
}

// Decimal text with no branch on its length, which varies at random in bulk
// input: the value as [two, four, four digits]; of the 12 digits, the first
// two always 0, the value's last ones are shuffled to the front.
QUADSUM_TARGET_SSSE3 char* WriteIntegerSsse3(std::uint32_t value, bool hex, char* out) {
  if (hex) return WriteInteger(value, hex, out);
  const std::uint32_t low = value % 100000000;
  const __m128i digits = DigitsOfGroups(_mm_setr_epi32(static_cast<int>(value / 100000000),
                                                       static_cast<int>(low / 10000), static_cast<int>(low % 10000), 0));
  const unsigned length = DecimalLength(value);
  const __m128i skip = _mm_add_epi8(_mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
                                    _mm_set1_epi8(static_cast<char>(12 - length)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(digits, skip));
  return out + length;
}

// The first 48 bytes of a wide line as masks, bit k for byte k, and each
// byte's hex value, after 48 zero bytes that stand before the text.
struct WideText {
  std::uint64_t digits = 0, hex = 0, colons = 0, lfs = 0;
  std::uint8_t values[48 + 48] = {};
};
constexpr unsigned kBefore = 48;

QUADSUM_TARGET_SSSE3 void Classify(const char* p, WideText& text) {
  for (unsigned i = 0; i < 3; ++i) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const __m128i digits = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
    const __m128i letters = _mm_sub_epi8(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
    const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(digits, _mm_set1_epi8(9)), digits);
    const __m128i isLetter = _mm_cmpeq_epi8(_mm_min_epu8(letters, _mm_set1_epi8(5)), letters);
    const __m128i value = _mm_or_si128(_mm_and_si128(isDigit, digits),
                                       _mm_and_si128(isLetter, _mm_add_epi8(letters, _mm_set1_epi8(10))));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(text.values + kBefore + 16 * i), value);
    const auto bits = [&](__m128i mask) { return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(mask))} << (16 * i); };
    text.digits |= bits(isDigit);
    text.hex |= bits(_mm_or_si128(isDigit, isLetter));
    text.colons |= bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(':')));
    text.lfs |= bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
  }
}

// The group of 1 to 4 digits ending before byte end: the four values up to
// there in one load (little-endian, the first digit lowest), those before
// the group cleared, then nibbles joined in pairs and the pairs joined.
std::uint64_t GroupValue(const WideText& text, unsigned start, unsigned end) {
  std::uint32_t four;
  std::memcpy(&four, text.values + kBefore + end - 4, 4);
  four &= ~std::uint32_t{0} << (8 * (4 - (end - start)));
  const std::uint32_t pairs = (four << 4 | four >> 8) & 0x00FF00FF;
  return (pairs & 0xFF) << 8 | pairs >> 16;
}

// IPv6 text in full (eight groups, no "::", no dotted tail) of the given
// length; other IPv6 text is left to WideLine. Every byte is a hex digit or
// one of seven colons, and no group is empty or longer than 4.
bool FullIpv6(const WideText& text, unsigned length, quadsum::Uint128& value) {
  const std::uint64_t inside = (std::uint64_t{1} << length) - 1, hex = text.hex & inside, colons = text.colons & inside;
  const std::uint64_t bounds = colons << 1 | 1 | std::uint64_t{1} << (length + 1);  // bit k + 1 for a ':' at k, and both ends
  const bool tooLong = (hex & hex >> 1 & hex >> 2 & hex >> 3 & hex >> 4) != 0;
  if ((hex | colons) != inside || std::popcount(colons) != 7 || (bounds & bounds >> 1) || tooLong) return false;
  std::uint64_t halves[2] = {}, rest = colons;
  for (unsigned group = 0, start = 0; group < 8; ++group, rest &= rest - 1) {
    const unsigned stop = group < 7 ? static_cast<unsigned>(std::countr_zero(rest)) : length;
    halves[group / 4] = halves[group / 4] << 16 | GroupValue(text, start, stop);
    start = stop + 1;
  }
  value = {halves[0], halves[1]};
  return true;
}

// The 16 digit values ending before byte end as one number: pairs, fours,
// eights, then the two eights.
QUADSUM_TARGET_SSSE3 std::uint64_t SixteenDigits(const WideText& text, int end) {
  const __m128i digits = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.values + kBefore + end - 16));
  const __m128i pairs = _mm_maddubs_epi16(digits, _mm_setr_epi8(10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1));
  const __m128i fours = _mm_madd_epi16(pairs, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
  const __m128i packed = _mm_packs_epi32(fours, fours);
  const __m128i eights = _mm_madd_epi16(packed, _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
  const auto high = static_cast<std::uint64_t>(_mm_cvtsi128_si32(eights));
  return high * 100000000 + static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(eights, 4)));
}

// 1 to 39 decimal digits below 2^128 (checked as text when 39 long): three
// numbers of 16 digits counted from the end, the bytes before the text zero.
// Longer text (leading zeros) is left to WideLine.
QUADSUM_TARGET_SSSE3 bool Decimal(const char* p, const WideText& text, unsigned length, quadsum::Uint128& value) {
  const std::uint64_t inside = (std::uint64_t{1} << length) - 1;
  if (length == 0 || length > 39 || (text.digits & inside) != inside) return false;
  if (length == 39 && std::memcmp(p, "340282366920938463463374607431768211455", 39) > 0) return false;
  constexpr std::uint64_t kTen16 = 10000000000000000;
  const auto end = static_cast<int>(length);
  const quadsum::Uint128 top = quadsum::Uint128::Product(SixteenDigits(text, end - 32), kTen16);
  const quadsum::Uint128 high = top + quadsum::Uint128(0, SixteenDigits(text, end - 16));  // below 10^23
  value = quadsum::Uint128::Product(high.low(), kTen16) + quadsum::Uint128(high.high() * kTen16, SixteenDigits(text, end));
  return true;
}

// 19 digits of a value below 10^19, leading zeros too: three, then four
// groups of four digits.
QUADSUM_TARGET_SSSE3 char* NineteenDigitsSsse3(std::uint64_t value, char* out) {
  const auto head = static_cast<std::uint32_t>(value / 10000000000000000);
  const std::uint64_t rest = value % 10000000000000000;
  const auto high = static_cast<std::uint32_t>(rest / 100000000), low = static_cast<std::uint32_t>(rest % 100000000);
  out[0] = static_cast<char>('0' + head / 100);
  out[1] = static_cast<char>('0' + head / 10 % 10);
  out[2] = static_cast<char>('0' + head % 10);
  const __m128i digits = DigitsOfGroups(_mm_setr_epi32(static_cast<int>(high / 10000), static_cast<int>(high % 10000),
                                                       static_cast<int>(low / 10000), static_cast<int>(low % 10000)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3), digits);
  return out + 19;
}

// As quadsum::WriteDecimal, for numbers of 38 digits or more (nearly all
// random ones, all from 2000::/3 on): the top digit, if not 0, with no branch
// on which, random numbers having either, then two chunks of 19.
QUADSUM_TARGET_SSSE3 char* WriteDecimalSsse3(quadsum::Uint128 value, char* out) {
  const auto [top, middle, low] = quadsum::SplitDecimal(value);
  if (top == 0 && middle < 1000000000000000000) return quadsum::WriteDecimal(value, out);
  *out = static_cast<char>('0' + top);
  return NineteenDigitsSsse3(low, NineteenDigitsSsse3(middle, out + (top != 0)));
}

// IPv6 text in full and decimal integers of up to 39 digits, with 48 bytes
// readable at p, converted as WideLine does; other lines go to it. Out of
// the IPv4 loop's way, so that it stays as tight as it was alone.
QUADSUM_TARGET_SSSE3 QUADSUM_NOINLINE Taken WideLineSsse3(const char* p, const char* end, const Options& options, char* out) {
  if (end - p < 48 || DotEarly(p) || options.lenient || options.toCidr) return WideLine(p, end, options, out);
  WideText text;
  Classify(p, text);
  const auto lf = static_cast<unsigned>(std::countr_zero(text.lfs | std::uint64_t{1} << 48));
  const unsigned length = lf - (lf > 0 && p[lf - 1] == '\r');
  quadsum::Uint128 value;
  if (lf > 40) return WideLine(p, end, options, out);
  if (options.direction != Direction::ToAddress && FullIpv6(text, length, value)) {
    return {lf + 1, options.hex ? quadsum::WriteHex(value, 32, out) : WriteDecimalSsse3(value, out)};
  }
  if (options.direction != Direction::ToInteger && Decimal(p, text, length, value)) {
    return {lf + 1, WriteIntegerAddress({value, false}, options, out)};
  }
  return WideLine(p, end, options, out);
}

QUADSUM_TARGET_SSSE3 CommonLines ConvertSsse3(std::string_view in, const Options& options, char* out, char* outEnd) {
  return Convert<AddressLineSsse3, IntegerLineSsse3, WriteIntegerSsse3, WideLineSsse3>(in, options, out, outEnd);
}

bool HasSsse3() { return __builtin_cpu_supports("ssse3"); }

#else

bool HasSsse3() { return false; }

#endif

}  // namespace

CommonLines ConvertCommonLines(std::string_view in, const Options& options, char* out, char* outEnd, LineParse parse) {
#if QUADSUM_SSSE3
  if (parse == LineParse::Fastest && HasSsse3()) return ConvertSsse3(in, options, out, outEnd);
#endif
  return Convert<AddressLinePortable, IntegerLinePortable, WriteInteger, WideLine>(in, options, out, outEnd);
}

}  // namespace quadsum_cli
