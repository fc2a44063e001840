#pragma once

// A set of IP numbers of one family, held as its maximal ranges in order:
// built from ranges in any order, combined with another set, counted, and
// split into the fewest networks. A template over the number type:
// std::uint32_t for IPv4 (8 bytes a range), Uint128 for IPv6. Portable: no
// Windows header.

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/uint128.h"

namespace quadsum {

template <class T>
struct NumberTraits;

template <>
struct NumberTraits<std::uint32_t> {
  static constexpr unsigned kBits = 32;
  static constexpr std::uint32_t kOne = 1, kMax = 0xFFFFFFFF;
  static unsigned TrailingZeros(std::uint32_t v) { return static_cast<unsigned>(std::countr_zero(v)); }
  static unsigned Width(std::uint32_t v) { return static_cast<unsigned>(std::bit_width(v)); }
  static Uint128 AsUint128(std::uint32_t v) { return {0, v}; }
};

template <>
struct NumberTraits<Uint128> {
  static constexpr unsigned kBits = 128;
  static constexpr Uint128 kOne{0, 1}, kMax = Uint128::Max();
  static unsigned TrailingZeros(Uint128 v) { return CountTrailingZeros(v); }
  static unsigned Width(Uint128 v) { return BitWidth(v); }
  static Uint128 AsUint128(Uint128 v) { return v; }
};

// A number of addresses: value, plus 2^128 when whole (only the full IPv6
// space has that many).
struct AddressCount {
  Uint128 value;
  bool whole = false;
};

// Calls network(first, length) for each of the fewest networks covering
// first to last, in order. Each is the largest block that starts at the
// next number (so is aligned to it) and ends no later than last.
template <class T, class F>
void SplitIntoNetworks(T first, T last, F&& network) {
  using N = NumberTraits<T>;
  for (T next = first;;) {
    const T rest = last - next;  // numbers left, less one
    const unsigned fits = rest == N::kMax ? N::kBits : N::Width(rest + N::kOne) - 1;
    const unsigned size = std::min(N::TrailingZeros(next), fits);  // log2 of the block
    network(next, N::kBits - size);
    if (size == N::kBits) return;
    const T blockLast = next + ((N::kOne << size) - N::kOne);
    if (blockLast == last) return;
    next = blockLast + N::kOne;
  }
}

template <class T>
struct IpRange {
  T first, last;
  friend bool operator==(const IpRange&, const IpRange&) = default;
};

// The allocator is for the ranges: a caller may give large sets pages of
// their own kind.
template <class T, class Allocator = std::allocator<IpRange<T>>>
class IpSet {
 public:
  using Range = IpRange<T>;
  using Ranges = std::vector<Range, Allocator>;

  IpSet() = default;
  // Any ranges (each first <= last), in any order, overlapping or not.
  explicit IpSet(Ranges ranges) : ranges_(std::move(ranges)) {
    SortByFirst(ranges_);
    Coalesce(ranges_);
    // Room reserved for the input, or freed by merging, is given back.
    if (ranges_.capacity() / 2 > ranges_.size()) ranges_.shrink_to_fit();
  }

  // Ascending, disjoint and never adjacent: each is a maximal range.
  const Ranges& ranges() const { return ranges_; }
  bool empty() const { return ranges_.empty(); }

  friend IpSet Union(const IpSet& a, const IpSet& b) {
    IpSet out;
    out.ranges_.resize(a.ranges_.size() + b.ranges_.size());
    std::merge(a.ranges_.begin(), a.ranges_.end(), b.ranges_.begin(), b.ranges_.end(), out.ranges_.begin(),
               [](const Range& x, const Range& y) { return x.first < y.first; });
    Coalesce(out.ranges_);
    return out;
  }

  // Overlaps of a range of each: two of them are never adjacent, since the
  // numbers between would lie in one range of each set.
  friend IpSet Intersection(const IpSet& a, const IpSet& b) {
    IpSet out;
    for (std::size_t i = 0, j = 0; i < a.ranges_.size() && j < b.ranges_.size();) {
      const Range &x = a.ranges_[i], &y = b.ranges_[j];
      const T first = std::max(x.first, y.first), last = std::min(x.last, y.last);
      if (first <= last) out.ranges_.push_back({first, last});
      (x.last < y.last ? i : j) += 1;
    }
    return out;
  }

