#include "core/conversion.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using quadsum::DottedToIntegerText;
using quadsum::IsAddressKey;
using quadsum::LeadingNumber;
using quadsum::NumberText;
using namespace std::string_literals;

struct Row {
  std::string in;
  std::string out;
};

void ExpectConversions(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    EXPECT_EQ(DottedToIntegerText(row.in), row.out) << "text: \"" << row.in << '"';
  }
}

TEST(DottedToIntegerText, EdgeCases) {
  ExpectConversions({
      {"192.168.0.1", "3232235521"},      {"127.0.0.1", "2130706433"},
      {"255.255.255.255", "4294967295"},  {"0.0.0.0", "0"},
      {"192.168.0.", "3232235520"},       {"1.2.3", ""},
      {"", ""},                           {"12.34.56", ""},
      {"1..2.3", "16777731"},             {"1.2..3", "16908291"},
      {".1.2.3", "66051"},                {"1.2.3.", "16909056"},
      {"...", "0"},                       {"256.0.0.0", "4294967296"},
      {"999.999.999.999", "16826165991"}, {"010.0.0.1", "167772161"},
      {"1.2.3.04", "16909060"},           {"1.2.3.4.5", "16909060.5"},
      {"1.2.3.4.5.6", "16909060.5"},      {"1.2.3.4.", "16909060"},
      {"0.0.0..5", "0.5"},                {"99999999.0.0.0", "1.67772158322278E+15"},
      {"999999999999...", "1.67772159999832E+19"},
      {"a.b.c.d", "0"},                   {"10.0.0.1a", "167772161"},
  });
}

TEST(DottedToIntegerText, FifteenCharacterTexts) {
  ExpectConversions({
      {"...............", "0"},
      {"1.1.1.1.1.1.1.1", "16843009.1"},
      {"123456789012...", "2.07126121592075E+18"},
      {".999999999999..", "6.55359999999345E+16"},
      {"..999999999999.", "255999999999744"},
      {"...999999999999", "999999999999"},
      {"1.1.1.1.1111111", "16843009.1111111"},
  });
}

TEST(DottedToIntegerText, FailsBeyondDoubleRange) {
  ExpectConversions({
      {"1e999...", ""},
      {"...1e309", ""},
      {"1e308...", ""},              // the product overflows
      {"-1e308...", ""},
      {"1e300.1e300.1e300.1e308", "1.16843008E+308"},
      {"1e308.1e308.1e308.1e308", ""},  // the sums overflow
      {"1e305.-256e305.0.0", ""},    // +inf and -inf: no cancelling back into range
      {"1e99999999999999999999...", ""},
      {"99.9e9223372036854775807...", ""},  // exponent at the end of long long
      {"...0.01e-9223372036854775808", "0"},
      {std::string(400, '9') + "...", ""},
      {"1.2.3.4" + std::string(400, '9'), ""},
  });
}

TEST(DottedToIntegerText, Fractions) {
  ExpectConversions({
      {"0.0.0.0.1", "0.1"},           {"1.0.0.0.1", "16777216.1"},
      {"99999999.0.0.0.5", "1.67772158322278E+15"},
      {"1e-8...", "0.16777216"},      {"5e-1...", "8388608"},
      {"...5.6789e-5", "0.000056789"}, {"...5.6789e-12", "5.6789E-12"},
      {"...1e-15", "0.000000000000001"}, {"...1.5e-15", "1.5E-15"},
      {"...999999999999999", "999999999999999"},  // 15 digits, the longest exact integer run
      {"...1234567890123456", "1.23456789012346E+15"},
      {"...000000000000000000001", "1"},
      {"...1e-310", "9.99999999999997E-311"},
      {"1e-320...", "1.67770292223192E-313"},
  });
}

TEST(DottedToIntegerText, PastedSignsBlanksExponentsAndPrefixes) {
  ExpectConversions({
      {" 1. 2.\t3.  4", "16909060"},  {"1 .2 .3 .4 ", "16909060"},
      {"+1.2.3.4", "16909060"},       {"-1.0.0.0", "-16777216"},
      {"1.2.3.-4", "16909052"},       {"1.2.3. -4", "16909052"},
      {"...-.5", "-0.5"},             {"0.0.0.-0", "0"},
      {"-0.-0.-0.-0", "0"},           {"+-1...", "0"},
      {"- 1...", "0"},                {"1e3...", "16777216000"},
      {"1E+3...", "16777216000"},     {"1e...", "16777216"},
      {"1e-...", "16777216"},         {"1e+x...", "16777216"},
      {"0x1F.0.0.1", "1"},            {"&H10...", "0"},
      {"1,5...", "16777216"},         {"inf...", "0"},
      {"nan...", "0"},                {"...1e-400", "0"},
      {"...-1e-400", "0"},            {"...1e-99999999999999999999", "0"},
      {"...0e99999", "0"},            {"...1e308", "1E+308"},
      {"...-1e308", "-1E+308"},
  });
}

