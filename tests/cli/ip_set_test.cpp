// IP sets against a brute-force model: a bitset over a universe of 4,096
// numbers, at 0, at the top of each family, at ::ffff:0:0/96 and where the
// low 64 bits of a 128-bit number carry into the high ones.

#include <gtest/gtest.h>

#include <bitset>
#include <random>
#include <string>
#include <type_traits>

#include "core/ip_set.h"

namespace {

using quadsum::IpSet;
using quadsum::NumberTraits;
using quadsum::Uint128;

constexpr std::size_t kUniverse = 4096;
using Bits = std::bitset<kUniverse>;

template <class T>
T Plus(T base, std::size_t offset) {
  if constexpr (std::is_same_v<T, Uint128>) return base + Uint128(0, offset);
  else return base + static_cast<T>(offset);
}

template <class T>
std::size_t Offset(T value, T base) {
  const Uint128 offset = NumberTraits<T>::AsUint128(value - base);
  EXPECT_LT(offset, Uint128(0, kUniverse)) << "a number outside the universe";
  return offset.high() ? kUniverse - 1 : static_cast<std::size_t>(std::min<std::uint64_t>(offset.low(), kUniverse - 1));
}

// The numbers of the set, after checking that its ranges are maximal: in
// order, non-empty, neither overlapping nor adjacent.
template <class T>
Bits Model(const IpSet<T>& set, T base) {
  Bits bits;
  std::size_t next = 0;
  for (const auto& r : set.ranges()) {
    const std::size_t first = Offset(r.first, base), last = Offset(r.last, base);
    EXPECT_LE(first, last);
    EXPECT_TRUE(&r == set.ranges().data() || first > next) << "ranges out of order, overlapping or adjacent";
    for (std::size_t i = first; i <= last; ++i) bits.set(i);
    next = last + 1;
  }
  return bits;
}

// Every network lies in the set, its parent does not, and together they
// are the set; their number is what NetworkCount tells.
template <class T>
void CheckNetworks(const IpSet<T>& set, T base, const Bits& bits) {
  using N = NumberTraits<T>;
  Bits covered;
  std::uint64_t count = 0;
  for (const auto& r : set.ranges()) {
    quadsum::SplitIntoNetworks(r.first, r.last, [&](T first, unsigned length) {
      ++count;
      const unsigned hostBits = N::kBits - length;
      ASSERT_LE(hostBits, 12u) << "a network larger than the universe";
      const std::size_t start = Offset(first, base), size = std::size_t{1} << hostBits;
      EXPECT_GE(N::TrailingZeros(first), hostBits) << "network not aligned";
      for (std::size_t i = start; i < start + size; ++i) {
        EXPECT_TRUE(bits[i] && !covered[i]) << "network outside the set or overlapping";
        covered.set(i);
      }
      // The parent: this block and its sibling, aligned to twice the size.
      // A parent reaching outside the universe is not in the set.
      const Uint128 parent = N::AsUint128((first & ~(N::kOne << hostBits)) - base);
      bool inside = parent < Uint128(0, kUniverse) && parent.low() + 2 * size <= kUniverse;
      for (std::size_t i = parent.low(); inside && i < parent.low() + 2 * size; ++i) inside = bits[i];
      EXPECT_FALSE(inside) << "a network whose parent lies in the set";
    });
  }
  EXPECT_EQ(covered, bits);
  EXPECT_EQ(set.NetworkCount(), count);
}

template <class T>
void CheckUniverse(T base, std::uint32_t seed) {
  std::mt19937 random(seed);
  auto randomSet = [&](Bits& bits) {
    typename IpSet<T>::Ranges ranges;
    for (int n = random() % 12; n > 0; --n) {
      const std::size_t first = random() % kUniverse, spans[] = {1, 16, 300, kUniverse};
      const std::size_t last = std::min(kUniverse - 1, first + random() % spans[random() % 4]);
      ranges.push_back({Plus(base, first), Plus(base, last)});
      for (std::size_t i = first; i <= last; ++i) bits.set(i);
    }
    return IpSet<T>(ranges);
  };
  for (int round = 0; round < 300; ++round) {
    Bits a, b;
    const IpSet<T> x = randomSet(a), y = randomSet(b);
    EXPECT_EQ(Model(x, base), a);
    EXPECT_EQ(Model(Union(x, y), base), a | b);
    EXPECT_EQ(Model(Intersection(x, y), base), a & b);
    EXPECT_EQ(Model(Difference(x, y), base), a & ~b);
    EXPECT_EQ(Model(SymmetricDifference(x, y), base), a ^ b);
    const auto count = x.Count();
    EXPECT_EQ(count.value, Uint128(0, a.count()));
    EXPECT_FALSE(count.whole);
    CheckNetworks(x, base, a);
    CheckNetworks(SymmetricDifference(x, y), base, a ^ b);
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(IpSet, OperationsAgreeWithTheModel) {
  constexpr std::uint32_t kTop32 = 0xFFFFFFFF - (kUniverse - 1);
  for (const std::uint32_t base : {0u, kTop32, 0x0A0FF800u}) {
    SCOPED_TRACE("IPv4 universe at " + std::to_string(base));
    CheckUniverse<std::uint32_t>(base, base);
  }
  const Uint128 bases[] = {{}, Uint128::Max() - Uint128(0, kUniverse - 1), Uint128(0, 0xFFFF00000000),
                           Uint128(0x20010db8, ~std::uint64_t{0} - 2047)};
  for (const Uint128& base : bases) {
    SCOPED_TRACE("IPv6 universe at " + std::to_string(base.high()) + ":" + std::to_string(base.low()));
    CheckUniverse<Uint128>(base, static_cast<std::uint32_t>(base.low()));
  }
}

// Many ranges, so the radix sort runs (on digits low and high, few or
// many of them), against std::sort's order and a plain merge.
template <class T, class F>
void CheckLargeInput(F&& randomFirst) {
  typename IpSet<T>::Ranges ranges, merged;
  for (int i = 0; i < 5000; ++i) {
    const T first = randomFirst();
    ranges.push_back({first, first + Plus(T{}, i % 7 ? i % 50 : 0)});
  }
  auto sorted = ranges;
  std::sort(sorted.begin(), sorted.end(), [](auto& x, auto& y) { return x.first < y.first; });
  for (const auto& r : sorted) {
    if (!merged.empty() && r.first <= merged.back().last + NumberTraits<T>::kOne) merged.back().last = std::max(merged.back().last, r.last);
    else merged.push_back(r);
  }
  EXPECT_EQ(IpSet<T>(ranges).ranges(), merged);
}

TEST(IpSet, LargeUnsortedInputs) {
  std::mt19937_64 random(7);
  CheckLargeInput<std::uint32_t>([&] { return static_cast<std::uint32_t>(random() % 200000); });
  CheckLargeInput<std::uint32_t>([&] { return static_cast<std::uint32_t>(random() >> 40 << 8); });
  CheckLargeInput<Uint128>([&] { return Uint128(0x20010db800000000, random() % 200000); });
  CheckLargeInput<Uint128>([&] { return Uint128(random() % 5000 << 50, 77); });
  CheckLargeInput<Uint128>([&] { return Uint128(random() >> 8, random() % 100000); });
}

// The whole of each family and its top number: counts past the number
// type, and ranges that end where last + 1 wraps.
TEST(IpSet, WholeFamiliesAndTheirTop) {
  const auto v4Max = NumberTraits<std::uint32_t>::kMax;
  const IpSet<std::uint32_t> all4({{5, v4Max}, {0, 4}}), top4({{v4Max, v4Max}});
  EXPECT_EQ(all4.ranges().size(), 1u);
  EXPECT_EQ(all4.Count().value, Uint128(0, std::uint64_t{1} << 32));
  EXPECT_EQ(all4.NetworkCount(), 1u);
  EXPECT_EQ(Difference(all4, top4).ranges(), (IpSet<std::uint32_t>::Ranges{{0, v4Max - 1}}));
  EXPECT_EQ(Union(Difference(all4, top4), top4).ranges(), all4.ranges());
  EXPECT_EQ(SymmetricDifference(all4, all4).ranges().size(), 0u);
  const Uint128 max = Uint128::Max(), one(0, 1);
  const IpSet<Uint128> all6({{Uint128(1, 0), max}, {{}, Uint128(0, ~std::uint64_t{0})}}), top6({{max, max}});
  EXPECT_EQ(all6.ranges().size(), 1u);
  EXPECT_TRUE(all6.Count().whole);
  EXPECT_EQ(all6.Count().value, Uint128());
  EXPECT_EQ(all6.NetworkCount(), 1u);
  const IpSet<Uint128> allButTop = Difference(all6, top6);
  EXPECT_FALSE(allButTop.Count().whole);
  EXPECT_EQ(allButTop.Count().value, max);
  EXPECT_EQ(allButTop.NetworkCount(), 128u);
  EXPECT_EQ(Intersection(allButTop, top6).ranges().size(), 0u);
  EXPECT_EQ(Union(allButTop, top6).ranges(), all6.ranges());
  EXPECT_EQ(top6.Count().value, one);
}

}  // namespace
