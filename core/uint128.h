#pragma once

// A 128-bit unsigned integer for IPv6 addresses and numbers: the compiler's
// unsigned __int128 where it has one, else two 64-bit halves (MSVC and i686
// GCC have no 128-bit type). Defining QUADSUM_UINT128_HALVES forces the
// halves, so that the tests run that path natively too. Portable: no
// Windows header.

#include <bit>
#include <compare>
#include <cstdint>

#if defined(__SIZEOF_INT128__) && !defined(QUADSUM_UINT128_HALVES)
#define QUADSUM_NATIVE_UINT128 1
#else
#define QUADSUM_NATIVE_UINT128 0
#endif

namespace quadsum {

class Uint128 {
 public:
  constexpr Uint128() = default;
  constexpr Uint128(std::uint64_t high, std::uint64_t low) {
#if QUADSUM_NATIVE_UINT128
    value_ = static_cast<Native>(high) << 64 | low;
#else
    high_ = high;
    low_ = low;
#endif
  }
  static constexpr Uint128 Max() { return {~std::uint64_t{0}, ~std::uint64_t{0}}; }

#if QUADSUM_NATIVE_UINT128
  constexpr std::uint64_t high() const { return static_cast<std::uint64_t>(value_ >> 64); }
  constexpr std::uint64_t low() const { return static_cast<std::uint64_t>(value_); }
  friend constexpr Uint128 operator+(Uint128 a, Uint128 b) { return Uint128(a.value_ + b.value_); }
  friend constexpr Uint128 operator-(Uint128 a, Uint128 b) { return Uint128(a.value_ - b.value_); }
  // Shifts by 0 to 127 bits.
  friend constexpr Uint128 operator<<(Uint128 a, unsigned n) { return Uint128(a.value_ << n); }
  friend constexpr Uint128 operator>>(Uint128 a, unsigned n) { return Uint128(a.value_ >> n); }
  // The full product of two 64-bit numbers.
  static constexpr Uint128 Product(std::uint64_t a, std::uint64_t b) { return Uint128(static_cast<Native>(a) * b); }
#else
  constexpr std::uint64_t high() const { return high_; }
  constexpr std::uint64_t low() const { return low_; }
  friend constexpr Uint128 operator+(Uint128 a, Uint128 b) {
    const std::uint64_t low = a.low_ + b.low_;
    return {a.high_ + b.high_ + (low < a.low_), low};
  }
  friend constexpr Uint128 operator-(Uint128 a, Uint128 b) {
    return {a.high_ - b.high_ - (a.low_ < b.low_), a.low_ - b.low_};
  }
  friend constexpr Uint128 operator<<(Uint128 a, unsigned n) {
    if (n >= 64) return {a.low_ << (n - 64), 0};
    if (n == 0) return a;
    return {a.high_ << n | a.low_ >> (64 - n), a.low_ << n};
  }
  friend constexpr Uint128 operator>>(Uint128 a, unsigned n) {
    if (n >= 64) return {0, a.high_ >> (n - 64)};
    if (n == 0) return a;
    return {a.high_ >> n, a.low_ >> n | a.high_ << (64 - n)};
  }
  // Four 32-bit partial products, added with their carries.
  static constexpr Uint128 Product(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t a0 = a & 0xFFFFFFFF, a1 = a >> 32, b0 = b & 0xFFFFFFFF, b1 = b >> 32;
    const std::uint64_t low = a0 * b0, middle1 = a1 * b0, middle2 = a0 * b1;
    const std::uint64_t carry = ((low >> 32) + (middle1 & 0xFFFFFFFF) + (middle2 & 0xFFFFFFFF)) >> 32;
    return {a1 * b1 + (middle1 >> 32) + (middle2 >> 32) + carry, low + (middle1 << 32) + (middle2 << 32)};
  }
#endif

  friend constexpr Uint128 operator&(Uint128 a, Uint128 b) { return {a.high() & b.high(), a.low() & b.low()}; }
  friend constexpr Uint128 operator|(Uint128 a, Uint128 b) { return {a.high() | b.high(), a.low() | b.low()}; }
  friend constexpr Uint128 operator~(Uint128 a) { return {~a.high(), ~a.low()}; }
  friend constexpr bool operator==(Uint128 a, Uint128 b) { return a.high() == b.high() && a.low() == b.low(); }
  friend constexpr std::strong_ordering operator<=>(Uint128 a, Uint128 b) {
    return a.high() != b.high() ? a.high() <=> b.high() : a.low() <=> b.low();
  }

 private:
#if QUADSUM_NATIVE_UINT128
  __extension__ typedef unsigned __int128 Native;
  constexpr explicit Uint128(Native value) : value_(value) {}
  Native value_ = 0;
#else
  std::uint64_t high_ = 0, low_ = 0;
#endif
};

// Division of a 128-bit number by a constant below 2^64 as two
// multiplications by its reciprocal (Moller and Granlund, "Improved division
// by invariant integers", 2011). The divisor is shifted until its top bit is
// set, and the number with it; the remainder is shifted back.
class ConstantDivisor {
 public:
  constexpr explicit ConstantDivisor(std::uint64_t divisor)
      : shift_(static_cast<unsigned>(std::countl_zero(divisor))), divisor_(divisor << shift_) {
    // floor((2^128 - 1) / divisor) - 2^64, bit by bit.
    std::uint64_t remainder = ~divisor_;
    for (int bit = 0; bit < 64; ++bit) {
      const bool carry = remainder >> 63;
      remainder = remainder << 1 | 1;
      reciprocal_ <<= 1;
      if (carry || remainder >= divisor_) remainder -= divisor_, reciprocal_ |= 1;
    }
  }
  // (high * 2^64 + low) / divisor, for high below the divisor; low becomes
  // the remainder.
  constexpr std::uint64_t Divide(std::uint64_t high, std::uint64_t& low) const {
    const Uint128 number = Uint128(high, low) << shift_;
    const Uint128 estimate = Uint128::Product(reciprocal_, number.high()) + number;
    std::uint64_t quotient = estimate.high() + 1, remainder = number.low() - quotient * divisor_;
    if (remainder > estimate.low()) --quotient, remainder += divisor_;
    if (remainder >= divisor_) ++quotient, remainder -= divisor_;
    low = remainder >> shift_;
    return quotient;
  }

 private:
  unsigned shift_;
  std::uint64_t divisor_, reciprocal_ = 0;
};

// Trailing zero bits (128 for 0) and the bits needed to write the value.
constexpr unsigned CountTrailingZeros(Uint128 a) {
  return a.low() != 0 ? static_cast<unsigned>(std::countr_zero(a.low()))
                      : 64 + static_cast<unsigned>(std::countr_zero(a.high()));
}
constexpr unsigned BitWidth(Uint128 a) {
  return a.high() != 0 ? 64 + static_cast<unsigned>(std::bit_width(a.high()))
                       : static_cast<unsigned>(std::bit_width(a.low()));
}

}  // namespace quadsum
