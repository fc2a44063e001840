#pragma once

// The SSSE3 twins of the portable routines in number_lines.h, same names
// and contracts, in namespace quadsum::ssse3. Defined here, inline, so that
// they inline into the caller's loop (compiled for SSSE3 too); built for x86
// with GCC or clang only, and run only where HasSsse3(): the Windows build
// targets plain SSE2. Include number_lines.h, not this file.

#include <immintrin.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#define QUADSUM_TARGET_SSSE3 __attribute__((target("ssse3")))
// The long-line twins inline into the one-pass loop's long-line step,
// where clang would otherwise call them (about 4% of the loop's time on IPv6
// text). The step's shared template has no target: GCC refuses to inline
// into it, and clang at -O0 keeps a copy of it that it cannot compile.
#if defined(__clang__) && defined(__OPTIMIZE__)
#define QUADSUM_LONG_LINE_INLINE __attribute__((always_inline)) inline
#else
#define QUADSUM_LONG_LINE_INLINE inline
#endif

namespace quadsum {

// Whether the processor runs SSSE3.
bool HasSsse3();

namespace ssse3 {
namespace detail {

// Part lengths of 1 to 3 digits in four parts give 81 shapes of address.
// For each, the shuffle that puts part k's digits (as 0 to 9) right-aligned
// into bytes 0 to 2 of 32-bit lane 3 - k, the rest zero (index 0x80).
inline constexpr std::array<std::array<std::uint8_t, 16>, 81> kAddressShuffles = [] {
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

// For each shape, the least value each part may have, in the same lanes:
// 0, 10 or 100 by its length, so that a part below it has a leading zero.
inline constexpr std::array<std::array<std::int32_t, 4>, 81> kAddressMinimums = [] {
  std::array<std::array<std::int32_t, 4>, 81> minimums{};
  for (unsigned shape = 0; shape < 81; ++shape) {
    for (unsigned part = 0, weight = 27; part < 4; ++part, weight /= 3) {
      minimums[shape][3 - part] = std::array{0, 10, 100}[shape / weight % 3];
    }
  }
  return minimums;
}();

// An address line's dots and end (bit 1 << length) as a key, hashed to one of
// 256 slots; a slot holds the one shape with that key, if any. The multiplier
// gives the 81 shapes' keys distinct slots (checked here), so a lookup and
// one compare check the whole shape.
struct ShapeSlot {
  std::uint16_t key;
  std::uint8_t shape;
};
inline constexpr std::uint32_t kShapeHash = 0xe104d345;
inline constexpr std::array<ShapeSlot, 256> kShapeSlots = [] {
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

// For 0 to 10 digits, the shuffle that right-aligns them in 16 bytes.
inline constexpr std::array<std::array<std::uint8_t, 16>, 11> kIntegerShuffles = [] {
  std::array<std::array<std::uint8_t, 16>, 11> shuffles{};
  for (unsigned digits = 0; digits <= 10; ++digits) {
    shuffles[digits].fill(0x80);
    for (unsigned digit = 0; digit < digits; ++digit) shuffles[digits][16 - digits + digit] = static_cast<std::uint8_t>(digit);
  }
  return shuffles;
}();

// The 16 bytes of a short line at p as digit values (other bytes
// meaningless), the value's length up to the first byte that is neither
// digit nor dot, the dots and '0's (bit k for byte k), and the line's length
// with its end. That byte must be the LF, or a CR and the LF; else false.
struct ShortText {
  __m128i digits;
  unsigned length, dots, lineLength;
};

QUADSUM_TARGET_SSSE3 inline bool Load(const char* p, ShortText& line) {
  const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  line.digits = _mm_sub_epi8(text, _mm_set1_epi8('0'));
  const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(line.digits, _mm_set1_epi8(9)), line.digits);
  const __m128i isDot = _mm_cmpeq_epi8(text, _mm_set1_epi8('.'));
  const auto other = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(isDigit, isDot)));
  line.length = static_cast<unsigned>(std::countr_zero(other));
  if (line.length > kShortLine - 1) return false;
  line.dots = static_cast<unsigned>(_mm_movemask_epi8(isDot)) & ((1u << line.length) - 1);
  const bool cr = line.length < kShortLine - 1 && p[line.length] == '\r';
  line.lineLength = line.length + cr + 1;
  return p[line.length + cr] == '\n';
}

// Per bit length of a value, its digit count shifted up by 32, less the power
// of ten that adds a digit within that bit length: adding the value carries
// into the count exactly when it reaches that power.
inline constexpr std::array<std::uint64_t, 32> kDigitCountSteps = [] {
  std::array<std::uint64_t, 32> steps{};
  for (unsigned bits = 1; bits <= 32; ++bits) {
    const std::uint64_t low = std::uint64_t{1} << (bits - 1), high = (std::uint64_t{1} << bits) - 1;
    std::uint64_t digits = 1, power = 10;
    for (; power <= low; power *= 10) ++digits;
    steps[bits - 1] = power <= high ? ((digits + 1) << 32) - power : digits << 32;
  }
  return steps;
}();

inline unsigned DecimalLength(std::uint32_t value) {
  return static_cast<unsigned>((value + kDigitCountSteps[std::bit_width(value | 1) - 1]) >> 32);
}

// The 16 bytes from byte first on stored at out (16 bytes written; those
// past the last are meaningless).
QUADSUM_TARGET_SSSE3 inline void StoreFrom(__m128i bytes, unsigned first, char* out) {
  const __m128i from = _mm_add_epi8(_mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
                                    _mm_set1_epi8(static_cast<char>(first)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(bytes, from));
}

// Four numbers below 10000 in 32-bit lanes as their 16 digit characters:
// each split into pairs in 16-bit lanes (x / 100 as x * 5243 >> 19, exact
// below 10000), each pair into two digit bytes (p / 10 as p * 6554 >> 16,
// exact below 100).
QUADSUM_TARGET_SSSE3 inline __m128i DigitsOfGroups(__m128i groups) {
  const __m128i hundreds = _mm_srli_epi16(_mm_mulhi_epu16(groups, _mm_set1_epi32(5243)), 3);
  const __m128i rest = _mm_sub_epi16(groups, _mm_mullo_epi16(hundreds, _mm_set1_epi32(100)));
  const __m128i pairs = _mm_or_si128(hundreds, _mm_slli_epi32(rest, 16));
  const __m128i tens = _mm_mulhi_epu16(pairs, _mm_set1_epi16(6554));
  const __m128i units = _mm_sub_epi16(pairs, _mm_mullo_epi16(tens, _mm_set1_epi16(10)));
  return _mm_add_epi8(_mm_or_si128(tens, _mm_slli_epi16(units, 8)), _mm_set1_epi8('0'));
}

// 16 digit values (0 to 9) as one number: pairs, fours, eights, then the
// two eights.
QUADSUM_TARGET_SSSE3 inline std::uint64_t SixteenDigits(__m128i digits) {
  const __m128i pairs = _mm_maddubs_epi16(digits, _mm_setr_epi8(10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1));
  const __m128i fours = _mm_madd_epi16(pairs, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
  const __m128i packed = _mm_packs_epi32(fours, fours);
  const __m128i eights = _mm_madd_epi16(packed, _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
  const auto high = static_cast<std::uint64_t>(_mm_cvtsi128_si32(eights));
  return high * 100000000 + static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(eights, 4)));
}

// Four numbers below 10^8 in 32-bit lanes as their 32 digit characters,
// lanes 0 and 1 in first, 2 and 3 in second: each split into two below 10^4
// (x / 10^4 as x * 3518437209 >> 45, exact below 2^32) in lanes 0 and 2,
// then 1 and 3.
QUADSUM_TARGET_SSSE3 inline void DigitsOfEights(__m128i eights, __m128i& first, __m128i& second) {
  const __m128i magic = _mm_set1_epi32(static_cast<int>(3518437209u));
  const __m128i even = _mm_srli_epi64(_mm_mul_epu32(eights, magic), 45);
  const __m128i odd = _mm_srli_epi64(_mm_mul_epu32(_mm_srli_epi64(eights, 32), magic), 45);
  const __m128i high = _mm_or_si128(even, _mm_slli_epi64(odd, 32));
  const __m128i low = _mm_sub_epi32(eights, _mm_madd_epi16(high, _mm_set1_epi32(10000)));
  first = DigitsOfGroups(_mm_unpacklo_epi32(high, low));
  second = DigitsOfGroups(_mm_unpackhi_epi32(high, low));
}

inline constexpr std::uint64_t kTen16 = 10000000000000000;
inline constexpr ConstantDivisor kByTen16(kTen16);
inline constexpr std::uint32_t kTen8 = 100000000;

// The first kLongLine bytes of a line as masks, bit k for byte k, and each
// byte's hex value (0 for other bytes) in three vectors.
struct LongText {
  std::uint64_t digits = 0, hex = 0, colons = 0, lfs = 0;
  __m128i values[kLongLine / kShortLine];
  // The line's end: the LF's place, kLongLine when there is none.
  unsigned Lf() const { return static_cast<unsigned>(std::countr_zero(lfs | std::uint64_t{1} << kLongLine)); }
};

QUADSUM_TARGET_SSSE3 inline void Classify(const char* p, LongText& text) {
  for (unsigned i = 0; i < kLongLine / kShortLine; ++i) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + kShortLine * i));
    const __m128i digits = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
    const __m128i letters = _mm_sub_epi8(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
    const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(digits, _mm_set1_epi8(9)), digits);
    const __m128i isLetter = _mm_cmpeq_epi8(_mm_min_epu8(letters, _mm_set1_epi8(5)), letters);
    const __m128i value = _mm_or_si128(_mm_and_si128(isDigit, digits),
                                       _mm_and_si128(isLetter, _mm_add_epi8(letters, _mm_set1_epi8(10))));
    text.values[i] = value;
    const auto bits = [&](__m128i mask) {
      return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(mask))} << (kShortLine * i);
    };
    text.digits |= bits(isDigit);
    text.hex |= bits(_mm_or_si128(isDigit, isLetter));
    text.colons |= bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(':')));
    text.lfs |= bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
  }
}

