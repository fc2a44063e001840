// One value of quadsum-cli in, its output text and verdict out, as the
// program prints it for an argument or an input line; and whether the
// one-pass loop over common lines takes it as a line of input.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cli/common_lines.h"
#include "cli/convert.h"
#include "core/ip_value.h"
#include "tests/logic/conversion_rows.h"

namespace {

using quadsum_cli::Convert;
using quadsum_cli::Direction;
using quadsum_cli::Options;
using quadsum_cli::Verdict;

constexpr Options kAuto{}, kToInt{.direction = Direction::ToInteger}, kToIp{.direction = Direction::ToAddress};
constexpr Options kHex{.hex = true}, kLenient{.lenient = true}, kV6{.ipv6 = true}, kCidr{.toCidr = true};
constexpr Verdict kOk = Verdict::Converted, kBlank = Verdict::Blank, kZero = Verdict::LeadingZero,
                  kAddr = Verdict::BadAddress, kInt = Verdict::BadInteger, kLongHex = Verdict::LongHex,
                  kNeither = Verdict::Unrecognized, kV6Addr = Verdict::BadIpv6, kLength = Verdict::BadLength,
                  kLongLength = Verdict::LongLength, kMask = Verdict::BadMask, kIntNet = Verdict::IntegerNetwork,
                  kReversed = Verdict::Reversed, kFamilies = Verdict::TwoFamilies, kKinds = Verdict::TwoKinds,
                  kBlanks = Verdict::BlankInside, kPlain = Verdict::NotSpan, kNotIpv4 = Verdict::NotPlainIpv4;

// Whether the one-pass loop must take the value as a line of its own.
enum Path { kGeneral, kLoop };

struct Row {
  std::string value;
  Options options;
  std::string out;  // "" unless converted; under --to-cidr the networks, one per line
  Verdict verdict;
  Path path = kGeneral;
};

// The text printed for the value and its verdict.
std::pair<std::string, Verdict> Converted(std::string_view value, const Options& options) {
  char out[quadsum_cli::kMaxConvertedLength];
  const auto result = Convert(value, options, out);
  std::string text = result.verdict == kOk ? std::string(out, result.end) : "";
  if (result.verdict != kOk || !options.toCidr) return {text, result.verdict};
  quadsum::ForEachNetwork(result.value.first, result.value.last, result.value.bits, [&](std::string_view network) {
    text += (text.empty() ? "" : "\n") + std::string(network);
  });
  return {text, result.verdict};
}

std::string Described(const Row& row) {
  const Options& o = row.options;
  return "value \"" + row.value + "\", direction " + std::to_string(static_cast<int>(o.direction)) +
         (o.hex ? ", hex" : "") + (o.lenient ? ", lenient" : "") + (o.ipv6 ? ", -6" : "") + (o.toCidr ? ", --to-cidr" : "");
}

// The value as a line of input, in both line parses of the one-pass loop:
// taken exactly when the row says so, printing what Convert prints, and
// only ever a value the classifier calls plain.
void ExpectLoop(const Row& row) {
  if (row.value.find('\n') != std::string::npos) return;  // not one line
  const std::string block = row.value + '\n' + std::string(48, 'x');  // the loop reads ahead of a line
  for (const auto parse : {quadsum_cli::LineParse::Fastest, quadsum_cli::LineParse::Portable}) {
    char out[1024];
    const auto done = quadsum_cli::ConvertCommonLines(block, row.options, out, out + sizeof out, parse);
    EXPECT_EQ(done.lines, row.path == kLoop ? 1u : 0u) << Described(row) << ", parse " << static_cast<int>(parse);
    if (done.lines == 0) continue;
    EXPECT_EQ(std::string(out, done.out), row.out + '\n') << Described(row);
    EXPECT_EQ(quadsum::ShapeOf(row.value, row.options.lenient), quadsum::Shape::Plain) << Described(row);
  }
}

void ExpectRows(std::initializer_list<Row> rows) {
  for (const Row& row : rows) {
    EXPECT_EQ(Converted(row.value, row.options), std::make_pair(row.out, row.verdict)) << Described(row);
    ExpectLoop(row);
  }
}

TEST(Convert, StrictIpv4Addresses) {
  ExpectRows({
      {"192.168.0.1", kAuto, "3232235521", kOk, kLoop},
      {"0.0.0.0", kAuto, "0", kOk, kLoop},
      {"255.255.255.255", kAuto, "4294967295", kOk, kLoop},
      {"255.255.255.255\r", kAuto, "4294967295", kOk},  // 17 bytes with its LF: past one load
      {"1.2.3.4\r", kAuto, "16909060", kOk, kLoop},
      {"10.0.0.1", kToInt, "167772161", kOk, kLoop},
      {"192.168.0.1", kHex, "0xc0a80001", kOk, kLoop},
      {"0.0.0.10", kHex, "0x0000000a", kOk, kLoop},
      {" \t1.2.3.4 \r", kAuto, "16909060", kOk},
      {"010.001.000.009", kAuto, "", kZero},
      {"1.2.03.4", kAuto, "", kZero},
      {"1.2.3.00", kAuto, "", kZero},
      {"0001.2.3.4", kAuto, "", kZero},
      {"01.2.3.4.5", kAuto, "", kZero},
      {"1.2.3.0x1", kAuto, "", kAddr},
      {"1.2.3", kAuto, "", kAddr},
      {"1.2.3.4.", kAuto, "", kAddr},
      {".1.2.3", kAuto, "", kAddr},
      {"1..2.3", kAuto, "", kAddr},
      {"256.0.0.0", kAuto, "", kAddr},
      {"1.2.3.256", kAuto, "", kAddr},
      {"1.2.3.4.5", kAuto, "", kAddr},
      {"1.2.3.-4", kAuto, "", kAddr},
      {"+1.2.3.4", kAuto, "", kAddr},
      {"1. 2.3.4", kAuto, "", kAddr},
      {"1.2.3.4\r\r", kAuto, "", kAddr},
      {"1.2.3.4e0", kAuto, "", kAddr},
      {"1.2.3.4\n", kAuto, "", kAddr},
      {"1.2.3.4 5", kAuto, "", kAddr},
      {"10", kToInt, "", kAddr},
      {"1\xef\xbc\x8e" "2.3.4", kAuto, "", kAddr},
      {"", kAuto, "", kBlank},
      {" \t ", kToInt, "", kBlank},
      {"\r", kToIp, "", kBlank},
  });
}

TEST(Convert, Integers) {
  ExpectRows({
      {"3232235521", kAuto, "192.168.0.1", kOk, kLoop},
      {"0xc0a80001", kAuto, "192.168.0.1", kOk, kLoop},
      {"0xC0A80001", kAuto, "192.168.0.1", kOk, kLoop},
      {"0", kAuto, "0.0.0.0", kOk, kLoop},
      {"4294967295", kAuto, "255.255.255.255", kOk, kLoop},
      {"000004294967295", kAuto, "255.255.255.255", kOk, kLoop},
      {"0xffffffff", kAuto, "255.255.255.255", kOk, kLoop},
      {"0x0", kAuto, "0.0.0.0", kOk, kLoop},
      {"0x00000001", kAuto, "0.0.0.1", kOk, kLoop},
      {"3232235521", kHex, "192.168.0.1", kOk, kLoop},
      {"010", kToIp, "0.0.0.10", kOk, kLoop},
      {" 16909060\t", kToIp, "1.2.3.4", kOk},
      {"0x", kAuto, "", kInt},
      {"0xg", kAuto, "", kInt},
      {"0x-1", kAuto, "", kInt},
      {"0x 1", kAuto, "", kInt},
      {"-1", kToIp, "", kInt},
      {"+1", kToIp, "", kInt},
      {"1.2.3.4", kToIp, "", kInt},
      {"::1", kToIp, "", kInt},
      {"-1", kAuto, "", kNeither},
      {"+1", kAuto, "", kNeither},
      {"12a", kAuto, "", kNeither},
      {"1 2", kAuto, "", kNeither},
      {"0X1", kAuto, "", kNeither},
      {"localhost", kAuto, "", kNeither},
  });
}

TEST(Convert, Ipv6Text) {
  ExpectRows({
      {"2001:db8::1", kAuto, "42540766411282592856903984951653826561", kOk, kLoop},
      {"2001:DB8:0:0:0:0:0:1", kToInt, "42540766411282592856903984951653826561", kOk, kLoop},
      {"2001:0db8:0000:0000:0000:0000:0000:0001", kAuto, "42540766411282592856903984951653826561", kOk, kLoop},
      {"::", kAuto, "0", kOk, kLoop},
      {"::1", kAuto, "1", kOk, kLoop},
      {"1:2:3:4:5:6:7::", kAuto, "5192455318486707404433266433261568", kOk, kLoop},
      {"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", kAuto, "340282366920938463463374607431768211455", kOk, kLoop},
      {"::8ac7:2304:89e8:0", kAuto, "10000000000000000000", kOk, kLoop},
      {"4b3b:4ca8:5a86:c47a:98a:2240::", kAuto, "100000000000000000000000000000000000000", kOk, kLoop},
      // A quotient that needs the estimate's rare correction.
      {"7d88:da6f:1cfe:6634:ffff:ffff:ffff:6922", kAuto, "166864082214467985910188389765063076130", kOk, kLoop},
      {"::ffff:192.0.2.1", kAuto, "281473902969345", kOk, kLoop},
      {"64:ff9b::192.0.2.33", kAuto, "524413980667603649783483184533471777", kOk, kLoop},
      {"2001:db8::1", kHex, "0x20010db8000000000000000000000001", kOk, kLoop},
      {"::", kHex, "0x00000000000000000000000000000000", kOk, kLoop},
      {"::ffff:010.0.0.1", kAuto, "", kZero},
      {"::ffff:1.2.3.04", kAuto, "", kZero},
      {"fe80::1%eth0", kAuto, "", kV6Addr},
      {"1:2:3:4:5:6:7:8:9", kAuto, "", kV6Addr},
      {"1::2::3", kAuto, "", kV6Addr},
      {"12345::1", kAuto, "", kV6Addr},
      {"::ffff:1.2.3.256", kAuto, "", kV6Addr},
      {"::ffff:1.2.3", kAuto, "", kV6Addr},
      {"1:2:3:4:5:6:7:1.2.3.4", kAuto, "", kV6Addr},
      {"1:2:3:4:5:6:7:8::", kAuto, "", kV6Addr},
      {":1::", kAuto, "", kV6Addr},
      {"1:", kAuto, "", kV6Addr},
      {"1:::2", kAuto, "", kV6Addr},
      {"::g", kAuto, "", kV6Addr},
      {"1:2:3:4:5:6:7", kAuto, "", kV6Addr},
  });
}

// Integers above 32 bits, with 9 to 32 hex digits or under -6, to IPv6
// text in its recommended form.
TEST(Convert, Ipv6Integers) {
  ExpectRows({
      {"42540766411282592856903984951653826561", kAuto, "2001:db8::1", kOk, kLoop},
      {"4294967296", kAuto, "::1:0:0", kOk, kLoop},
      {"340282366920938463463374607431768211455", kAuto, "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", kOk, kLoop},
      {"272996653310673477252411125948039410165", kAuto, "cd61:3e30:d8f1:6adf:91b7:584a:2265:b1f5", kOk, kLoop},
      {"0x000000001", kAuto, "::1", kOk, kLoop},
      {"0x20010DB8000000000000000000000001", kToIp, "2001:db8::1", kOk, kLoop},
      {"281473902969345", kAuto, "::ffff:192.0.2.1", kOk, kLoop},
      {"16909060", kV6, "::102:304", kOk, kLoop},
      {"0", kV6, "::", kOk, kLoop},
      {"5192296858534864522018643748519940", kAuto, "1::2:0:0:3:4", kOk, kLoop},
      {"5192296860952679267759754678829060", kAuto, "1:0:2::3:4", kOk, kLoop},
      {"5192296860952734609117897189359623", kAuto, "1:0:2:3:4:5:6:7", kOk, kLoop},
      {"340282366920938463463374607431768211456", kAuto, "", kInt},
      {"0x100000000000000000000000000000000", kAuto, "", kLongHex},
      {"0x1000000000000000000000000000000g", kAuto, "", kInt},
  });
}

// Both ends, by default networks as integers and ranges the other way.
TEST(Convert, NetworksAndRanges) {
  ExpectRows({
      {"192.168.0.77/24", kAuto, "3232235520\t3232235775", kOk},
      {"0.0.0.0/0", kAuto, "0\t4294967295", kOk},
      {" 1.2.3.4/32\r", kAuto, "16909060\t16909060", kOk},
      {"1.0.0.0/24", kToIp, "1.0.0.0\t1.0.0.255", kOk},
      {"10.1.2.3/255.255.0.0", kAuto, "167837696\t167903231", kOk},
      {"10.1.2.3/0.0.0.0", kAuto, "0\t4294967295", kOk},
      {"10.1.2.3/255.255.255.255", kToIp, "10.1.2.3\t10.1.2.3", kOk},
      {"2001:db8::/32", kAuto, "42540766411282592856903984951653826560\t42540766490510755371168322545197776895", kOk},
      {"::/0", kHex, "0x00000000000000000000000000000000\t0xffffffffffffffffffffffffffffffff", kOk},
      {"::1/128", kAuto, "1\t1", kOk},
      {"1.0.0.0-1.0.0.255", kAuto, "16777216\t16777471", kOk},
      {"16777216-16777471", kAuto, "1.0.0.0\t1.0.0.255", kOk},
      {"16777216-16777471", kToInt, "16777216\t16777471", kOk},
      {"1-2", kV6, "::1\t::2", kOk},
      {"0x1-0xff", kAuto, "0.0.0.1\t0.0.0.255", kOk},
      {"::1-::1", kAuto, "1\t1", kOk},
      {"1.1.1.0/032", kAuto, "", kZero},
      {"1.0.0.0/00", kAuto, "", kZero},
      {"::/0128", kAuto, "", kZero},
      {"1.2.3.4/0024", kAuto, "", kZero},
      {"01.0.0.0/8", kAuto, "", kZero},
      {"10.0.0.0/255.255.255.00", kAuto, "", kZero},
      {"1.2.3.4-1.2.3.05", kAuto, "", kZero},
      {"010.0.0.1-1.2.3.4.5", kAuto, "", kZero},
      {"1.0.0.0/33", kAuto, "", kLength},
      {"::/129", kAuto, "", kLength},
      {"1.0.0.0/", kAuto, "", kLength},
      {"1.0.0.0/-1", kAuto, "", kLength},
      {"1.0.0.0/0x8", kAuto, "", kLength},
      {"::/255.255.0.0", kAuto, "", kLength},
      {"1.2.3.4/1000", kAuto, "", kLongLength},
      {"10.0.0.0/0.0.0.255", kAuto, "", kMask},
      {"10.0.0.0/255.0.255.0", kAuto, "", kMask},
      {"10.0.0.0/255.255.255.256", kAuto, "", kMask},
      {"16777216/24", kAuto, "", kIntNet},
      {"1.0.0.256/24", kAuto, "", kAddr},
      {"::g/64", kAuto, "", kV6Addr},
      {"1.0.0.2-1.0.0.1", kAuto, "", kReversed},
      {"1.0.0.0-16777471", kAuto, "", kKinds},
      {"1.0.0.0-::1", kAuto, "", kFamilies},
      {"0-4294967296", kAuto, "", kFamilies},
      {"1.0.0.0 -1.0.0.1", kAuto, "", kBlanks},
      {"1.0.0.0/ 8", kAuto, "", kBlanks},
      {"1.0.0.0-", kAuto, "", kInt},
  });
}

// The fewest networks covering exactly the range.
TEST(Convert, ToCidr) {
  ExpectRows({
      {"1.0.0.0-1.0.0.10", kCidr, "1.0.0.0/29\n1.0.0.8/31\n1.0.0.10/32", kOk},
      {"1.0.0.5/24", kCidr, "1.0.0.0/24", kOk},
      {"0.0.0.0-255.255.255.255", kCidr, "0.0.0.0/0", kOk},
      {"0-3", kCidr, "0.0.0.0/30", kOk},
      {"255.255.255.255-255.255.255.255", kCidr, "255.255.255.255/32", kOk},
      {"::1-::2", kCidr, "::1/128\n::2/128", kOk},
      {"::-ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", kCidr, "::/0", kOk},
      {"ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe-ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", kCidr,
       "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/127", kOk},
      {"::ffff:1.0.0.1-::ffff:1.0.0.6", kCidr, "::ffff:1.0.0.1/128\n::ffff:1.0.0.2/127\n::ffff:1.0.0.4/127\n::ffff:1.0.0.6/128", kOk},
      {"1::/64", kCidr, "1::/64", kOk},
      {"::ffff:ffff:ffff:ffff-::1:0:0:0:1", kCidr, "::ffff:ffff:ffff:ffff/128\n0:0:0:1::/127", kOk},
      {"1.2.3.4", kCidr, "", kPlain},
      {"1", kCidr, "", kPlain},
      {"", kCidr, "", kBlank},
  });
}

// The window's reading: plain IPv4 only, leading zeros decimal.
TEST(Convert, Lenient) {
  ExpectRows({
      {"256.0.0.0", kLenient, "4294967296", kOk},
      {"010.0.0.1", kLenient, "167772161", kOk},
      {"123", kLenient, "0.0.0.123", kOk, kLoop},
      {"1e305.-256e305.0.0", kLenient, "", kAddr},
      {"\t\r", kLenient, "", kBlank},
      {"1.0.0.0/8", kLenient, "", kNotIpv4},
      {"::1", kLenient, "", kNotIpv4},
      {"1-5", kLenient, "", kNotIpv4},
      {"1.0.0.0-1.0.0.3", kLenient, "", kNotIpv4},
      {"4294967296", kLenient, "", kNotIpv4},
  });
}

// Every window row that can be a line of input gives the window's text,
// and is invalid exactly where the window shows nothing.
TEST(Convert, LenientGivesTheWindowsText) {
  for (const auto& row : quadsum_test::kConversionRows) {
    if (std::strpbrk(row.text, "\r\n")) continue;  // no line holds these (NUL ends the text)
    const bool hasPeriod = std::strchr(row.text, '.') != nullptr;
    for (const Direction direction : {Direction::ToInteger, Direction::Auto}) {
      if (direction == Direction::Auto && !hasPeriod) continue;  // would be read as an integer
      const auto [out, verdict] = Converted(row.text, {.direction = direction, .lenient = true});
      EXPECT_EQ(out, row.expected) << "text \"" << row.text << '"';
      EXPECT_EQ(verdict == kOk, *row.expected != '\0') << "text \"" << row.text << '"';
    }
  }
}

// The fields a value fills under --field, valid or not, by the one
// classifier's reading of its shape.
TEST(Convert, FieldsWrittenFollowTheShape) {
  const struct {
    const char* value;
    Options options;
    std::size_t fields;
  } rows[] = {
      {"1.2.3.4", kAuto, 1}, {" 1.0.0.0/8 \r", kAuto, 2}, {"1-2", kAuto, 2}, {"x/y", kAuto, 2},
      {"1.2.3.4-", kAuto, 2}, {"-1", kAuto, 1}, {"2001:db8::-1", kAuto, 2}, {"1.0.0.0/8", kCidr, 1},
      {"1-2", kLenient, 1}, {"1e305.-256e305.0.0", kLenient, 1}, {"1e305.-256e305.0.0", kAuto, 2},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(quadsum_cli::FieldsWritten(row.value, row.options), row.fields) << row.value;
  }
  EXPECT_EQ(quadsum::ShapeOf("1e305.-256e305.0.0", true), quadsum::Shape::Plain);
  EXPECT_EQ(quadsum::ShapeOf("1.0.0.0-1.0.0.9", true), quadsum::Shape::Range);
  EXPECT_EQ(quadsum::ShapeOf("1.0.0.0/8", true), quadsum::Shape::Network);
}

}  // namespace
