// The plain way to convert a file of values with the C library, for
// comparison with quadsum-cli: getline, inet_pton and printf, or strtoul
// (for IPv6, a digit loop in unsigned __int128), inet_ntop and puts the
// other way round. IPv6 integers print as up to three %llu chunks of 19
// digits, not one division per digit.
//
//   cli_baseline --to-int|--to-ip|--to-int6|--to-ip6 <values

#include <arpa/inet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using u128 = unsigned __int128;
constexpr unsigned long long kChunk = 10000000000000000000ull;  // 10^19

void PrintU128(u128 value) {
  const auto low = static_cast<unsigned long long>(value % kChunk);
  const u128 rest = value / kChunk;
  if (rest == 0) std::printf("%llu\n", low);
  else if (rest < kChunk) std::printf("%llu%019llu\n", static_cast<unsigned long long>(rest), low);
  else std::printf("%llu%019llu%019llu\n", static_cast<unsigned long long>(rest / kChunk),
                   static_cast<unsigned long long>(rest % kChunk), low);
}

void ToInt6(const char* line) {
  in6_addr address{};
  if (inet_pton(AF_INET6, line, &address) != 1) return (void)std::puts("");
  u128 value = 0;
  for (const unsigned char byte : address.s6_addr) value = value << 8 | byte;
  PrintU128(value);
}

void ToIp6(const char* line) {
  u128 value = 0;
  for (const char* p = line; *p >= '0' && *p <= '9'; ++p) value = value * 10 + static_cast<unsigned>(*p - '0');
  in6_addr address{};
  for (int i = 15; i >= 0; --i, value >>= 8) address.s6_addr[i] = static_cast<unsigned char>(value);
  char text[INET6_ADDRSTRLEN];
  std::puts(inet_ntop(AF_INET6, &address, text, sizeof text));
}

void ToInt(const char* line) {
  in_addr address{};
  if (inet_pton(AF_INET, line, &address) == 1) std::printf("%u\n", ntohl(address.s_addr));
  else std::puts("");
}

void ToIp(const char* line) {
  in_addr address{};
  address.s_addr = htonl(static_cast<in_addr_t>(std::strtoul(line, nullptr, 10)));
  char text[INET_ADDRSTRLEN];
  std::puts(inet_ntop(AF_INET, &address, text, sizeof text));
}

}  // namespace

int main(int argc, char** argv) {
  const char* mode = argc > 1 ? argv[1] : "--to-int";
  void (*convert)(const char*) = std::strcmp(mode, "--to-int6") == 0 ? ToInt6
                                 : std::strcmp(mode, "--to-ip6") == 0 ? ToIp6
                                 : std::strcmp(mode, "--to-ip") == 0  ? ToIp
                                                                      : ToInt;
  char* line = nullptr;
  std::size_t capacity = 0;
  ssize_t length;
  while ((length = getline(&line, &capacity, stdin)) > 0) {
    if (line[length - 1] == '\n') line[length - 1] = '\0';
    convert(line);
  }
  std::free(line);
  return 0;
}
