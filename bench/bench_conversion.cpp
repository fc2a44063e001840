// Address text to integer text: our conversion against the C library's
// inet_aton plus std::to_chars, over the same addresses in one run.

#include "core/conversion.h"

#include <arpa/inet.h>
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <string>

namespace {

const std::array<std::string, 8> kAddresses = {
    "192.168.0.1", "10.0.0.1",  "255.255.255.255", "127.0.0.1",
    "172.16.254.3", "8.8.4.4", "1.2.3.4",         "100.64.0.10",
};

void DottedToIntegerText(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    std::string out = quadsum::DottedToIntegerText(kAddresses[i++ % kAddresses.size()]);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

void InetAtonToChars(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    in_addr address{};
    inet_aton(kAddresses[i++ % kAddresses.size()].c_str(), &address);
    std::array<char, 16> buf{};
    const auto end = std::to_chars(buf.data(), buf.data() + buf.size(), ntohl(address.s_addr)).ptr;
    std::string out(buf.data(), end);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(DottedToIntegerText);
BENCHMARK(InetAtonToChars);

}  // namespace

BENCHMARK_MAIN();
