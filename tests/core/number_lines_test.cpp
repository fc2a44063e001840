// The one-pass loop's routines (core/number_lines.h): the portable twins
// and, on x86, the SSSE3 twins, on the same rows. A parse takes exactly the
// lines of its shape, with their value and length; a writer writes the
// value's digits. On an x86 processor without SSSE3 the tests fail: the
// program would run its slow path there.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/number_lines.h"

namespace {

using quadsum::Uint128;

struct Twins {
  const char* name;
  std::size_t (*addressLine)(const char*, std::uint32_t&);
  std::size_t (*integerLine)(const char*, std::uint32_t&);
  char* (*writeDecimal32)(std::uint32_t, char*);
  std::size_t (*ipv6Line)(const char*, Uint128&);
  std::size_t (*decimalLine)(const char*, Uint128&);
  char* (*writeDecimal128)(Uint128, char*);
};

std::vector<Twins> TwinsHere() {
  namespace portable = quadsum::portable;
  std::vector<Twins> twins{{"portable", portable::AddressLine, portable::IntegerLine, portable::WriteDecimal32,
                            portable::Ipv6Line, portable::DecimalLine, portable::WriteDecimal128}};
#if QUADSUM_SSSE3
  namespace ssse3 = quadsum::ssse3;
  if (quadsum::HasSsse3()) {
    twins.push_back({"ssse3", ssse3::AddressLine, ssse3::IntegerLine, ssse3::WriteDecimal32, ssse3::Ipv6Line,
                     ssse3::DecimalLine, ssse3::WriteDecimal128});
  } else {
    ADD_FAILURE() << "this x86 processor lacks SSSE3: its twins cannot run";
  }
#endif
  return twins;
}

// The line in a block of kLongLine readable bytes, digits after it: a parse
// that reads past the LF sees a longer number.
std::string Block(const std::string& line) { return line + std::string(2 * quadsum::kLongLine - line.size(), '7'); }

using Halves = std::pair<std::uint64_t, std::uint64_t>;
Halves Split(Uint128 value) { return {value.high(), value.low()}; }

// A line and what a parse gives for it: its length with the LF (0: not
// taken) and its value.
struct ShortRow {
  std::string line;
  std::size_t length;
  std::uint32_t value;
};

void ExpectShortRows(std::size_t (*parse)(const char*, std::uint32_t&), const char* name,
                     const std::vector<ShortRow>& rows) {
  for (const ShortRow& row : rows) {
    std::uint32_t value = 0;
    const std::size_t length = parse(Block(row.line).c_str(), value);
    EXPECT_EQ(std::make_pair(length, length ? value : 0), std::make_pair(row.length, row.value))
        << name << " \"" << row.line << '"';
  }
}

TEST(NumberLines, AddressLinesAreStrictIpv4) {
  const std::vector<ShortRow> rows = {
      {"0.0.0.0\n", 8, 0}, {"1.2.3.4\n", 8, 0x01020304}, {"1.2.3.4\r\n", 9, 0x01020304},
      {"255.255.255.255\n", 16, 0xFFFFFFFF}, {"10.100.200.0\n", 13, 0x0A64C800}, {"100.20.3.40\n", 12, 0x64140328},
      {"9.99.199.250\n", 13, 0x0963C7FA}, {"192.168.0.1\n", 12, 0xC0A80001}, {"0.10.100.0\r\n", 12, 0x000A6400},
      // A leading zero in any part, as inet_pton refuses it; out of range in any part.
      {"01.2.3.4\n", 0, 0}, {"1.02.3.4\n", 0, 0}, {"1.2.003.4\n", 0, 0}, {"1.2.3.00\n", 0, 0}, {"0.0.0.010\n", 0, 0},
      {"256.1.1.1\n", 0, 0}, {"1.256.1.1\n", 0, 0}, {"1.1.999.1\n", 0, 0}, {"1.1.1.300\n", 0, 0},
      // Not four parts of 1 to 3 digits, something else on the line, no LF within 16 bytes.
      {"1.2.3\n", 0, 0}, {"1.2.3.4.5\n", 0, 0}, {"1..2.3\n", 0, 0}, {".1.2.3\n", 0, 0}, {"1.2.3.\n", 0, 0},
      {"1234.1.1.1\n", 0, 0}, {"1.2.3.4 \n", 0, 0}, {" 1.2.3.4\n", 0, 0}, {"1.2.3.4\r\r\n", 0, 0},
      {"1.2.3.4x\n", 0, 0}, {"1.2.3.+4\n", 0, 0}, {"1.2.3.4\r5\n", 0, 0}, {"\n", 0, 0}, {"1.2.3.4", 0, 0},
      {"255.255.255.255\r\n", 0, 0}, {"16909060\n", 0, 0}, {"::1\n", 0, 0},
  };
  for (const Twins& twins : TwinsHere()) ExpectShortRows(twins.addressLine, twins.name, rows);
}

TEST(NumberLines, IntegerLinesAreUpToTenDecimalDigits) {
  const std::vector<ShortRow> rows = {
      {"0\n", 2, 0}, {"7\r\n", 3, 7}, {"4294967295\n", 11, 0xFFFFFFFF}, {"0000000001\n", 11, 1},
      {"1234567890\r\n", 12, 1234567890}, {"16909060\n", 9, 16909060}, {"100000000\n", 10, 100000000},
      {"99999999\n", 9, 99999999}, {"3000000000\n", 11, 3000000000},
      // Above 32 bits, more than 10 digits (leading zeros too: left to the long lines), not decimal.
      {"4294967296\n", 0, 0}, {"9999999999\n", 0, 0}, {"00000000001\n", 0, 0}, {"123456789012345\n", 0, 0},
      {"1.2\n", 0, 0}, {"0x1\n", 0, 0}, {"-1\n", 0, 0}, {"+1\n", 0, 0}, {"12 \n", 0, 0}, {"1a\n", 0, 0},
      {"\n", 0, 0}, {"1", 0, 0}, {"1\r\r\n", 0, 0},
  };
  for (const Twins& twins : TwinsHere()) ExpectShortRows(twins.integerLine, twins.name, rows);
}

struct LongRow {
  std::string line;
  std::size_t length;
  Halves value;
};

void ExpectLongRows(std::size_t (*parse)(const char*, Uint128&), const char* name, const std::vector<LongRow>& rows) {
  for (const LongRow& row : rows) {
    Uint128 value;
    const std::size_t length = parse(Block(row.line).c_str(), value);
    EXPECT_EQ(std::make_pair(length, length ? Split(value) : Halves{}), std::make_pair(row.length, row.value))
        << name << " \"" << row.line << '"';
  }
}

TEST(NumberLines, Ipv6LinesAreTextInFull) {
  const std::vector<LongRow> rows = {
      {"1:2:3:4:5:6:7:8\n", 16, {0x0001000200030004, 0x0005000600070008}},
      {"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff\n", 40, {~0ull, ~0ull}},
      {"FFFF:0:ABCD:ef01:2345:6789:aBcD:0\r\n", 35, {0xffff0000abcdef01, 0x23456789abcd0000}},
      {"0:0:0:0:0:0:0:0\n", 16, {0, 0}},
      {"2001:0db8:0000:0000:0000:ff00:0042:8329\r\n", 41, {0x20010db800000000, 0x0000ff0000428329}},
      {"2001:db8:85a3:8d3:1319:8a2e:370:7348\n", 37, {0x20010db885a308d3, 0x13198a2e03707348}},
      {"ffff:ffff:ffff:ffff:1:22:333:4444\n", 34, {~0ull, 0x0001002203334444}},
      {"1:22:333:4444:5555:666:77:8\r\n", 29, {0x0001002203334444, 0x5555066600770008}},
      // Every digit in its own place: eight groups of four take a shorter path.
      {"0123:4567:89aB:cDeF:fEdC:bA98:7654:3210\n", 40, {0x0123456789abcdef, 0xfedcba9876543210}},
      {"0123:4567:89ab:cdef:fedc:ba98:7654:321g\n", 0, {}},
      // Not eight groups of 1 to 4 hex digits: "::", a dotted tail, a zone, blanks, no LF.
      {"1:2:3:4:5:6:7\n", 0, {}}, {"1:2:3:4:5:6:7:8:9\n", 0, {}}, {"1::3:4:5:6:7:8\n", 0, {}},
      {"::2:3:4:5:6:7:8\n", 0, {}}, {"1:2:3:4:5:6:7::\n", 0, {}}, {":1:2:3:4:5:6:7\n", 0, {}},
      {"1:2:3:4:5:6:7:\n", 0, {}}, {"1:2:3::5:6:7:8\n", 0, {}}, {"1:2:3:4:5:6::8\n", 0, {}},
      {"12345:2:3:4:5:6:7:8\n", 0, {}}, {"1:2:3:4:5:6:7:12345\n", 0, {}}, {"1:2:3:4:5:66666:7:8\n", 0, {}},
      {"ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffff\n", 0, {}}, {"1:2:3:4:5:6:7:g\n", 0, {}},
      {"1:2:3:4:5:6:1.2.3.4\n", 0, {}}, {"::\n", 0, {}}, {"::1\n", 0, {}}, {"fe80::1%eth0\n", 0, {}},
      {"1:2:3:4:5:6:7:8 \n", 0, {}}, {"1:2:3:4:5:6:7:8\r\r\n", 0, {}}, {"1:2:3:4:5:6:7:8", 0, {}}, {"\n", 0, {}},
  };
  for (const Twins& twins : TwinsHere()) ExpectLongRows(twins.ipv6Line, twins.name, rows);
}

TEST(NumberLines, DecimalLinesAreUpTo39DigitsBelow2To128) {
  const std::vector<LongRow> rows = {
      {"0\n", 2, {0, 0}}, {"1\r\n", 3, {0, 1}}, {"18446744073709551615\n", 21, {0, ~0ull}},
      {"18446744073709551616\n", 21, {1, 0}}, {"9999999999999999\n", 17, {0, 0x002386f26fc0ffff}},
      {"10000000000000000\r\n", 19, {0, 0x002386f26fc10000}},
      {"12345678901234567890123456789012\n", 33, {0x0000009bd30a3c64, 0x5943dd1690a03a14}},
      {"123456789012345678901234567890123\n", 34, {0x000006163e665beb, 0x7ca6a2e1a64244cb}},
      {"42540766411282592856903984951653826561\n", 39, {0x20010db800000000, 1}},
      {"00000000000000000000000000000000000001\n", 39, {0, 1}},
      {"340282366920938463463374607431768211455\r\n", 41, {~0ull, ~0ull}},
      {"099999999999999999999999999999999999999\n", 40, {0x4b3b4ca85a86c47a, 0x098a223fffffffff}},
      // 2^128 and above, more than 39 digits (leading zeros too), not decimal, no LF.
      {"340282366920938463463374607431768211456\n", 0, {}}, {"999999999999999999999999999999999999999\n", 0, {}},
      {"0340282366920938463463374607431768211455\n", 0, {}}, {"\n", 0, {}}, {"12a\n", 0, {}}, {"0x10\n", 0, {}},
      {"-1\n", 0, {}}, {"1 \n", 0, {}}, {"1.0\n", 0, {}}, {"1:2\n", 0, {}}, {"1", 0, {}}, {"1\r\r\n", 0, {}},
  };
  for (const Twins& twins : TwinsHere()) ExpectLongRows(twins.decimalLine, twins.name, rows);
}

TEST(NumberLines, WritersWriteEveryDigit) {
  std::vector<std::uint32_t> values = {4294967295, 1234567890, 305419896, 4000000000};
  for (std::uint64_t power = 1; power <= 1000000000; power *= 10) {
    values.insert(values.end(), {static_cast<std::uint32_t>(power - 1), static_cast<std::uint32_t>(power)});
  }
  // Every length: 10^k - 1, 10^k and 10^k + 1, up to 39 digits; then values with every digit.
  std::vector<std::pair<Uint128, std::string>> rows128 = {{Uint128(0, 0), "0"}, {Uint128(0, 1), "1"}};
  Uint128 power(0, 1);
  for (std::size_t digits = 2; digits <= quadsum::kMaxNumberLength; ++digits) {
    power = (power << 3) + (power << 1);
    rows128.insert(rows128.end(), {{power - Uint128(0, 1), std::string(digits - 1, '9')},
                                   {power, "1" + std::string(digits - 1, '0')},
                                   {power + Uint128(0, 1), "1" + std::string(digits - 2, '0') + "1"}});
  }
  rows128.insert(rows128.end(), {{Uint128(0, ~0ull), "18446744073709551615"}, {Uint128(1, 0), "18446744073709551616"},
                                 {Uint128::Max(), "340282366920938463463374607431768211455"},
                                 {{0x5ce0e9a56015fec5, 0xaadfa328ae398115}, "123456789012345678901234567890123456789"},
                                 {{0xe1b1e5f90f944d6e, 0xa76589c489e80000}, "300000000000000000010000000000000000000"},
                                 // Multiples of 10^16 and 10^19 whose division by reciprocal needs its last step.
                                 {{0x001cd647122d1c6d, 0x6ffab2d61d410000}, "149730378518961227530000000000000000"},
                                 {{0x85aa6239fabd55fe, 0xfe104c24f2780000}, "177672006175091298510000000000000000000"}});
  for (const Twins& twins : TwinsHere()) {
    for (const std::uint32_t value : values) {
      char out[quadsum::kShortLine];
      EXPECT_EQ(std::string(out, twins.writeDecimal32(value, out)), std::to_string(value)) << twins.name;
    }
    for (const auto& [value, text] : rows128) {
      char out[quadsum::kInteger128Room];
      EXPECT_EQ(std::string(out, twins.writeDecimal128(value, out)), text) << twins.name;
    }
  }
}

}  // namespace
