// Cost of a lookup as the dialog sees it: ResolveHostAddresses on an answer
// of n addresses plus joining the list into the list box text. The resolver
// and the message box are stand-ins, so only the program's own work is timed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "resolve/DNS_Mod.h"
#include "resolve/winsock_api.h"
#include "ui/seams.h"

namespace {

struct Answer {
  std::vector<std::vector<unsigned char>> bytes;
  std::vector<char*> entries;
  hostent host{};

  explicit Answer(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      bytes.push_back({static_cast<unsigned char>(10 + i % 200), static_cast<unsigned char>(i >> 16),
                       static_cast<unsigned char>(i >> 8), static_cast<unsigned char>(i)});
    }
    for (auto& address : bytes) entries.push_back(reinterpret_cast<char*>(address.data()));
    entries.push_back(nullptr);
    host.h_addrtype = AF_INET;
    host.h_length = 4;
    host.h_addr_list = entries.data();
  }
};

// Nanoseconds for one lookup plus join, the median of several timed batches.
double TimeLookup(std::size_t count) {
  Answer answer(count);
  winsock().getHostByName = [&answer](const char*) { return &answer.host; };
  const int reps = static_cast<int>(std::max<std::size_t>(1, 2'000'000 / count));
  std::vector<double> batches;
  std::size_t checksum = 0;
  for (int batch = 0; batch < 7; ++batch) {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < reps; ++r) {
      AddressList list;
      DNS_Mod::ResolveHostAddresses(L"bench.example", list);
      checksum += JoinLines(list).size();
    }
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    batches.push_back(elapsed.count() / reps);
  }
  if (checksum == 0) std::puts("no text was built");
  std::sort(batches.begin(), batches.end());
  return batches[batches.size() / 2];
}

}  // namespace

int main() {
  ScopedWinsock restoreWinsock;
  ui::ScopedSeams restoreSeams;
  winsock().startup = [](WORD, WSADATA* data) {
    data->wVersion = 0x0101;
    data->iMaxSockets = 100;
    return 0;
  };
  winsock().cleanup = [] { return 0; };
  ui::seams().messageBox = [](std::wstring_view, ui::MessageIcon) { std::puts("unexpected message box"); };

  std::printf("%10s %14s %14s\n", "addresses", "ns/lookup", "ns/address");
  for (std::size_t count : {10u, 1'000u, 100'000u}) {
    const double ns = TimeLookup(count);
    std::printf("%10zu %14.0f %14.1f\n", count, ns, ns / static_cast<double>(count));
  }
  return 0;
}
