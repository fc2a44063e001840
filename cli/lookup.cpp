#include "cli/lookup.h"

#include <algorithm>
#include <memory>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include "core/address_text.h"

namespace quadsum_cli {
namespace {

#ifdef _WIN32
// One Windows Sockets session for the whole run, from the first lookup to exit.
class SocketsSession {
 public:
  SocketsSession() : ready_(WSAStartup(MAKEWORD(2, 2), &data_) == 0) {}
  ~SocketsSession() {
    if (ready_) WSACleanup();
  }
  bool ready() const { return ready_; }

 private:
  WSADATA data_{};
  bool ready_;
};

bool SocketsReady() {
  static const SocketsSession session;
  return session.ready();
}

std::string ErrorText(int error) { return gai_strerrorA(error); }
#else
bool SocketsReady() { return true; }
std::string ErrorText(int error) { return gai_strerror(error); }
#endif

using AddressInfo = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

std::vector<std::string> DistinctAddresses(const addrinfo* list) {
  std::vector<std::string> addresses;
  for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET) continue;
    const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
    std::string text = DottedAddress(reinterpret_cast<const unsigned char*>(&ipv4->sin_addr), 4);
    if (std::find(addresses.begin(), addresses.end(), text) == addresses.end()) {
      addresses.push_back(std::move(text));
    }
  }
  return addresses;
}

}  // namespace

LookupResult LookUpHost(const std::string& host) {
  if (!SocketsReady()) return {{}, "Windows Sockets did not start"};
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;  // one entry per address, not one per socket type
  addrinfo* found = nullptr;
  const int error = getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (error != 0) return {{}, ErrorText(error)};
  const AddressInfo owner(found, &freeaddrinfo);
  LookupResult result{DistinctAddresses(found), {}};
  if (result.addresses.empty()) result.error = "no IPv4 address";
  return result;
}

}  // namespace quadsum_cli
