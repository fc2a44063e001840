// One value of quadsum-cli in, its output text and verdict out, as the
// program prints it for an argument or an input line.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cli/convert.h"
#include "tests/logic/conversion_rows.h"

namespace {

using quadsum_cli::Convert;
using quadsum_cli::Direction;
using quadsum_cli::Options;
using quadsum_cli::Verdict;

constexpr Options kAuto{}, kToInt{Direction::ToInteger}, kToIp{Direction::ToAddress};
constexpr Options kHex{Direction::Auto, false, true}, kLenient{Direction::Auto, true};
constexpr Verdict kOk = Verdict::Converted, kBlank = Verdict::Blank, kAddr = Verdict::BadAddress,
                  kInt = Verdict::BadInteger, kNeither = Verdict::Unrecognized;

// The text printed for the value ("" unless converted) and its verdict.
std::pair<std::string, Verdict> Converted(std::string_view value, const Options& options) {
  char out[quadsum_cli::kMaxConvertedLength];
  const auto result = Convert(value, options, out);
  return {result.verdict == kOk ? std::string(out, result.end) : "", result.verdict};
}

struct Row {
  std::string value;
  Options options;
  std::string out;
  Verdict verdict;
};

TEST(Convert, AddressesIntegersDirectionsAndFormats) {
  const Row rows[] = {
      // Strict addresses; leading zeros are decimal; blanks and one CR around.
      {"192.168.0.1", kAuto, "3232235521", kOk}, {"0.0.0.0", kAuto, "0", kOk},
      {"255.255.255.255", kAuto, "4294967295", kOk}, {"010.001.000.009", kAuto, "167837705", kOk},
      {" \t1.2.3.4 \r", kAuto, "16909060", kOk}, {"1.2.3.4", kToInt, "16909060", kOk},
      {"1.2.3", kAuto, "", kAddr}, {"1.2.3.4.", kAuto, "", kAddr}, {".1.2.3", kAuto, "", kAddr},
      {"1..2.3", kAuto, "", kAddr}, {"256.0.0.0", kAuto, "", kAddr}, {"1.2.3.256", kAuto, "", kAddr},
      {"0001.2.3.4", kAuto, "", kAddr}, {"1.2.3.4.5", kAuto, "", kAddr}, {"1.2.3.-4", kAuto, "", kAddr},
      {"+1.2.3.4", kAuto, "", kAddr}, {"1. 2.3.4", kAuto, "", kAddr}, {"1.2.3.4\r\r", kAuto, "", kAddr},
      {"1.2.3.0x1", kAuto, "", kAddr}, {"1.2.3.4e0", kAuto, "", kAddr}, {"1.2.3.4\n", kAuto, "", kAddr},
      {"1.2.3.4 5", kAuto, "", kAddr}, {"10", kToInt, "", kAddr}, {"1\xef\xbc\x8e" "2.3.4", kAuto, "", kAddr},
      // Integers, decimal and hex, to the address.
      {"3232235521", kAuto, "192.168.0.1", kOk}, {"0xc0a80001", kAuto, "192.168.0.1", kOk},
      {"0xC0A80001", kAuto, "192.168.0.1", kOk}, {"0", kAuto, "0.0.0.0", kOk},
      {"4294967295", kAuto, "255.255.255.255", kOk}, {"000004294967295", kAuto, "255.255.255.255", kOk},
      {"0xffffffff", kAuto, "255.255.255.255", kOk}, {"0x0", kAuto, "0.0.0.0", kOk},
      {"0x00000001", kAuto, "0.0.0.1", kOk}, {" 16909060\t", kToIp, "1.2.3.4", kOk},
      {"4294967296", kAuto, "", kInt}, {"99999999999999999999", kAuto, "", kInt},
      {"0x", kAuto, "", kInt}, {"0x100000000", kAuto, "", kInt}, {"0x000000001", kAuto, "", kInt},
      {"0xg", kAuto, "", kInt}, {"0x-1", kAuto, "", kInt}, {"0x 1", kAuto, "", kInt},
      {"-1", kToIp, "", kInt}, {"+1", kToIp, "", kInt}, {"1.2.3.4", kToIp, "", kInt},
      {"-1", kAuto, "", kNeither}, {"+1", kAuto, "", kNeither}, {"12a", kAuto, "", kNeither},
      {"1 2", kAuto, "", kNeither}, {"0X1", kAuto, "", kNeither}, {"localhost", kAuto, "", kNeither},
      // Blank values, in every direction.
      {"", kAuto, "", kBlank}, {" \t ", kToInt, "", kBlank}, {"\r", kToIp, "", kBlank},
      {"\t\r", kLenient, "", kBlank},
      // Hex is for printed integers; lenient is the window's reading.
      {"192.168.0.1", kHex, "0xc0a80001", kOk}, {"0.0.0.0", kHex, "0x00000000", kOk},
      {"0.0.0.10", kHex, "0x0000000a", kOk}, {"3232235521", kHex, "192.168.0.1", kOk},
      {"256.0.0.0", kLenient, "4294967296", kOk}, {"123", kLenient, "0.0.0.123", kOk},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Converted(row.value, row.options), std::make_pair(row.out, row.verdict))
        << "value \"" << row.value << "\", direction " << static_cast<int>(row.options.direction)
        << (row.options.hex ? ", hex" : "") << (row.options.lenient ? ", lenient" : "");
  }
}

// Every window row that can be a line of input gives the window's text,
// and is invalid exactly where the window shows nothing.
TEST(Convert, LenientGivesTheWindowsText) {
  for (const auto& row : quadsum_test::kConversionRows) {
    if (std::strpbrk(row.text, "\r\n")) continue;  // no line holds these (NUL ends the text)
    const bool hasPeriod = std::strchr(row.text, '.') != nullptr;
    for (const Direction direction : {Direction::ToInteger, Direction::Auto}) {
      if (direction == Direction::Auto && !hasPeriod) continue;  // would be read as an integer
      const auto [out, verdict] = Converted(row.text, {direction, true});
      EXPECT_EQ(out, row.expected) << "text \"" << row.text << '"';
      EXPECT_EQ(verdict == kOk, *row.expected != '\0') << "text \"" << row.text << '"';
    }
  }
}

}  // namespace
