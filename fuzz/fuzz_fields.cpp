// Field mode keeps every record and every column: random lines through the
// whole program give each line back with only field N replaced (by a value,
// a network or range's two ends, or nothing), every copy of a line (under
// --to-cidr) ended as the line was, and no line lost or joined to another.
// The first byte picks the field, the delimiter and the options; aborts on
// the first output that breaks this.

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/app.h"

namespace {

constexpr char kDelimiters[] = ",\t:;./ a";
const char* const kModes[][2] = {{"--to-cidr", nullptr}, {"--to-int", nullptr}, {"--to-ip", "--format=hex"},
                                 {"-6", nullptr},        {nullptr, nullptr},    {"--header", nullptr},
                                 {"--header", "--to-cidr"}, {"--to-int", "--format=hex"}};
constexpr std::string_view kMark = "\xef\xbb\xbf", kWritten = "0123456789abcdefx.:/";

struct Line {
  std::string_view text;  // without LF
  bool ended;
};

// The lines of the text; an empty last one without LF when the text should
// end in one (it may have been emptied).
std::vector<Line> Lines(std::string_view text, bool unended = false) {
  std::vector<Line> lines;
  const bool emptyLast = unended && (text.empty() || text.ends_with('\n'));
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    lines.push_back({text.substr(0, lf), lf != std::string_view::npos});
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
  }
  if (emptyLast) lines.push_back({{}, false});
  return lines;
}

struct Check {
  std::size_t field;
  char delimiter;
  bool cidr;

  // What may stand in place of a field: nothing, a value, or two ends with
  // the delimiter between; never the field left as it was.
  bool Replacement(std::string_view value, std::string_view field) const {
    if (value.find_first_not_of(std::string(kWritten) + delimiter) != std::string_view::npos) return false;
    const std::size_t first = value.find(delimiter);
    if (first != std::string_view::npos &&
        (cidr || value.find(delimiter, first + 1) != std::string_view::npos ||
         (value.size() > 1 && (first == 0 || first + 1 == value.size())))) {
      return false;
    }
    return cidr || value.empty() || value != field;
  }

  // The body of an output line against its input line's (both without CR):
  // the input's bytes before field N and from the delimiter after it, with
  // a replacement between. Quote-free lines are split here; a line with
  // quotes may take any split at delimiters, or be copied.
  bool Fits(std::string_view in, std::string_view out, bool first) const {
    std::string_view bare = in;
    if (first && bare.starts_with(kMark)) bare.remove_prefix(kMark.size());
    if (bare.find_first_not_of(" \t") == std::string_view::npos) return out == in;
    if (delimiter == ',' && in.find('"') != std::string_view::npos) {
      if (out == in) return true;
      std::vector<std::size_t> starts = {0}, ends = {in.size()};
      for (std::size_t i = in.find(','); i != std::string_view::npos; i = in.find(',', i + 1)) {
        starts.push_back(i + 1);
        ends.push_back(i);
      }
      for (const std::size_t p : starts) {
        for (const std::size_t s : ends) {
          const std::size_t kept = p + in.size() - s;
          if (s >= p && out.size() >= kept && out.starts_with(in.substr(0, p)) && out.ends_with(in.substr(s)) &&
              Replacement(out.substr(p, out.size() - kept), "")) {
            return true;
          }
        }
      }
      return false;
    }
    std::size_t p = 0;
    for (std::size_t n = 1; n < field; ++n) {
      p = in.find(delimiter, p);
      if (p == std::string_view::npos) return out == in;  // fewer fields
      ++p;
    }
    const std::size_t s = std::min(in.find(delimiter, p), in.size());
    const std::string_view before = in.substr(0, p), after = in.substr(s);
    return out.size() >= p + after.size() && out.starts_with(before) && out.ends_with(after) &&
           Replacement(out.substr(p, out.size() - p - after.size()), in.substr(p, s - p));
  }