// The text's length before the LF at lf: without a CR there.
inline unsigned TextLength(const char* p, unsigned lf) { return lf - (lf > 0 && p[lf - 1] == '\r'); }

// Four groups of 1 to 4 hex digits, half of IPv6 text in full, come in 256
// shapes: group k's length less 1 in bits 2k and 2k + 1. For each, the
// places that right-align every group's digits in 4 bytes: each digit's
// place from the half's start, -64 for the zeros before it.
inline constexpr std::array<std::array<std::int8_t, 16>, 256> kHalfPlaces = [] {
  std::array<std::array<std::int8_t, 16>, 256> places{};
  for (unsigned shape = 0; shape < 256; ++shape) {
    places[shape].fill(-64);
    for (unsigned group = 0, start = 0; group < 4; ++group) {
      const unsigned length = (shape >> (2 * group) & 3) + 1;
      for (unsigned digit = 0; digit < length; ++digit) {
        places[shape][4 * group + 4 - length + digit] = static_cast<std::int8_t>(start + digit);
      }
      start += length + 1;
    }
  }
  return places;
}();

// A half's key: bit k set for the colon or the end after each group, k
// counted from the half's start. Hashed to one of 2048 slots, which holds
// the key and its shape (bits 24 and up) when some shape has that key; the
// multiplier gives the 256 keys distinct slots (checked here).
inline constexpr std::uint32_t kHalfHash = 0x8278c11b;
inline constexpr std::array<std::uint32_t, 2048> kHalfSlots = [] {
  std::array<std::uint32_t, 2048> slots{};
  for (unsigned shape = 0; shape < 256; ++shape) {
    unsigned key = 0, end = 0;
    for (unsigned group = 0; group < 4; ++group) {
      end += (shape >> (2 * group) & 3) + 1;
      key |= 1u << end++;
    }
    std::uint32_t& slot = slots[(key * kHalfHash) >> 21];
    if (slot != 0) throw "two shapes in one slot";
    slot = key | shape << 24;
  }
  return slots;
}();