  // Each range of a cut by the ranges of b that meet it.
  friend IpSet Difference(const IpSet& a, const IpSet& b) {
    IpSet out;
    std::size_t j = 0;
    for (const Range& x : a.ranges_) {
      while (j < b.ranges_.size() && b.ranges_[j].last < x.first) ++j;
      T next = x.first;
      bool open = true;  // next to x.last remains
      for (; j < b.ranges_.size() && b.ranges_[j].first <= x.last; ++j) {
        const Range& y = b.ranges_[j];
        if (y.first > next) out.ranges_.push_back({next, y.first - N::kOne});
        if (y.last >= x.last) {
          open = false;
          break;  // y may reach into the next range of a
        }
        next = y.last + N::kOne;
      }
      if (open) out.ranges_.push_back({next, x.last});
    }
    return out;
  }

  friend IpSet SymmetricDifference(const IpSet& a, const IpSet& b) {
    return Union(Difference(a, b), Difference(b, a));
  }

  AddressCount Count() const {
    AddressCount count;
    for (const Range& r : ranges_) {
      const Uint128 before = count.value;
      count.value = count.value + (N::AsUint128(r.last - r.first) + Uint128(0, 1));
      count.whole = count.whole || count.value <= before;
    }
    return count;
  }

  // Networks of the fewest-networks form.
  std::uint64_t NetworkCount() const {
    std::uint64_t count = 0;
    for (const Range& r : ranges_) SplitIntoNetworks(r.first, r.last, [&](T, unsigned) { ++count; });
    return count;
  }

 private:
  using N = NumberTraits<T>;

  static constexpr unsigned kDigitBits = 11;
  static constexpr std::size_t kDigits = 1 << kDigitBits;

  static std::size_t Digit(T value, unsigned shift) {
    if constexpr (sizeof(T) == 4) return value >> shift & (kDigits - 1);
    else return (value >> shift).low() & (kDigits - 1);
  }

  // A radix sort by the 11-bit digits in which the firsts differ, where
  // there are few of them: every IPv4 set, and IPv6 sets within a common
  // prefix (as most are); std::sort for the rest.
  static void SortByFirst(Ranges& ranges) {
    constexpr std::size_t kMaxPasses = 4;
    if (ranges.size() > 256) {
      T all = ranges[0].first, any = ranges[0].first;
      for (const Range& r : ranges) all = all & r.first, any = any | r.first;
      std::vector<unsigned> shifts;
      for (unsigned shift = 0; shift < N::kBits; shift += kDigitBits) {
        if (Digit(any & ~all, shift) != 0) shifts.push_back(shift);
      }
      if (shifts.size() <= kMaxPasses) return RadixSortByFirst(ranges, shifts);
    }
    std::sort(ranges.begin(), ranges.end(), [](const Range& x, const Range& y) { return x.first < y.first; });
  }

  // Stable passes from the lowest digit, the counts of all of them taken
  // in one pass first.
  static void RadixSortByFirst(Ranges& ranges, const std::vector<unsigned>& shifts) {
    std::vector<std::array<std::size_t, kDigits>> counts(shifts.size());
    for (const Range& r : ranges) {
      for (std::size_t pass = 0; pass < shifts.size(); ++pass) ++counts[pass][Digit(r.first, shifts[pass])];
    }
    Ranges sorted(ranges.size(), ranges.get_allocator());
    for (std::size_t pass = 0; pass < shifts.size(); ++pass) {
      std::size_t at = 0;
      for (std::size_t& count : counts[pass]) at += std::exchange(count, at);
      for (const Range& r : ranges) sorted[counts[pass][Digit(r.first, shifts[pass])]++] = r;
      ranges.swap(sorted);
    }
  }

  // Sorted by first to maximal ranges, in place. A range is joined to the
  // one before when it starts at or before its end, or right after it (no
  // wrap: that start is above the end, so at least 1).
  static void Coalesce(Ranges& ranges) {
    std::size_t kept = 0;
    for (const Range& r : ranges) {
      Range* const last = kept ? &ranges[kept - 1] : nullptr;
      if (last && (r.first <= last->last || r.first - N::kOne == last->last)) {
        last->last = std::max(last->last, r.last);
      } else {
        ranges[kept++] = r;
      }
    }
    ranges.resize(kept);
  }

  Ranges ranges_;
};

}  // namespace quadsum
