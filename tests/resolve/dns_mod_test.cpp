#include "resolve/DNS_Mod.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/resolve/fake_winsock.h"

namespace {

using fake::Answer;
using fake::Box;
using Strings = std::vector<std::string>;

constexpr auto kWarning = ui::MessageIcon::Warning;
const Box kNotResponding{
    L"Windows Sockets for 32 bit Windows environments is not successfully responding.", ui::MessageIcon::None};
const Box kLookupFailed{L"Error looking up requested host.", kWarning};
const Box kNoSockets{L"This application requires a minimum of 1 supported sockets.", kWarning};

Box Refused(const wchar_t* version) {
  return {std::wstring(L"Windows Sockets Version ") + version +
              L" is not supported by Windows Sockets for 32 bit Windows environments.", kWarning};
}

Box CleanupFailed(const wchar_t* number) {
  return {std::wstring(L"Windows Sockets error ") + number + L" occurred in Cleanup.", kWarning};
}

Strings Elements(const AddressList& list) {
  Strings elements;
  for (std::size_t i = list.LBound(); i <= list.UBound(); ++i) elements.push_back(list[i]);
  return elements;
}

struct Row {
  const char* name;
  std::wstring host = L"h";
  UINT codePage = 0;  // the row holds only under this ANSI code page (0: any)
  int startup = 0;  // what WSAStartup returns, and the version and sockets it grants
  WORD granted = 0x0101;
  unsigned short sockets = 9;
  std::optional<Answer> answer = Answer{{{1, 2, 3, 4}}};
  int cleanup = 0;
  Strings list = {"1.2.3.4"};
  std::vector<Box> boxes = {};
  Strings names = {"h"};  // handed to the resolver
};

const Row kRows[] = {
    {.name = "startup fails", .startup = WSASYSNOTREADY, .list = {""}, .boxes = {kNotResponding}, .names = {}},
    {.name = "1.0 refused", .granted = 0x0001, .list = {""}, .boxes = {Refused(L"1.0")}, .names = {}},
    {.name = "0.255 refused", .granted = 0xFF00, .list = {""}, .boxes = {Refused(L"0.255")}, .names = {}},
    {.name = "refused, cleanup fails: one box", .granted = 0x0000, .cleanup = SOCKET_ERROR,
     .list = {""}, .boxes = {Refused(L"0.0")}, .names = {}},
    {.name = "no sockets", .sockets = 0, .list = {""}, .boxes = {kNoSockets}, .names = {}},
    {.name = "1.0 and no sockets", .granted = 0x0001, .sockets = 0, .list = {""}, .boxes = {Refused(L"1.0")},
     .names = {}},
    {.name = "one socket", .sockets = 1}, {.name = "1.2", .granted = 0x0201}, {.name = "2.0", .granted = 0x0002},
    {.name = "no answer", .answer = std::nullopt, .list = {""}, .boxes = {kLookupFailed}},
    {.name = "no answer, cleanup fails", .answer = std::nullopt, .cleanup = SOCKET_ERROR, .list = {""},
     .boxes = {kLookupFailed, CleanupFailed(L"-1")}},
    {.name = "found, cleanup fails", .cleanup = WSANOTINITIALISED, .boxes = {CleanupFailed(L"10093")}},
    {.name = "three in order", .answer = Answer{{{10, 0, 0, 3}, {10, 0, 0, 1}, {200, 255, 128, 0}}},
     .list = {"10.0.0.3", "10.0.0.1", "200.255.128.0"}},
    {.name = "one byte each", .answer = Answer{{{7}, {0}}, 1}, .list = {"7", "0"}},
    {.name = "beyond a 16-bit count", .answer = Answer{fake::Bytes(70000, {1, 2, 3, 4})},
     .list = Strings(70000, "1.2.3.4")},
    {.name = "no address", .answer = Answer{}, .list = {""}, .boxes = {kLookupFailed}},
    {.name = "null list", .answer = Answer{{{1, 2, 3, 4}}, 4, true}, .list = {""}, .boxes = {kLookupFailed}},
    {.name = "length 0", .answer = Answer{{{1, 2, 3, 4}}, 0}, .list = {""}, .boxes = {kLookupFailed}},
    {.name = "length -4", .answer = Answer{{{1, 2, 3, 4}}, -4}, .list = {""}, .boxes = {kLookupFailed}},
    {.name = "untrimmed", .host = L"  padded  ", .names = {"  padded  "}},
    {.name = "255 bytes", .host = std::wstring(255, L'a'), .names = {std::string(255, 'a')}},
    {.name = "256 bytes", .host = std::wstring(256, L'a'), .list = {""}, .boxes = {kLookupFailed}, .names = {}},
    {.name = "cp1252", .host = L"caf\u00E9 \u20AC", .codePage = 1252, .names = {"caf\xE9 \x80"}},
    // A name the code page cannot hold exactly is not looked up as another:
    // no best-fit look-alike (full-width stop to '.'), no default character.
    {.name = "cp1252 full-width stop", .host = L"three\uFF0Etest", .codePage = 1252, .list = {""},
     .boxes = {kLookupFailed}, .names = {}},
    {.name = "cp1252 no such character", .host = L"a\u4E2D", .codePage = 1252, .list = {""},
     .boxes = {kLookupFailed}, .names = {}},
    {.name = "unpaired surrogate", .host = L"a\xD800", .list = {""}, .boxes = {kLookupFailed}, .names = {}},
    {.name = "cp932 full-width stop", .host = L"three\uFF0Etest", .codePage = 932, .names = {"three\x81\x44test"}},
    {.name = "cp932 no such character", .host = L"caf\u00E9", .codePage = 932, .list = {""},
     .boxes = {kLookupFailed}, .names = {}},
    {.name = "utf-8 full-width stop", .host = L"three\uFF0Etest", .codePage = 65001, .names = {"three\xEF\xBC\x8Etest"}},
    {.name = "utf-8 256 bytes", .host = std::wstring(128, L'\u00E9'), .codePage = 65001, .list = {""},
     .boxes = {kLookupFailed}, .names = {}},
    {.name = "cp1252 255 bytes", .host = std::wstring(255, L'\u00E9'), .codePage = 1252,
     .names = {std::string(255, '\xE9')}},
    {.name = "cp1252 256 bytes", .host = std::wstring(256, L'\u00E9'), .codePage = 1252, .list = {""},
     .boxes = {kLookupFailed}, .names = {}},
    // Full-width '=' is 81 81 in code page 932.
    {.name = "cp932 254 bytes", .host = std::wstring(127, L'\uFF1D'), .codePage = 932,
     .names = {std::string(254, '\x81')}},
    {.name = "cp932 256 bytes", .host = std::wstring(128, L'\uFF1D'), .codePage = 932, .list = {""},
     .boxes = {kLookupFailed}, .names = {}},
};

TEST(ResolveHostAddresses, Rows) {
  // The test command runs this program once more under a double-byte code page.
  if (const char* acp = std::getenv("QUADSUM_EXPECT_ACP")) ASSERT_EQ(GetACP(), std::strtoul(acp, nullptr, 10));
  for (const Row& row : kRows) {
    if (row.codePage && row.codePage != GetACP()) continue;
    SCOPED_TRACE(row.name);
    fake::FakeWinsock fake;
    fake.startupResult = row.startup;
    fake.granted = row.granted;
    fake.maxSockets = row.sockets;
    fake.answer = row.answer;
    fake.cleanupResult = row.cleanup;
    AddressList list;
    list.Assign({"9.9.9.9", "8.8.8.8"});
    DNS_Mod::ResolveHostAddresses(row.host, list);
    EXPECT_EQ(Elements(list), row.list);
    EXPECT_EQ(fake.boxes, row.boxes);
    EXPECT_EQ(fake.names, row.names);
    EXPECT_EQ(fake.openAtLookup, std::vector<int>(row.names.size(), 1));
    EXPECT_EQ(fake.startups, fake.cleanups) << "a session was left open";
    EXPECT_TRUE(fake.wellAsked);
  }
}

}  // namespace
