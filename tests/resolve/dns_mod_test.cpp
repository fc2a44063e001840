#include "resolve/DNS_Mod.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "tests/resolve/fake_winsock.h"

namespace {

using fake::Answer;
using fake::Box;
using fake::FakeWinsock;
using ui::MessageIcon;

const Box kNotResponding{
    L"Windows Sockets for 32 bit Windows environments is not successfully responding.",
    MessageIcon::None};
const Box kLookupFailed{L"Error looking up requested host.", MessageIcon::Warning};
const Box kNoSockets{L"This application requires a minimum of 1 supported sockets.",
                     MessageIcon::Warning};

Box Refused(const wchar_t* version) {
  return {std::wstring(L"Windows Sockets Version ") + version +
              L" is not supported by Windows Sockets for 32 bit Windows environments.",
          MessageIcon::Warning};
}

Box CleanupFailed(const wchar_t* number) {
  return {std::wstring(L"Windows Sockets error ") + number + L" occurred in Cleanup.",
          MessageIcon::Warning};
}

std::vector<std::string> Elements(const AddressList& list) {
  std::vector<std::string> elements;
  for (std::size_t i = list.LBound(); i <= list.UBound(); ++i) elements.push_back(list[i]);
  return elements;
}

TEST(ByteOf, SplitsBitsZeroToFifteen) {
  struct Row { std::int32_t value; std::int16_t low, high; };
  const Row rows[] = {{258, 2, 1},   {0, 0, 0},      {0xFFFF, 255, 255},     {-1, 255, 255},
                      {-2, 254, 255}, {INT32_MIN, 0, 0}, {0x12345678, 0x78, 0x56}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(DNS_Mod::LowByteOf(row.value), row.low);
    EXPECT_EQ(DNS_Mod::HighByteOf(row.value), row.high);
  }
}

TEST(OpenSocketsSession, GrantsOrRefusesWithAtMostOneBox) {
  struct Row { int startup; WORD granted; unsigned short sockets; int cleanup;
               bool opened; std::vector<Box> boxes; int cleanups; };
  const Row rows[] = {
      {WSASYSNOTREADY, 0x0101, 1, 0, false, {kNotResponding}, 0},
      {0, 0x0101, 1, 0, true, {}, 0},
      {0, 0x0001, 9, 0, false, {Refused(L"1.0")}, 1},
      {0, 0x0000, 9, 0, false, {Refused(L"0.0")}, 1},
      {0, 0xFF00, 9, 0, false, {Refused(L"0.255")}, 1},
      {0, 0x0201, 9, 0, true, {}, 0},
      {0, 0x0002, 9, 0, true, {}, 0},
      {0, 0x0101, 0, 0, false, {kNoSockets}, 1},
      {0, 0x0001, 0, 0, false, {Refused(L"1.0")}, 1},
      {0, 0x0001, 9, SOCKET_ERROR, false, {Refused(L"1.0")}, 1},
      {0, 0x0101, 0, SOCKET_ERROR, false, {kNoSockets}, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.granted << " sockets " << row.sockets);
    FakeWinsock fake;
    fake.startupResult = row.startup;
    fake.granted = row.granted;
    fake.maxSockets = row.sockets;
    fake.cleanupResult = row.cleanup;
    EXPECT_EQ(DNS_Mod::OpenSocketsSession(), row.opened);
    EXPECT_EQ(fake.requested, std::vector<WORD>{0x0101});
    EXPECT_TRUE(fake.zeroedOnEntry);
    EXPECT_EQ(fake.boxes, row.boxes);
    EXPECT_EQ(fake.cleanups, row.cleanups);
  }
}

TEST(CloseSocketsSession, ShowsTheValueCleanupReturned) {
  struct Row { int cleanup; std::vector<Box> boxes; };
  const Row rows[] = {{0, {}},
                      {SOCKET_ERROR, {CleanupFailed(L"-1")}},
                      {WSANOTINITIALISED, {CleanupFailed(L"10093")}},
                      {INT_MIN, {CleanupFailed(L"-2147483648")}}};
  for (const Row& row : rows) {
    FakeWinsock fake;
    fake.cleanupResult = row.cleanup;
    DNS_Mod::CloseSocketsSession();
    EXPECT_EQ(fake.cleanups, 1);
    EXPECT_EQ(fake.boxes, row.boxes);
  }
}

TEST(ResolveHostAddresses, ListsAddressesOrOneEmptyElement) {
  struct Row { const char* name; std::wstring host; int startup; WORD granted;
               std::optional<Answer> answer; int cleanup;
               std::vector<std::string> list; std::vector<Box> boxes; std::size_t lookups; };
  const Answer one{{{1, 2, 3, 4}}};
  const Row rows[] = {
      {"startup fails", L"h", 1, 0x0101, one, 0, {""}, {kNotResponding}, 0},
      {"version refused", L"h", 0, 0x0001, one, 0, {""}, {Refused(L"1.0")}, 0},
      {"no answer", L"h", 0, 0x0101, std::nullopt, 0, {""}, {kLookupFailed}, 1},
      {"no answer, cleanup fails", L"h", 0, 0x0101, std::nullopt, SOCKET_ERROR, {""},
       {kLookupFailed, CleanupFailed(L"-1")}, 1},
      {"one", L"h", 0, 0x0101, Answer{{{192, 168, 0, 1}}}, 0, {"192.168.0.1"}, {}, 1},
      {"three in order", L"h", 0, 0x0101, Answer{{{10, 0, 0, 3}, {10, 0, 0, 1}, {200, 255, 128, 0}}},
       0, {"10.0.0.3", "10.0.0.1", "200.255.128.0"}, {}, 1},
      {"one byte each", L"h", 0, 0x0101, Answer{{{7}, {0}}, 1}, 0, {"7", "0"}, {}, 1},
      {"found, cleanup fails", L"h", 0, 0x0101, one, SOCKET_ERROR, {"1.2.3.4"},
       {CleanupFailed(L"-1")}, 1},
      {"no address", L"h", 0, 0x0101, Answer{}, 0, {""}, {kLookupFailed}, 1},
      {"null address list", L"h", 0, 0x0101, Answer{{{1, 2, 3, 4}}, 4, true}, 0, {""},
       {kLookupFailed}, 1},
      {"length 0", L"h", 0, 0x0101, Answer{{{1, 2, 3, 4}}, 0}, 0, {""}, {kLookupFailed}, 1},
      {"length -4", L"h", 0, 0x0101, Answer{{{1, 2, 3, 4}}, -4}, 0, {""}, {kLookupFailed}, 1},
      {"255-byte name", std::wstring(255, L'a'), 0, 0x0101, one, 0, {"1.2.3.4"}, {}, 1},
      {"256-byte name", std::wstring(256, L'a'), 0, 0x0101, one, 0, {""}, {kLookupFailed}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeWinsock fake;
    fake.startupResult = row.startup;
    fake.granted = row.granted;
    fake.answer = row.answer;
    fake.cleanupResult = row.cleanup;
    AddressList list;
    list.Assign({"9.9.9.9", "8.8.8.8"});
    DNS_Mod::ResolveHostAddresses(row.host, list);
    EXPECT_EQ(Elements(list), row.list);
    EXPECT_EQ(fake.boxes, row.boxes);
    EXPECT_EQ(fake.openAtLookup, std::vector<int>(row.lookups, 1));
    EXPECT_EQ(fake.startups, fake.cleanups) << "a session was left open";
  }
}

TEST(ResolveHostAddresses, ListsMoreAddressesThanASixteenBitCounterHolds) {
  FakeWinsock fake;
  fake.answer = Answer{};
  std::vector<std::string> expected;
  for (unsigned i = 0; i < 40000; ++i) {
    const unsigned char high = i >> 8, low = i & 0xFF;
    fake.answer->addresses.push_back({10, 1, high, low});
    expected.push_back("10.1." + std::to_string(high) + "." + std::to_string(low));
  }
  AddressList list;
  DNS_Mod::ResolveHostAddresses(L"many", list);
  EXPECT_EQ(Elements(list), expected);
  EXPECT_TRUE(fake.boxes.empty());
}

// Wine and Western Windows default to code page 1252; other rows need no code page.
TEST(ResolveHostAddresses, HandsTheNameOverInTheAnsiCodePage) {
  struct Row { std::wstring host; std::vector<std::string> names; bool cp1252; };
  const Row rows[] = {
      {L"example.com", {"example.com"}, false},
      {L"  padded  ", {"  padded  "}, false},
      {L"", {""}, false},
      {L"caf\u00E9 \u20AC", {"caf\xE9 \x80"}, true},
      {L"\u4E2D.cn", {"?.cn"}, true},
      {std::wstring(255, L'\u00E9'), {std::string(255, '\xE9')}, true},
      {std::wstring(256, L'\u00E9'), {}, true},
  };
  for (const Row& row : rows) {
    if (row.cp1252 && GetACP() != 1252) continue;
    FakeWinsock fake;
    fake.answer = Answer{{{1, 2, 3, 4}}};
    AddressList list;
    DNS_Mod::ResolveHostAddresses(row.host, list);
    EXPECT_EQ(fake.names, row.names);
  }
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP() << ": non-ASCII rows skipped";
}

}  // namespace