TEST(DottedToIntegerText, NonAsciiText) {
  ExpectConversions({
      {"\uff11.\uff12.\uff13.\uff14", "0"},            // full-width digits are not digits
      {"\uff11\uff0e\uff12\uff0e\uff13\uff0e\uff14", ""},  // nor full-width periods
      {"192\u3002168\u30020\u30021", ""},              // ideographic full stop
      {"1.2.3.4\u00e9", "16909060"},
      {"\u00e91.2.3.4", "131844"},
      {"\u00a01.2.3.4", "131844"},                     // no-break space is not a blank
      {"\u0663.2.3.4", "131844"},                      // Arabic-Indic three
      {"\xff.\xfe.\x80.1", "1"},                       // broken UTF-8
      {"1.2.3.4\0" "5"s, "16909060"},
  });
}

TEST(NumberText, RoundsToFifteenDigits) {
  const std::vector<std::pair<double, std::string>> rows = {
      {999999999999999.0, "999999999999999"}, {999999999999999.5, "1E+15"},
      {1e15, "1E+15"},                        {123456789012345.6, "123456789012346"},
      {99999999999999.98, "100000000000000"}, {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},         {0.1 + 0.2, "0.3"},
      {123456.7890123456, "123456.789012346"},
      {1000000000000005.0, "1E+15"},          // exact ties go to the even digit
      {1000000000000015.0, "1.00000000000002E+15"},
      {DBL_MAX, "1.79769313486232E+308"},     {-DBL_MAX, "-1.79769313486232E+308"},
      {1e100, "1E+100"},                      {1e-100, "1E-100"},
      {5e-324, "4.94065645841247E-324"},      {-2.5, "-2.5"},
      {-0.0, "0"},                            {-1e-15, "-0.000000000000001"},
      {std::numeric_limits<double>::infinity(), ""},
      {std::numeric_limits<double>::quiet_NaN(), ""},
  };
  for (const auto& [value, text] : rows) EXPECT_EQ(NumberText(value), text) << value;
}

TEST(LeadingNumber, ReadsAsMuchNumberAsThereIs) {
  const std::vector<std::pair<std::string, std::optional<double>>> rows = {
      {"", 0.0},      {"192", 192.0},  {"010", 10.0},  {"4.5", 4.5},
      {"4.5.6", 4.5}, {"4.", 4.0},     {".5", 0.5},    {"12a", 12.0},
      {"a", 0.0},     {".", 0.0},      {"-", 0.0},     {"\t+7", 7.0},
      {"0.1", 0.1},   {"1e23", 1e23},  {"9007199254740993", 9007199254740992.0},
      {"2.2250738585072011e-308", 2.2250738585072011e-308},
      {"1e-400", 0.0}, {"0.000" + std::string(400, '0') + "1", 0.0},
      {"1" + std::string(400, '0') + "e-420", 1e-20},
      {"1e999", std::nullopt},
      {"0.0000001e316", std::nullopt}, {"12345e-328", 0.0},
      {std::string(309, '9'), std::nullopt},
  };
  for (const auto& [segment, value] : rows) {
    EXPECT_EQ(LeadingNumber(segment), value) << "segment: \"" << segment << '"';
  }
}

TEST(IsAddressKey, LetsOnlyDigitsPeriodAndBackspaceThrough) {
  for (int code : std::vector<int>{'0', '5', '9', '.', 8}) EXPECT_TRUE(IsAddressKey(code)) << code;
  for (int code : std::vector<int>{0, '/', ':', ' ', '-', ',', 'a', 'E', '+', 9, 13, 127, 0x3002, 0xff0e,
                   0xff10, -1, 0x10000 + '0'}) {
    EXPECT_FALSE(IsAddressKey(code)) << code;
  }
}

}  // namespace