// The shape of a half with the given key, or -1 when no shape has it.
inline int HalfShape(std::uint64_t key) {
  const std::uint32_t slot = kHalfSlots[(static_cast<std::uint32_t>(key) * kHalfHash) >> 21];
  return (slot & 0xFFFFFF) == key ? static_cast<int>(slot >> 24) : -1;
}

// 16 hex digit values, first digit first, as one number.
QUADSUM_TARGET_SSSE3 inline std::uint64_t SixteenHexDigits(__m128i digits) {
  const __m128i pairs = _mm_maddubs_epi16(digits, _mm_set1_epi16(0x0110));
  const __m128i bytes = _mm_shuffle_epi8(pairs, _mm_setr_epi8(14, 12, 10, 8, 6, 4, 2, 0, -1, -1, -1, -1, -1, -1, -1, -1));
  std::uint64_t value;
  _mm_storel_epi64(reinterpret_cast<__m128i*>(&value), bytes);
  return value;
}

// The half of shape that starts at byte start (at most 20) of the text's
// 48 values, as one number. Each place is picked from the vector it falls
// in: a shuffle gives 0 where the place is negative there, as the -64s stay.
QUADSUM_TARGET_SSSE3 inline std::uint64_t HalfValue(const __m128i (&values)[3], unsigned shape, unsigned start) {
  const __m128i place = _mm_add_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kHalfPlaces[shape].data())),
                                     _mm_set1_epi8(static_cast<char>(start)));
  const __m128i second = _mm_sub_epi8(place, _mm_set1_epi8(16)), third = _mm_sub_epi8(place, _mm_set1_epi8(32));
  const __m128i fromFirst = _mm_shuffle_epi8(values[0], _mm_or_si128(place, _mm_cmpgt_epi8(place, _mm_set1_epi8(15))));
  const __m128i fromSecond = _mm_shuffle_epi8(values[1], _mm_or_si128(second, _mm_cmpgt_epi8(second, _mm_set1_epi8(15))));
  return SixteenHexDigits(_mm_or_si128(_mm_or_si128(fromFirst, fromSecond), _mm_shuffle_epi8(values[2], third)));
}

