#include "core/address_text.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

Strings Elements(const AddressList& list) {
  Strings elements;
  for (std::size_t i = list.LBound(); i <= list.UBound(); ++i) elements.push_back(list[i]);
  return elements;
}

TEST(DottedAddress, WritesEachByteUnsignedWithPeriodsBetween) {
  struct Row { std::vector<unsigned char> bytes; std::string text; };
  const Row rows[] = {{{192, 168, 0, 1}, "192.168.0.1"},     {{10, 0, 0, 1}, "10.0.0.1"},
                      {{255, 255, 255, 255}, "255.255.255.255"}, {{200, 128, 127, 9}, "200.128.127.9"},
                      {{7}, "7"},  {{1, 2, 3, 4, 5, 6}, "1.2.3.4.5.6"}, {{}, ""}};
  for (const Row& row : rows) {
    EXPECT_EQ(DottedAddress(row.bytes.data(), row.bytes.size()), row.text);
  }
}

TEST(AddressList, HoldsAtLeastOneElementFromIndexOne) {
  struct Row { Strings assigned; Strings held; };
  const Row rows[] = {{{}, {""}}, {{"1.2.3.4"}, {"1.2.3.4"}}, {{"a", "b", "c"}, {"a", "b", "c"}}};
  for (const Row& row : rows) {
    AddressList list;
    list.Assign({"old", "older"});
    list.Assign(row.assigned);
    EXPECT_EQ(list.UBound(), row.held.size());
    EXPECT_EQ(Elements(list), row.held);
    list.ResetToOneEmpty();
    EXPECT_EQ(Elements(list), Strings{""});
  }
  EXPECT_EQ(Elements(AddressList()), Strings{""});
}

TEST(AddressList, RejectsIndicesOutsideItsBounds) {
  AddressList list;
  list.Assign({"a", "b"});
  EXPECT_THROW(list[0], std::out_of_range);
  EXPECT_THROW(list[3], std::out_of_range);
  list[2] = "c";
  EXPECT_EQ(Elements(list), (Strings{"a", "c"}));
}

TEST(JoinLines, PutsCrLfBetweenElementsAndNoneAfterTheLast) {
  struct Row { Strings elements; std::string text; };
  const Row rows[] = {{{""}, ""},
                      {{"192.168.0.1"}, "192.168.0.1"},
                      {{"1.1.1.1", "2.2.2.2", "3.3.3.3"}, "1.1.1.1\r\n2.2.2.2\r\n3.3.3.3"},
                      {{"a", ""}, "a\r\n"},
                      {{"", "", ""}, "\r\n\r\n"}};
  for (const Row& row : rows) {
    AddressList list;
    list.Assign(row.elements);
    EXPECT_EQ(JoinLines(list), row.text);
  }
}

}  // namespace
