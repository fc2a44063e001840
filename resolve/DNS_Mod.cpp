#include "resolve/DNS_Mod.h"

#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "resolve/winsock_api.h"
#include "ui/controls.h"
#include "ui/seams.h"

namespace DNS_Mod {
namespace {

constexpr WORD kRequestedVersion = 0x0101;  // 1.1: major in the low byte
constexpr int kLowestMajor = 1;
constexpr int kLowestMinor = 1;
constexpr unsigned kLowestSocketCapacity = 1;

// gethostbyname does not check the length of the name it is given and may
// corrupt its heap on an oversized one. No DNS name is longer than 255 bytes,
// and a 255-character box can still give more bytes in a multibyte code page.
constexpr std::size_t kMaxHostNameBytes = 255;

constexpr wchar_t kNotResponding[] =
    L"Windows Sockets for 32 bit Windows environments is not successfully responding.";
constexpr wchar_t kLookupFailed[] = L"Error looking up requested host.";

// std::to_wstring formats through swprintf, which links mingw-w64's whole
// wide printf (12 KB) into the exe; std::to_string does not.
std::wstring Decimal(long long n) {
  const std::string digits = std::to_string(n);
  return {digits.begin(), digits.end()};
}

// Why a started session cannot be used, or nothing when it can.
std::optional<std::wstring> RefusalOf(const WSADATA& data) {
  const int major = LowByteOf(data.wVersion);
  const int minor = HighByteOf(data.wVersion);
  if (major < kLowestMajor || (major == kLowestMajor && minor < kLowestMinor)) {
    return L"Windows Sockets Version " + Decimal(major) + L"." +
           Decimal(minor) + L" is not supported by Windows " +
           L"Sockets for 32 bit Windows environments.";
  }
  if (data.iMaxSockets < kLowestSocketCapacity) {
    return L"This application requires a minimum of " +
           Decimal(kLowestSocketCapacity) + L" supported sockets.";
  }
  return std::nullopt;
}

// The name in the ANSI code page, or nothing when it cannot be converted
// exactly (a look-alike would ask for another host) or is too long to hand
// to the resolver safely.
std::optional<std::string> AnsiHostName(std::wstring_view name) {
  std::optional<std::string> ansi = ui::ToAnsiExact(name);
  if (ansi && ansi->size() > kMaxHostNameBytes) return std::nullopt;
  return ansi;
}

// Copies every address out of the resolver's answer. An answer without an
// address or with no bytes per address counts as no answer.
std::optional<std::vector<std::string>> CopyAddresses(const hostent& answer) {
  if (answer.h_length < 1 || answer.h_addr_list == nullptr || answer.h_addr_list[0] == nullptr) {
    return std::nullopt;
  }
  const auto length = static_cast<std::size_t>(answer.h_length);
  std::vector<std::string> addresses;
  for (char** entry = answer.h_addr_list; *entry != nullptr; ++entry) {
    addresses.push_back(DottedAddress(reinterpret_cast<const unsigned char*>(*entry), length));
  }
  return addresses;
}

// Asks the resolver inside an open session; nothing when there is no usable answer.
std::optional<std::vector<std::string>> LookUp(std::wstring_view hostName) {
  const std::optional<std::string> name = AnsiHostName(hostName);
  if (!name) return std::nullopt;
  const hostent* answer = winsock().getHostByName(name->c_str());
  if (answer == nullptr) return std::nullopt;
  return CopyAddresses(*answer);
}

}  // namespace

std::int16_t LowByteOf(std::int32_t value) {
  return static_cast<std::int16_t>(value & 0xFF);
}

std::int16_t HighByteOf(std::int32_t value) {
  return static_cast<std::int16_t>((value >> 8) & 0xFF);
}

bool OpenSocketsSession() {
  WSADATA data{};
  if (winsock().startup(kRequestedVersion, &data) != 0) {
    ui::ShowMessage(kNotResponding, ui::MessageIcon::None);
    return false;
  }
  const std::optional<std::wstring> refusal = RefusalOf(data);
  if (!refusal) return true;
  // WSAStartup did succeed, so release that session; its outcome is not
  // shown, so that one call still shows at most one message box.
  winsock().cleanup();
  ui::ShowMessage(*refusal, ui::MessageIcon::Warning);
  return false;
}

void CloseSocketsSession() {
  const int result = winsock().cleanup();
  if (result != 0) {
    ui::ShowMessage(L"Windows Sockets error " + Decimal(result) + L" occurred in Cleanup.",
                    ui::MessageIcon::Warning);
  }
}

void ResolveHostAddresses(std::wstring_view hostName, AddressList& list) {
  list.ResetToOneEmpty();
  if (!OpenSocketsSession()) return;
  std::optional<std::vector<std::string>> addresses = LookUp(hostName);
  if (!addresses) ui::ShowMessage(kLookupFailed, ui::MessageIcon::Warning);
  CloseSocketsSession();
  if (addresses) list.Assign(std::move(*addresses));
}

}  // namespace DNS_Mod
