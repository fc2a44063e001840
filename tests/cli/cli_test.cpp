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
constexpr Options kV6{Direction::Auto, false, false, true}, kCidr{Direction::Auto, false, false, false, true};
constexpr Verdict kOk = Verdict::Converted, kBlank = Verdict::Blank, kAddr = Verdict::BadAddress,
                  kInt = Verdict::BadInteger, kNeither = Verdict::Unrecognized, kV6Addr = Verdict::BadIpv6,
                  kLength = Verdict::BadLength, kIntNet = Verdict::IntegerNetwork, kReversed = Verdict::Reversed,
                  kFamilies = Verdict::TwoFamilies, kKinds = Verdict::TwoKinds, kBlanks = Verdict::BlankInside,
                  kPlain = Verdict::NotSpan, kNotIpv4 = Verdict::NotPlainIpv4;

// The text printed for the value ("" unless converted; under --to-cidr its
// networks, one per line) and its verdict.
std::pair<std::string, Verdict> Converted(std::string_view value, const Options& options) {
  char out[quadsum_cli::kMaxConvertedLength];
  const auto result = Convert(value, options, out);
  std::string text = result.verdict == kOk ? std::string(out, result.end) : "";
  if (result.verdict != kOk || !options.toCidr) return {text, result.verdict};
  quadsum::Networks networks(result.value.first, result.value.last, result.value.bits);
  for (int count = 0; !networks.done() && count <= 256; ++count) {  // at most 254 networks are ever needed
    char network[quadsum::kNetworkRoom];
    text += (text.empty() ? "" : "\n") + std::string(network, networks.WriteNext(network));
  }
  return {text, result.verdict};
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
      {"255.255.255.255", kAuto, "4294967295", kOk}, {"010.001.000.009", kAuto, "", kAddr},
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
      {"0x", kAuto, "", kInt},
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
      {"1.0.0.0/8", kLenient, "", kNotIpv4}, {"::1", kLenient, "", kNotIpv4}, {"1-5", kLenient, "", kNotIpv4},
      {"1.0.0.0-1.0.0.3", kLenient, "", kNotIpv4}, {"4294967296", kLenient, "", kNotIpv4},
      // IPv6 text to its integer: groups, "::", a dotted tail (leading zeros decimal), either case.
      {"2001:db8::1", kAuto, "42540766411282592856903984951653826561", kOk},
      {"2001:DB8:0:0:0:0:0:1", kToInt, "42540766411282592856903984951653826561", kOk},
      {"::", kAuto, "0", kOk}, {"::1", kAuto, "1", kOk}, {"1:2:3:4:5:6:7::", kAuto, "5192455318486707404433266433261568", kOk},
      {"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", kAuto, "340282366920938463463374607431768211455", kOk},
      {"::8ac7:2304:89e8:0", kAuto, "10000000000000000000", kOk}, {"4b3b:4ca8:5a86:c47a:98a:2240::", kAuto, "100000000000000000000000000000000000000", kOk},
      {"7d88:da6f:1cfe:6634:ffff:ffff:ffff:6922", kAuto, "166864082214467985910188389765063076130", kOk},  // a rare quotient correction
      {"::ffff:192.0.2.1", kAuto, "281473902969345", kOk}, {"::ffff:010.0.0.1", kAuto, "", kV6Addr},
      {"64:ff9b::192.0.2.33", kAuto, "524413980667603649783483184533471777", kOk},
      {"2001:db8::1", kHex, "0x20010db8000000000000000000000001", kOk}, {"::", kHex, "0x00000000000000000000000000000000", kOk},
      {"fe80::1%eth0", kAuto, "", kV6Addr}, {"1:2:3:4:5:6:7:8:9", kAuto, "", kV6Addr}, {"1::2::3", kAuto, "", kV6Addr},
      {"12345::1", kAuto, "", kV6Addr}, {"::ffff:1.2.3.256", kAuto, "", kV6Addr}, {"::ffff:1.2.3", kAuto, "", kV6Addr},
      {"1:2:3:4:5:6:7:1.2.3.4", kAuto, "", kV6Addr}, {"1:2:3:4:5:6:7:8::", kAuto, "", kV6Addr}, {":1::", kAuto, "", kV6Addr},
      {"1:", kAuto, "", kV6Addr}, {"1:::2", kAuto, "", kV6Addr}, {"::g", kAuto, "", kV6Addr}, {"1:2:3:4:5:6:7", kAuto, "", kV6Addr},
      {"::1", kToIp, "", kInt},
      // Integers above 32 bits, with 9 to 32 hex digits or under -6 to IPv6 text in its recommended form.
      {"42540766411282592856903984951653826561", kAuto, "2001:db8::1", kOk}, {"4294967296", kAuto, "::1:0:0", kOk},
      {"340282366920938463463374607431768211455", kAuto, "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", kOk},
      {"272996653310673477252411125948039410165", kAuto, "cd61:3e30:d8f1:6adf:91b7:584a:2265:b1f5", kOk},
      {"0x000000001", kAuto, "::1", kOk}, {"0x20010DB8000000000000000000000001", kToIp, "2001:db8::1", kOk},
      {"281473902969345", kAuto, "::ffff:192.0.2.1", kOk}, {"16909060", kV6, "::102:304", kOk}, {"0", kV6, "::", kOk},
      {"5192296858534864522018643748519940", kAuto, "1::2:0:0:3:4", kOk},
      {"5192296860952679267759754678829060", kAuto, "1:0:2::3:4", kOk},
      {"5192296860952734609117897189359623", kAuto, "1:0:2:3:4:5:6:7", kOk},
      {"340282366920938463463374607431768211456", kAuto, "", kInt}, {"0x100000000000000000000000000000000", kAuto, "", kInt},
      // Networks and ranges: both ends, by default networks as integers and ranges the other way.
      {"192.168.0.77/24", kAuto, "3232235520\t3232235775", kOk}, {"0.0.0.0/0", kAuto, "0\t4294967295", kOk},
      {" 1.2.3.4/32\r", kAuto, "16909060\t16909060", kOk}, {"1.0.0.0/24", kToIp, "1.0.0.0\t1.0.0.255", kOk},
      {"2001:db8::/32", kAuto, "42540766411282592856903984951653826560\t42540766490510755371168322545197776895", kOk},
      {"::/0", kHex, "0x00000000000000000000000000000000\t0xffffffffffffffffffffffffffffffff", kOk},
      {"::1/128", kAuto, "1\t1", kOk}, {"1.0.0.0-1.0.0.255", kAuto, "16777216\t16777471", kOk},
      {"16777216-16777471", kAuto, "1.0.0.0\t1.0.0.255", kOk}, {"16777216-16777471", kToInt, "16777216\t16777471", kOk},
      {"1-2", kV6, "::1\t::2", kOk}, {"0x1-0xff", kAuto, "0.0.0.1\t0.0.0.255", kOk}, {"::1-::1", kAuto, "1\t1", kOk},
      {"1.0.0.0/33", kAuto, "", kLength}, {"::/129", kAuto, "", kLength}, {"1.0.0.0/", kAuto, "", kLength},
      {"1.0.0.0/-1", kAuto, "", kLength}, {"1.0.0.0/0x8", kAuto, "", kLength}, {"::/0128", kAuto, "", kLength},
      {"16777216/24", kAuto, "", kIntNet}, {"1.0.0.256/24", kAuto, "", kAddr}, {"::g/64", kAuto, "", kV6Addr},
      {"1.0.0.2-1.0.0.1", kAuto, "", kReversed}, {"1.0.0.0-16777471", kAuto, "", kKinds},
      {"1.0.0.0-::1", kAuto, "", kFamilies}, {"0-4294967296", kAuto, "", kFamilies},
      {"1.0.0.0 -1.0.0.1", kAuto, "", kBlanks}, {"1.0.0.0/ 8", kAuto, "", kBlanks}, {"1.0.0.0-", kAuto, "", kInt},
      // --to-cidr: the fewest networks covering exactly the range.
      {"1.0.0.0-1.0.0.10", kCidr, "1.0.0.0/29\n1.0.0.8/31\n1.0.0.10/32", kOk}, {"1.0.0.5/24", kCidr, "1.0.0.0/24", kOk},
      {"0.0.0.0-255.255.255.255", kCidr, "0.0.0.0/0", kOk}, {"0-3", kCidr, "0.0.0.0/30", kOk},
      {"255.255.255.255-255.255.255.255", kCidr, "255.255.255.255/32", kOk}, {"::1-::2", kCidr, "::1/128\n::2/128", kOk},
      {"::-ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", kCidr, "::/0", kOk},
      {"ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe-ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", kCidr,
       "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/127", kOk},
      {"::ffff:1.0.0.1-::ffff:1.0.0.6", kCidr, "::ffff:1.0.0.1/128\n::ffff:1.0.0.2/127\n::ffff:1.0.0.4/127\n::ffff:1.0.0.6/128", kOk},
      {"1::/64", kCidr, "1::/64", kOk}, {"::ffff:ffff:ffff:ffff-::1:0:0:0:1", kCidr, "::ffff:ffff:ffff:ffff/128\n0:0:0:1::/127", kOk},
      {"1.2.3.4", kCidr, "", kPlain}, {"1", kCidr, "", kPlain}, {"", kCidr, "", kBlank},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Converted(row.value, row.options), std::make_pair(row.out, row.verdict))
        << "value \"" << row.value << "\", direction " << static_cast<int>(row.options.direction)
        << (row.options.hex ? ", hex" : "") << (row.options.lenient ? ", lenient" : "")
        << (row.options.ipv6 ? ", -6" : "") << (row.options.toCidr ? ", --to-cidr" : "");
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
