// Writes N random addresses, one per line, to <dir>/addresses.txt and the
// same addresses as integers to <dir>/integers.txt (fixed seed, so every run
// measures the same files).
//
//   cli_bench_generate <dir> [N = 10000000]

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "core/strict_address.h"

int main(int argc, char** argv) {
  if (argc < 2) return std::fputs("usage: cli_bench_generate <dir> [N]\n", stderr), 2;
  const std::string dir = argv[1];
  const long count = argc > 2 ? std::atol(argv[2]) : 10000000;
  std::FILE* addresses = std::fopen((dir + "/addresses.txt").c_str(), "wb");
  std::FILE* integers = std::fopen((dir + "/integers.txt").c_str(), "wb");
  if (!addresses || !integers) return std::perror(dir.c_str()), 2;
  std::mt19937 random(20261207);
  for (long i = 0; i < count; ++i) {
    const std::uint32_t value = random();
    std::fprintf(addresses, "%s\n", quadsum::DottedText(value).c_str());
    std::fprintf(integers, "%u\n", static_cast<unsigned>(value));
  }
  return std::fclose(addresses) == 0 && std::fclose(integers) == 0 ? 0 : 2;
}
