// Any lines through quadsum-cli --merge: it never crashes, and the networks
// it writes are, in order, the union of the lines' values as a sweep over
// their ends finds it, each network as large as it can be. Each line is
// read on its own for the model; the program reads them all in blocks and
// sorts and merges them itself. Aborts on the first break.

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/sets.h"
#include "cli/streams.h"
#include "core/ip_value.h"

namespace {

using quadsum::Uint128;

struct Span {
  Uint128 first, last;
};
using Spans = std::vector<Span>;

void Check(bool held, const char* what) {
  if (held) return;
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

// The maximal ranges covered by the spans: a sweep over their ends.
Spans Sweep(const Spans& spans) {
  std::vector<std::pair<Uint128, int>> ends;  // number, +1 where a span starts, -1 after it ends
  for (const Span& s : spans) {
    ends.push_back({s.first, 1});
    if (s.last != Uint128::Max()) ends.push_back({s.last + Uint128(0, 1), -1});
  }
  std::sort(ends.begin(), ends.end());
  Spans out;
  int depth = 0;
  for (std::size_t i = 0; i < ends.size();) {
    const Uint128 at = ends[i].first;
    const int before = depth;
    for (; i < ends.size() && ends[i].first == at; ++i) depth += ends[i].second;
    if (before == 0 && depth > 0) out.push_back({at, at});
    if (before > 0 && depth == 0) out.back().last = at - Uint128(0, 1);
  }
  if (depth > 0) out.back().last = Uint128::Max();
  return out;
}

int MemoryFile(const std::uint8_t* data, std::size_t size) {
  const int fd = memfd_create("sets", 0);
  Check(fd >= 0 && write(fd, data, size) == static_cast<ssize_t>(size), "memfd");
  return fd;
}

// The lines as the program should read them: each family's spans, and
// whether any line is invalid.
bool Model(const std::string& in, Spans (&spans)[2]) {
  bool invalid = false;
  std::size_t start = in.compare(0, 3, "\xef\xbb\xbf") == 0 ? 3 : 0;
  while (start < in.size()) {
    const std::size_t lf = std::min(in.find('\n', start), in.size());
    const std::string_view text(in.data() + start, lf - start);
    start = lf + 1;
    const auto line = quadsum_cli::ReadSetLine(text);
    if (text.size() > quadsum_cli::kMaxLineLength && !line.comment) {
      invalid = true;
      continue;
    }
    if (line.value.empty()) continue;
    quadsum_cli::SetBuilder one(false);
    if (one.Add(line.value) != quadsum::Verdict::Converted) {
      invalid = true;
      continue;
    }
    const quadsum_cli::IpSets set = one.Build();
    for (const auto& r : set.v4.ranges()) spans[0].push_back({Uint128(0, r.first), Uint128(0, r.last)});
    for (const auto& r : set.v6.ranges()) spans[1].push_back({r.first, r.last});
  }
  return invalid;
}

// Reads the networks written back: in order, each aligned and none with
// its parent inside one range of the model, and their union is the model.
void CheckNetworks(const std::string& out, const Spans (&want)[2]) {
  Spans got[2];
  std::size_t at = 0;
  for (std::size_t lf; (lf = out.find('\n', at)) != std::string::npos; at = lf + 1) {
    const std::string line = out.substr(at, lf - at);
    const auto value = quadsum::ReadIpValue(line, {});
    Check(value.verdict == quadsum::Verdict::Converted && value.shape == quadsum::Shape::Network, "a network a line");
    Check(quadsum::ReadIpValue(line.substr(0, line.find('/')), {}).first == value.first, "no host bits");
    Spans& family = got[value.bits == 128];
    Check(value.bits == 128 || got[1].empty(), "IPv4 before IPv6");
    Check(family.empty() || family.back().last < value.first, "networks in order");
    const unsigned size = quadsum::BitWidth(value.last - value.first);  // log2 of the network
    if (size < value.bits) {
      const Uint128 parentFirst = value.first & ~(Uint128(0, 1) << size), parentLast = value.last | (Uint128(0, 1) << size);
      for (const Span& s : want[value.bits == 128]) Check(!(s.first <= parentFirst && parentLast <= s.last), "largest networks");
    }
    if (!family.empty() && family.back().last + Uint128(0, 1) == value.first) family.back().last = value.last;
    else family.push_back({value.first, value.last});
  }
  Check(at == out.size(), "output ends with a line end");
  for (int v6 = 0; v6 < 2; ++v6) {
    Check(got[v6].size() == want[v6].size(), "as many ranges as the model");
    for (std::size_t i = 0; i < got[v6].size(); ++i) {
      Check(got[v6][i].first == want[v6][i].first && got[v6][i].last == want[v6][i].last, "the model's ranges");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Spans spans[2];
  const bool invalid = Model(std::string(reinterpret_cast<const char*>(data), size), spans);
  const int in = MemoryFile(data, size), out = MemoryFile(nullptr, 0);
  const std::string name = "/proc/self/fd/" + std::to_string(in);
  // Messages for invalid lines go nowhere.
  const int null = open("/dev/null", O_WRONLY);
  const quadsum_cli::SetCommand command{quadsum_cli::SetMode::Merge, quadsum_cli::SetForm::Networks, false, false, {name}};
  const int status = quadsum_cli::RunSets(command, {0, out, null});
  for (const int fd : {null, in}) close(fd);
  Check(status == (invalid ? 1 : 0), "exit status 1 exactly when a line is invalid");
  std::string written(static_cast<std::size_t>(lseek(out, 0, SEEK_END)), '\0');
  Check(pread(out, written.data(), written.size(), 0) == static_cast<ssize_t>(written.size()), "read back");
  close(out);
  const Spans want[2] = {Sweep(spans[0]), Sweep(spans[1])};
  CheckNetworks(written, want);
  return 0;
}
