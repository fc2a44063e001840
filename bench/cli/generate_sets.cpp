// Writes the set benchmark's inputs to <dir> (fixed seed): sets.txt, N
// unsorted IPv4 lines (half addresses uniform over IPv4, a third networks
// from /20 to /32, the rest ranges of up to 1,024 addresses), and
// sets6.txt, the same lines mapped into 2001:db8::/96 (a.b.c.d becomes
// 2001:db8:: plus it in hex groups, /n becomes /(96+n)), so with the same
// overlaps.
//
//   cli_bench_generate_sets <dir> [N = 1000000]

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "core/ipv6.h"
#include "core/strict_address.h"

namespace {

std::FILE* Open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::perror(path.c_str()), std::exit(2);
  return file;
}

std::string Mapped(std::uint32_t address) {
  char text[quadsum::kIpv6Room];
  return {text, quadsum::WriteIpv6(quadsum::Uint128(0x20010db800000000, address), text)};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return std::fputs("usage: cli_bench_generate_sets <dir> [N]\n", stderr), 2;
  const std::string dir = argv[1];
  const long count = argc > 2 ? std::atol(argv[2]) : 1000000;
  std::FILE* v4 = Open(dir + "/sets.txt");
  std::FILE* v6 = Open(dir + "/sets6.txt");
  std::mt19937 random(20261207);
  for (long i = 0; i < count; ++i) {
    const std::uint32_t value = random(), kind = i % 6;  // 0-2 addresses, 3-4 networks, 5 ranges
    if (kind < 3) {
      std::fprintf(v4, "%s\n", quadsum::DottedText(value).c_str());
      std::fprintf(v6, "%s\n", Mapped(value).c_str());
    } else if (kind < 5) {
      const unsigned length = 20 + random() % 13;
      const std::uint32_t first = value & ~0u << (32 - length);
      std::fprintf(v4, "%s/%u\n", quadsum::DottedText(first).c_str(), length);
      std::fprintf(v6, "%s/%u\n", Mapped(first).c_str(), 96 + length);
    } else {
      const std::uint32_t last = value + std::min<std::uint32_t>(random() % 1024, ~value);
      std::fprintf(v4, "%s-%s\n", quadsum::DottedText(value).c_str(), quadsum::DottedText(last).c_str());
      std::fprintf(v6, "%s-%s\n", Mapped(value).c_str(), Mapped(last).c_str());
    }
  }
  return std::fclose(v4) == 0 && std::fclose(v6) == 0 ? 0 : 2;
}
