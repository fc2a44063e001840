// Writes N random values of each kind, one per line, to <dir> (fixed seed,
// so every run measures the same files): addresses.txt and integers.txt
// (the same IPv4 addresses as integers), ipv6.txt and ipv6-integers.txt
// (the same for IPv6), networks.txt (IPv4 networks) and geoip.csv (the
// same networks first in GeoIP-shaped lines of seven fields).
//
//   cli_bench_generate <dir> [N = 10000000]

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "core/ipv6.h"
#include "core/strict_address.h"

namespace {

std::FILE* Open(const std::string& dir, const char* name) {
  std::FILE* file = std::fopen((dir + "/" + name).c_str(), "wb");
  if (!file) std::perror(name), std::exit(2);
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return std::fputs("usage: cli_bench_generate <dir> [N]\n", stderr), 2;
  const std::string dir = argv[1];
  const long count = argc > 2 ? std::atol(argv[2]) : 10000000;
  const char* names[] = {"addresses.txt", "integers.txt", "ipv6.txt", "ipv6-integers.txt", "networks.txt", "geoip.csv"};
  std::FILE* files[6];
  for (int i = 0; i < 6; ++i) files[i] = Open(dir, names[i]);
  std::mt19937 random(20261207);
  std::mt19937_64 random64(20261207);
  for (long i = 0; i < count; ++i) {
    const std::uint32_t value = random();
    std::fprintf(files[0], "%s\n", quadsum::DottedText(value).c_str());
    std::fprintf(files[1], "%u\n", static_cast<unsigned>(value));
    const quadsum::Uint128 wide(random64(), random64());
    char text[quadsum::kIpv6Room], number[quadsum::kInteger128Room];
    std::fprintf(files[2], "%.*s\n", static_cast<int>(quadsum::WriteIpv6(wide, text) - text), text);
    std::fprintf(files[3], "%.*s\n", static_cast<int>(quadsum::WriteDecimal(wide, number) - number), number);
    const unsigned length = 16 + value % 17;
    const std::string network = quadsum::DottedText(value & ~0u << (32 - length)) + "/" + std::to_string(length);
    std::fprintf(files[4], "%s\n", network.c_str());
    std::fprintf(files[5], "%s,%u,%u,,0,0,%05u\n", network.c_str(), value % 3000000, value % 2000000, value % 100000);
  }
  for (std::FILE* file : files) {
    if (std::fclose(file) != 0) return 2;
  }
  return 0;
}