// Colons after four digits each: the shape of most IPv6 text in full. Both
// its halves, the second from byte 20, have the half shape of four groups of
// four digits.
inline constexpr std::uint64_t kFourDigitGroups = 0b10000100001000010000100001000010000;  // bits 4, 9, ... 34
inline constexpr unsigned kFourDigitHalf = 0b11111111;  // every group's length less 1 is 3

}  // namespace detail

// The dots and the end give the shape; the digits are then combined as bytes
// -> [h*100 + t*10, u] -> part value in each lane, checked against 255 and
// against the least its length allows (a leading zero), and packed.
QUADSUM_TARGET_SSSE3 inline std::size_t AddressLine(const char* p, std::uint32_t& address) {
  using namespace detail;
  ShortText line;
  if (!Load(p, line)) return 0;
  const unsigned key = line.dots | 1u << line.length;
  const ShapeSlot slot = kShapeSlots[(key * kShapeHash) >> 24];
  if (slot.key != key) return 0;
  const auto* shuffle = reinterpret_cast<const __m128i*>(kAddressShuffles[slot.shape].data());
  const __m128i spread = _mm_shuffle_epi8(line.digits, _mm_loadu_si128(shuffle));
  const __m128i pairs = _mm_maddubs_epi16(spread, _mm_setr_epi8(100, 10, 1, 0, 100, 10, 1, 0, 100, 10, 1, 0, 100, 10, 1, 0));
  const __m128i parts = _mm_madd_epi16(pairs, _mm_set1_epi16(1));
  const __m128i least = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kAddressMinimums[slot.shape].data()));
  if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpgt_epi32(parts, _mm_set1_epi32(255)), _mm_cmpgt_epi32(least, parts)))) return 0;
  const __m128i bytes = _mm_shuffle_epi8(parts, _mm_setr_epi8(0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1));
  address = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
  return line.lineLength;
}

// 1 to 10 digits, right-aligned in 16 and read as one number.
QUADSUM_TARGET_SSSE3 inline std::size_t IntegerLine(const char* p, std::uint32_t& integer) {
  using namespace detail;
  ShortText line;
  if (!Load(p, line) || line.dots != 0 || line.length - 1 > 9) return 0;
  const __m128i shuffle = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kIntegerShuffles[line.length].data()));
  const std::uint64_t value = SixteenDigits(_mm_shuffle_epi8(line.digits, shuffle));
  if (value > UINT32_MAX) return 0;
  integer = static_cast<std::uint32_t>(value);
  return line.lineLength;
}

// Decimal text with no branch on its length, which varies at random in bulk
// input: the value as [two, four, four digits]; of the 12 digits, the first
// two always 0, the value's last ones are shuffled to the front.
QUADSUM_TARGET_SSSE3 inline char* WriteDecimal32(std::uint32_t value, char* out) {
  using namespace detail;
  const std::uint32_t low = value % kTen8;
  const __m128i digits = DigitsOfGroups(_mm_setr_epi32(static_cast<int>(value / kTen8),
                                                       static_cast<int>(low / 10000), static_cast<int>(low % 10000), 0));
  const unsigned length = DecimalLength(value);
  StoreFrom(digits, 12 - length, out);
  return out + length;
}