  // Output line `out` as a copy of input line `in`, the last copy or not;
  // crlfBefore tells the end of the nearest earlier line that had one.
  bool Copy(const Line& in, const Line& out, bool last, bool crlfBefore, bool first) const {
    const bool cr = in.text.ends_with('\r');
    const bool wantCr = in.ended || last ? cr : crlfBefore;
    if (out.ended != (in.ended || !last) || out.text.ends_with('\r') != wantCr) return false;
    return Fits(in.text.substr(0, in.text.size() - cr), out.text.substr(0, out.text.size() - wantCr), first);
  }
};

[[noreturn]] void Fail(const char* what, std::string_view in, std::string_view out, std::size_t line) {
  std::fprintf(stderr, "%s at input line %zu\n-- in:\n%.*s\n-- out:\n%.*s\n", what, line + 1,
               static_cast<int>(in.size()),
               in.data(), static_cast<int>(out.size()), out.data());
  std::abort();
}

std::string RunOn(std::string_view in, std::vector<char*>& args) {
  const int input = memfd_create("in", 0), output = memfd_create("out", 0), discard = open("/dev/null", O_WRONLY);
  if (write(input, in.data(), in.size()) != static_cast<long>(in.size())) std::abort();
  lseek(input, 0, SEEK_SET);
  quadsum_cli::Run(static_cast<int>(args.size()), args.data(), {input, output, discard});
  std::string out(static_cast<std::size_t>(lseek(output, 0, SEEK_END)), '\0');
  if (pread(output, out.data(), out.size(), 0) != static_cast<long>(out.size())) std::abort();
  close(input), close(output), close(discard);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto& mode = kModes[data[0] >> 5];
  const auto has = [&mode](std::string_view option) {
    return (mode[0] && option == mode[0]) || (mode[1] && option == mode[1]);
  };
  const Check rules{1u + (data[0] & 3u), kDelimiters[(data[0] >> 2) & 7], has("--to-cidr")};
  const bool header = has("--header");
  std::string field = "--field=" + std::to_string(rules.field);
  std::string delimiter = std::string("--delimiter=") + rules.delimiter;
  std::vector<char*> args = {const_cast<char*>("quadsum-cli"), field.data(), delimiter.data()};
  for (const char* option : mode) {
    if (option) args.push_back(const_cast<char*>(option));
  }
  const std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string out = RunOn(in, args);
  const std::vector<Line> ins = Lines(in);
  const std::vector<Line> outs = Lines(out, !ins.empty() && !ins.back().ended);
  for (const Line& line : ins) if (line.text.size() > 4096) return 0;  // over-long lines are only emptied

  // Which output lines may follow each input line's copies: usually one way.
  std::vector<std::size_t> reach = {0};
  bool crlfBefore = false;
  for (std::size_t i = 0; i < ins.size(); ++i) {
    std::vector<std::size_t> next;
    for (const std::size_t j : reach) {
      if (header && i == 0) {
        if (j < outs.size() && outs[j].text == ins[0].text && outs[j].ended == ins[0].ended) next.push_back(j + 1);
        continue;
      }
      for (std::size_t k = j; k < outs.size(); ++k) {
        if (rules.Copy(ins[i], outs[k], true, crlfBefore, i == 0)) next.push_back(k + 1);
        if (!rules.cidr || !rules.Copy(ins[i], outs[k], false, crlfBefore, i == 0)) break;
      }
    }
    std::sort(next.begin(), next.end());
    next.erase(std::unique(next.begin(), next.end()), next.end());
    if (next.empty()) Fail("no output lines fit", in, out, i);
    reach = std::move(next);
    if (ins[i].ended) crlfBefore = ins[i].text.ends_with('\r');
  }
  if (std::find(reach.begin(), reach.end(), outs.size()) == reach.end()) {
    Fail("output lines left over", in, out, ins.size());
  }
  return 0;
}