// Every byte up to the end is a hex digit or a colon. Eight groups of four
// digits need no search for their shapes; else the fourth colon splits the text in
// halves, and each half's colons and end must be those of a shape (so there
// are seven colons, and no group is empty or too long), whose places then
// read the half.
QUADSUM_TARGET_SSSE3 QUADSUM_LONG_LINE_INLINE std::size_t Ipv6Line(const char* p, Uint128& value) {
  using namespace detail;
  LongText text;
  Classify(p, text);
  const unsigned lf = text.Lf(), length = TextLength(p, lf);
  const std::uint64_t inside = (std::uint64_t{1} << length) - 1, colons = text.colons & inside;
  if (((text.hex & inside) | colons) != inside) return 0;
  if (colons == kFourDigitGroups && length == kMaxNumberLength) {
    value = {HalfValue(text.values, kFourDigitHalf, 0), HalfValue(text.values, kFourDigitHalf, 20)};
    return lf + 1;
  }
  std::uint64_t rest = colons;
  for (int cleared = 0; cleared < 3; ++cleared) rest &= rest - 1;
  const auto fourth = static_cast<unsigned>(std::countr_zero(rest));  // 64 when there are fewer colons
  if (fourth >= length) return 0;
  const int first = HalfShape(colons & ((std::uint64_t{2} << fourth) - 1));
  const int second = HalfShape(colons >> (fourth + 1) | std::uint64_t{1} << (length - fourth - 1));
  if (first < 0 || second < 0) return 0;
  value = {HalfValue(text.values, static_cast<unsigned>(first), 0),
           HalfValue(text.values, static_cast<unsigned>(second), fourth + 1)};
  return lf + 1;
}

// Three numbers of 16 digits counted from the end, the bytes before the text
// zero; checked against 2^128 - 1 as text when as long.
QUADSUM_TARGET_SSSE3 inline std::size_t DecimalLine(const char* p, Uint128& value) {
  using namespace detail;
  LongText text;
  Classify(p, text);
  // The digits after kLongLine zeros, stored at once: the loads below start
  // anywhere, and a load across two stores waits until they are done.
  std::uint8_t values[2 * kLongLine] = {};
  _mm_storeu_si128(reinterpret_cast<__m128i*>(values + kLongLine), text.values[0]);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(values + kLongLine + kShortLine), text.values[1]);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(values + kLongLine + 2 * kShortLine), text.values[2]);
  const unsigned lf = text.Lf(), length = TextLength(p, lf);
  const std::uint64_t inside = (std::uint64_t{1} << length) - 1;
  if (length == 0 || length > kMaxNumberLength || (text.digits & inside) != inside) return 0;
  static_assert(kMaxNumberLength == 39);
  if (length == kMaxNumberLength && std::memcmp(p, "340282366920938463463374607431768211455", length) > 0) return 0;
  const auto sixteen = [&](int end) {
    return SixteenDigits(_mm_loadu_si128(reinterpret_cast<const __m128i*>(values + kLongLine + end - 16)));
  };
  const int end = static_cast<int>(length);
  const Uint128 top = Uint128::Product(sixteen(end - 32), kTen16);
  const Uint128 high = top + Uint128(0, sixteen(end - 16));  // below 10^23
  value = Uint128::Product(high.low(), kTen16) + Uint128(high.high() * kTen16, sixteen(end));
  return lf + 1;
}

// Numbers from 10^32 on (nearly all random ones, every address from 0:4ef::
// on) in base 10^16: the top, up to 7 digits, with no branch on its length,
// then two digits of 16 decimal digits each. Smaller ones as the portable
// twin.
QUADSUM_TARGET_SSSE3 QUADSUM_LONG_LINE_INLINE char* WriteDecimal128(Uint128 value, char* out) {
  using namespace detail;
  std::uint64_t low = value.low(), middle = kByTen16.Divide(value.high() % kTen16, low);
  const auto top = static_cast<std::uint32_t>(kByTen16.Divide(value.high() / kTen16, middle));
  if (top == 0) return WriteDecimal(value, out);
  __m128i first, second;
  DigitsOfEights(_mm_setr_epi32(static_cast<int>(middle / kTen8), static_cast<int>(middle % kTen8),
                                static_cast<int>(low / kTen8), static_cast<int>(low % kTen8)),
                 first, second);
  const __m128i head = DigitsOfGroups(_mm_setr_epi32(0, 0, static_cast<int>(top / 10000), static_cast<int>(top % 10000)));
  const unsigned length = DecimalLength(top);
  StoreFrom(head, kShortLine - length, out);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + length), first);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + length + kShortLine), second);
  return out + length + 2 * kShortLine;
}

}  // namespace ssse3
}  // namespace quadsum
